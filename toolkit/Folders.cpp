#include "Folders.h"

#include "Language.h"
#include "Prompts.h"
#include "TextFunctions.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace toolkit {

QString SpecialFolderPath(SpecialFolder folder, const QString& fallback)
{
    QString path;
    switch (folder) {
    case SpecialFolder::Documents:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    }
    if (path.isEmpty() || !QDir().mkpath(path))
        return AddBackslash(fallback);
    return AddBackslash(QDir::toNativeSeparators(path));
}

QString BrowseFolder(const QString& folder, const QString& root, QWidget* owner)
{
    const FolderRequest request{owner, LangText(IsSwedish(), u"Bläddra"_s, u"Browse"_s), folder,
                                root};
    const auto chosen = CurrentPrompter().chooseFolder(request);
    if (!chosen)
        return AddBackslash(folder);
    return AddBackslash(QDir::toNativeSeparators(*chosen));
}

} // namespace toolkit
