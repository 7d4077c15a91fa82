#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace sender {

// korvalla --send [options] FILE...: the batch of the window, run from a
// terminal. Options override the settings file, which is only read.
// Returns the exit status: 0 when every file arrived, 1 when the batch
// ended otherwise, 2 for a missing or wrong argument.
int RunCommandLineSend(const QStringList& arguments, const QString& settingsFile = {},
                       std::FILE* answers = stdin);

// True when the arguments ask for the command-line sender.
bool WantsCommandLineSend(const QStringList& arguments);

} // namespace sender
