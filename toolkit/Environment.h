#pragma once

#include <QLocale>
#include <QStringList>

namespace toolkit {

// The command-line arguments after the program path, as the platform split
// them. Set once by main(); tests set their own.
QStringList ProgramArguments();
void SetProgramArguments(const QStringList& arguments);

// The user's regional settings, read once at start-up: they pick the
// interface language when no switch does, and they format numbers.
// The POSIX "C" locale counts as English (United States).
QLocale UserLocale();
void SetUserLocale(const QLocale& locale);

} // namespace toolkit
