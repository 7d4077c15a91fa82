#pragma once

#include "sender/SendWindow.h"
#include "support/QtPrinters.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace testing_support {

// A sender window without widgets: every call of the batch is kept as one
// line of text, in order; the questions are answered from a script; time
// passes only when the batch asks for it.
class RecordingWindow : public sender::SendWindow
{
public:
    explicit RecordingWindow(sender::BatchInputs inputs)
        : m_inputs(std::move(inputs))
    {}

    sender::BatchInputs inputs() override { return m_inputs; }
    bool terminating() const override { return m_terminating; }
    void showError(const QString& text) override { record(QStringLiteral("error: ") + text); }
    bool confirmStart() override
    {
        record(QStringLiteral("confirm?"));
        return confirmAnswer;
    }
    void setBusy(bool busy) override
    {
        record(busy ? QStringLiteral("busy") : QStringLiteral("idle"));
    }
    void showStatus(const sender::StatusTexts& s) override
    {
        record(QStringLiteral("status: ") + s.fileNumber + QStringLiteral(" | ") + s.fileName +
               QStringLiteral(" | ") + s.percent + QStringLiteral(" | ") + s.speed +
               QStringLiteral(" | ") + s.remainingTime);
    }
    void showCountdown(const QString& text) override
    {
        record(QStringLiteral("countdown: ") + text);
    }
    void showProgress(int percent) override
    {
        record(QStringLiteral("bar: ") + QString::number(percent));
        if (onProgress)
            onProgress(percent);
    }
    bool askOverwrite(const QString& question) override
    {
        record(QStringLiteral("overwrite? ") + question);
        return next(overwriteAnswers);
    }
    bool askRetry(const QString& question, const QString& caption) override
    {
        record(QStringLiteral("retry? ") + caption + QStringLiteral(": ") + question);
        return next(retryAnswers);
    }
    void showReport(const QString& text) override { record(QStringLiteral("report: ") + text); }

    std::uint32_t tickNow() const override { return m_tick += tickStep; }
    bool waitUnlessTerminating(std::chrono::milliseconds duration) override
    {
        record(QStringLiteral("wait ") + QString::number(duration.count()));
        if (onWait)
            onWait();
        return !m_terminating;
    }
    std::chrono::milliseconds readTimeout() const override { return readTimeoutValue; }

    void setTerminating() { m_terminating = true; }
    QStringList log() const
    {
        const std::lock_guard lock(m_mutex);
        return m_log;
    }
    // The lines that start with Prefix.
    QStringList lines(const QString& prefix) const
    {
        QStringList found;
        for (const QString& line : log())
            if (line.startsWith(prefix))
                found.append(line);
        return found;
    }

    bool confirmAnswer = true;
    std::deque<bool> overwriteAnswers;
    std::deque<bool> retryAnswers;
    std::uint32_t tickStep = 0;
    std::chrono::milliseconds readTimeoutValue{10000};
    std::function<void(int)> onProgress;
    std::function<void()> onWait;

private:
    void record(const QString& line)
    {
        const std::lock_guard lock(m_mutex);
        m_log.append(line);
    }
    static bool next(std::deque<bool>& answers)
    {
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    sender::BatchInputs m_inputs;
    std::atomic<bool> m_terminating = false;
    mutable std::uint32_t m_tick = 0;
    mutable std::mutex m_mutex;
    QStringList m_log;
};

} // namespace testing_support
