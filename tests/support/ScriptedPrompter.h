#pragma once

#include "toolkit/Prompts.h"

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// Answers the programs' questions from a script and keeps every request.
// Installed for its lifetime. A question without a scripted answer gets
// the safe one (OK for a message, Cancel otherwise) and is counted as
// unexpected.
class ScriptedPrompter : public toolkit::Prompter
{
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    void answerMessage(toolkit::MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerFolder(std::optional<QString> folder) { m_folderAnswers.push_back(folder); }
    void answerFiles(QStringList files) { m_fileAnswers.push_back(std::move(files)); }
    // Runs when the next message is asked, before it is answered.
    void onMessage(std::function<void(const toolkit::MessageRequest&)> hook)
    {
        m_messageHook = std::move(hook);
    }

    toolkit::MessageAnswer message(const toolkit::MessageRequest& request) override;
    std::optional<QString> chooseFolder(const toolkit::FolderRequest& request) override;
    QStringList chooseFiles(const toolkit::FilesRequest& request) override;

    std::vector<toolkit::MessageRequest> messages;
    std::vector<toolkit::FolderRequest> folderRequests;
    std::vector<toolkit::FilesRequest> fileRequests;
    int unexpected = 0;

private:
    toolkit::Prompter* m_previous = nullptr;
    std::deque<toolkit::MessageAnswer> m_messageAnswers;
    std::deque<std::optional<QString>> m_folderAnswers;
    std::deque<QStringList> m_fileAnswers;
    std::function<void(const toolkit::MessageRequest&)> m_messageHook;
};

} // namespace testing_support
