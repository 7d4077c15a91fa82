#include "Prompts.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

#include <atomic>

namespace toolkit {
namespace {

// A Yes/No box that can only be answered: no close button, Escape ignored.
class AnswerOnlyBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->ignore();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (clickedButton() == nullptr) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

class DialogPrompter : public Prompter
{
public:
    MessageAnswer message(const MessageRequest& request) override
    {
        std::unique_ptr<QMessageBox> box;
        if (request.buttons == MessageButtons::YesNo) {
            box = std::make_unique<AnswerOnlyBox>(request.owner);
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box->setDefaultButton(QMessageBox::Yes);
            box->setEscapeButton(static_cast<QAbstractButton*>(nullptr));
        } else {
            box = std::make_unique<QMessageBox>(request.owner);
            if (request.buttons == MessageButtons::OkCancel) {
                box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                box->setEscapeButton(QMessageBox::Cancel);
            } else {
                box->setStandardButtons(QMessageBox::Ok);
            }
            box->setDefaultButton(QMessageBox::Ok);
        }
        box->setIcon(iconOf(request.icon));
        box->setWindowTitle(request.caption);
        box->setText(request.text);
        box->setTextFormat(Qt::PlainText);
        box->setWindowModality(Qt::ApplicationModal);
        if (request.buttons == MessageButtons::YesNo)
            box->setWindowFlags((box->windowFlags() | Qt::CustomizeWindowHint) &
                                ~Qt::WindowCloseButtonHint);
        switch (box->exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        default:
            return MessageAnswer::Cancel;
        }
    }

    std::optional<QString> chooseFolder(const FolderRequest& request) override
    {
        QFileDialog dialog(request.owner, request.title, request.startFolder);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (!request.root.isEmpty())
            dialog.setDirectory(request.root);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    QStringList chooseFiles(const FilesRequest& request) override
    {
        QFileDialog dialog(request.owner, request.title);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilter(request.filter);
        // A link is a file of its own here, not a way to its target.
        dialog.setOption(QFileDialog::DontResolveSymlinks, true);
        dialog.setOption(QFileDialog::ReadOnly, true);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles();
    }
};

std::atomic<Prompter*> g_installed = nullptr;

} // namespace

Prompter& CurrentPrompter()
{
    static DialogPrompter dialogs;
    Prompter* installed = g_installed.load();
    return installed != nullptr ? *installed : dialogs;
}

Prompter* InstallPrompter(Prompter* prompter)
{
    return g_installed.exchange(prompter);
}

} // namespace toolkit
