#include "ScriptedPrompter.h"

namespace testing_support {

ScriptedPrompter::ScriptedPrompter()
    : m_previous(toolkit::InstallPrompter(this))
{}

ScriptedPrompter::~ScriptedPrompter()
{
    toolkit::InstallPrompter(m_previous);
}

toolkit::MessageAnswer ScriptedPrompter::message(const toolkit::MessageRequest& request)
{
    messages.push_back(request);
    if (m_messageHook)
        m_messageHook(request);
    if (m_messageAnswers.empty()) {
        ++unexpected;
        return request.buttons == toolkit::MessageButtons::YesNo ? toolkit::MessageAnswer::No
               : request.buttons == toolkit::MessageButtons::OkCancel
                   ? toolkit::MessageAnswer::Cancel
                   : toolkit::MessageAnswer::Ok;
    }
    const auto answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompter::chooseFolder(const toolkit::FolderRequest& request)
{
    folderRequests.push_back(request);
    if (m_folderAnswers.empty()) {
        ++unexpected;
        return std::nullopt;
    }
    const bool cancelled = !m_folderAnswers.front().has_value();
    const QString folder = m_folderAnswers.front().value_or(QString());
    m_folderAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return folder;
}

QStringList ScriptedPrompter::chooseFiles(const toolkit::FilesRequest& request)
{
    fileRequests.push_back(request);
    if (m_fileAnswers.empty()) {
        ++unexpected;
        return {};
    }
    auto answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}

} // namespace testing_support
