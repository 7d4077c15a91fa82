#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace toolkit {

enum class MessageIcon
{
    Error,
    Information,
    Question
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo
};

enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No
};

struct MessageRequest
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

struct FolderRequest
{
    QWidget* owner = nullptr;
    QString title;
    QString startFolder;
    QString root;
};

struct FilesRequest
{
    QWidget* owner = nullptr;
    QString title;
    QString filter;
};

// Every modal question the programs ask goes through one prompter. The
// programs use the real dialogs; a test installs its own to answer them
// without showing anything.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer message(const MessageRequest& request) = 0;
    // The chosen folder, or nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(const FolderRequest& request) = 0;
    // The chosen existing files, empty when the user cancels.
    virtual QStringList chooseFiles(const FilesRequest& request) = 0;
};

// The prompter in use: the one installed, else the real dialogs.
Prompter& CurrentPrompter();
// Installs a prompter (nullptr: back to the real dialogs); returns the one
// it replaces.
Prompter* InstallPrompter(Prompter* prompter);

} // namespace toolkit
