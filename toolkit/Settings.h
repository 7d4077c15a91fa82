#pragma once

#include <QString>

namespace toolkit {

// The program's settings file: ProgramPath with its extension replaced by
// ".INI" (appended when the name has none).
QString DefaultSettingsPath();
// The settings file that belongs to a program at ProgramPath.
QString SettingsPathFor(const QString& programPath);

// One value of a [Section] Key=Value file. Section and key names are
// compared without regard to case; texts are stored as hex text, flags as
// "1" or "0". An empty FileName means DefaultSettingsPath(). Reads fall back
// to Default when the file, section or key is missing (a present but empty
// text value reads as empty); writes never fail towards the caller, and
// each replaces the file as a whole, keeping every other section and key.
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue,
                    const QString& fileName = {});
void WriteSetting(const QString& section, const QString& key, const QString& value,
                  const QString& fileName = {});
bool ReadBoolSetting(const QString& section, const QString& key, bool defaultValue,
                     const QString& fileName = {});
void WriteBoolSetting(const QString& section, const QString& key, bool value,
                      const QString& fileName = {});

} // namespace toolkit
