#pragma once

#include <QLocale>
#include <QString>

namespace toolkit {

// True when a command-line argument equals Switch as a whole, slash
// included; without CaseSensitive both go through UpperText first.
bool HasSwitch(const QString& switchText, bool caseSensitive = false);

// The interface language, worked out afresh at every call: "/SWEDISH" or
// "/ENGLISH" (both together cancel out), otherwise the user's locale.
bool IsSwedish();

// True for Swedish as used in Sweden only (sv_SE); Swedish as used in
// Finland is not.
bool IsSwedishLocale(const QLocale& locale);

// First when Flag is set, otherwise Second.
QString LangText(bool flag, const QString& first, const QString& second);

} // namespace toolkit
