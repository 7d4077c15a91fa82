#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace toolkit {

// The arguments after the program path, in the system's encoding.
QStringList ArgumentsOf(int argc, char* argv[]);

// One of the programs' own switches: "/SWEDISH", "/ENGLISH", "/ALLOWSLEEP",
// "/LINES", in any case.
bool IsProgramSwitch(const QString& argument);

// Text and a line feed, flushed at once.
void PrintLine(std::FILE* stream, const QString& text);

// The first line of a file without its line end; nothing when it cannot
// be read.
std::optional<QString> FirstLineOf(const QString& path);

} // namespace toolkit
