#pragma once

#include <QDateTime>
#include <QString>

namespace sender {

class SendWindow;

// One whole batch, run on the calling thread: the checks, the question,
// every file of the list over a connection of its own (overwrite or resume,
// retries), and the report. Returns when the batch has ended.
void btnSendClick(SendWindow& window);

// The report that closes a batch.
QString ReportText(const QDateTime& start, const QDateTime& end);

} // namespace sender
