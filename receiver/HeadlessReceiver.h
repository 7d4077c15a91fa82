#pragma once

#include <QString>
#include <QStringList>

namespace receiver {

// qrv --headless [PORT] [options]: the receiver without a window. Every
// transfer that starts, finishes or fails is one line on standard output.
// Runs until SIGINT or SIGTERM and returns the exit status: 0 after an
// orderly shutdown, 2 when it cannot start.
int RunHeadlessReceiver(const QStringList& arguments, const QString& settingsFile = {});

bool WantsHeadlessReceiver(const QStringList& arguments);

} // namespace receiver
