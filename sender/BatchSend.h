#pragma once

#include <QDateTime>
#include <QString>

namespace sender {

class SendWindow;

enum class BatchOutcome
{
    CheckFailed, // an input was missing; its message was shown
    Declined,    // No at the question before the batch
    Delivered,   // every file arrived
    Ended,       // cancelled, retries used up, or the program terminating
};

// One whole batch, run on the calling thread: the checks, the question,
// every file of the list over a connection of its own (overwrite or resume,
// retries), and the report. Returns when the batch has ended.
BatchOutcome btnSendClick(SendWindow& window);

// The report that closes a batch.
QString ReportText(const QDateTime& start, const QDateTime& end);

} // namespace sender
