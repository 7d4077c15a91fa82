#pragma once

#include "protocol/Connection.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <optional>

namespace sender {

// What a batch reads from the window when it starts: the inputs of the
// controls that stay disabled while it runs.
struct BatchInputs
{
    QString remoteHost;
    QString port;
    QString password;
    QStringList names; // the entries of the file list, in order
    QString filePaths; // the same files' full paths joined with "|"
    bool autoMode = true;
    bool overwrite = false;
    // Further attempts at one file after its first; none: no limit.
    std::optional<int> retries;
};

// The five status lines under the file list.
struct StatusTexts
{
    QString fileNumber;
    QString fileName;
    QString percent;
    QString speed;
    QString remainingTime;
};

// What the batch needs from its window. The batch runs on a thread of its
// own and calls these in its order of steps; each returns when done (a
// question when answered), so the window carries them out on its own
// thread in the same order.
class SendWindow
{
public:
    virtual ~SendWindow() = default;

    virtual BatchInputs inputs() = 0;
    virtual bool terminating() const = 0;

    virtual void showError(const QString& text) = 0;
    // The question before a batch; true for Yes.
    virtual bool confirmStart() = 0;
    // Disables (Busy) or enables the batch's inputs, sets the cursor.
    virtual void setBusy(bool busy) = 0;
    virtual void showStatus(const StatusTexts& status) = 0;
    virtual void showCountdown(const QString& text) = 0;
    // The bar's percentage; drawn as DrawProgress draws it.
    virtual void showProgress(int percent) = 0;
    // The window brought forward first. True: overwrite.
    virtual bool askOverwrite(const QString& question) = 0;
    // The window brought forward first. True: try again.
    virtual bool askRetry(const QString& question, const QString& caption) = 0;
    virtual void showReport(const QString& text) = 0;

    // Time, so that tests need not wait for it.
    virtual std::uint32_t tickNow() const;
    // Waits Duration unless the program starts terminating; false then.
    virtual bool waitUnlessTerminating(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::milliseconds readTimeout() const { return protocol::kReadTimeout; }
    virtual std::chrono::milliseconds connectTimeout() const { return protocol::kConnectTimeout; }
};

} // namespace sender
