#include "FileList.h"

#include "toolkit/Language.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Prompts.h"
#include "toolkit/TextFunctions.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace sender {

QString OpenDialogTitle()
{
    return toolkit::LangText(toolkit::IsSwedish(), u"Välj en eller flera fil(er)"_s,
                             u"Choose one or more file(s)"_s);
}

void FileList::btnAddClick(QWidget* owner)
{
    const QStringList chosen = toolkit::CurrentPrompter().chooseFiles(
        toolkit::FilesRequest{owner, OpenDialogTitle(), u"* (*)"_s});
    for (const QString& path : chosen)
        append(QDir::toNativeSeparators(path));
}

void FileList::append(const QString& path)
{
    m_lbFiles.addItem(QFileInfo(path).fileName());
    m_filePaths = toolkit::JoinText(m_filePaths, path, u"|"_s);
}

void FileList::btnClearAllClick(QWidget* owner)
{
    if (m_lbFiles.count() == 0)
        return;
    if (!toolkit::OkCancelBox(
            owner, toolkit::LangText(toolkit::IsSwedish(), u"Rensa allt?"_s, u"Clear all?"_s)))
        return;
    m_lbFiles.clear();
    m_filePaths.clear();
}

} // namespace sender
