#include "Settings.h"

#include "HexText.h"
#include "SystemClock.h"
#include "TextFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace toolkit {
namespace {

// A value line is read through a buffer of this many characters.
constexpr qsizetype kLongestValue = 2047;

QString settingsPath(const QString& fileName)
{
    return fileName.isEmpty() ? DefaultSettingsPath() : fileName;
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QString> sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a Key=Value line, or nothing for other lines.
std::optional<QString> keyOf(const QString& line)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0 || line.trimmed().startsWith(u';'))
        return std::nullopt;
    return line.left(equals).trimmed();
}

std::optional<QString> readRaw(const QString& path, const QString& section, const QString& key)
{
    bool inSection = false;
    const QStringList lines = readLines(path);
    for (const QString& line : lines) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto lineKey = keyOf(line); lineKey && sameName(*lineKey, key))
            return line.mid(line.indexOf(u'=') + 1).trimmed().left(kLongestValue);
    }
    return std::nullopt;
}

void writeRaw(const QString& path, const QString& section, const QString& key, const QString& value)
{
    QStringList lines = readLines(path);
    const QString keyLine = key + u'=' + value;

    qsizetype sectionStart = -1;
    qsizetype sectionEnd = -1;
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (sectionStart >= 0 && sectionEnd < 0)
                sectionEnd = i;
            if (sectionStart < 0 && sameName(*name, section))
                sectionStart = i;
            continue;
        }
        if (sectionStart >= 0 && sectionEnd < 0) {
            if (const auto lineKey = keyOf(lines[i]); lineKey && sameName(*lineKey, key)) {
                lines[i] = lineKey.value() + u'=' + value;
                replaced = true;
            }
        }
    }
    if (!replaced) {
        if (sectionStart < 0) {
            lines.append(u'[' + section + u']');
            lines.append(keyLine);
        } else {
            qsizetype at = sectionEnd < 0 ? lines.size() : sectionEnd;
            while (at > sectionStart + 1 && lines[at - 1].trimmed().isEmpty())
                --at; // keep the blank line that separates sections after the new key
            lines.insert(at, keyLine);
        }
    }

    // A file marked read-only stays as it is, also for a user who could
    // replace it.
    constexpr auto kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (QFile::exists(path) && (QFile::permissions(path) & kAnyWrite) == 0)
        return;

    // A crash or a full disk never leaves half a file: the new contents go to
    // a temporary file beside it, which then replaces it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write((lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    file.commit();
}

} // namespace

QString DefaultSettingsPath()
{
    return SettingsPathFor(ProgramPath());
}

QString SettingsPathFor(const QString& programPath)
{
    const QFileInfo program(programPath);
    QString name = program.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return program.dir().filePath(name + u".INI"_s);
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue,
                    const QString& fileName)
{
    const auto raw = readRaw(settingsPath(fileName), section, key);
    if (!raw)
        return defaultValue;
    return HexToText(*raw, kStandardHexAlphabet, true);
}

void WriteSetting(const QString& section, const QString& key, const QString& value,
                  const QString& fileName)
{
    writeRaw(settingsPath(fileName), section, key, TextToHex(value, kStandardHexAlphabet, true));
}

bool ReadBoolSetting(const QString& section, const QString& key, bool defaultValue,
                     const QString& fileName)
{
    const QString raw = readRaw(settingsPath(fileName), section, key).value_or(QString());
    return TextToInt(raw, defaultValue ? 1 : 0) != 0;
}

void WriteBoolSetting(const QString& section, const QString& key, bool value,
                      const QString& fileName)
{
    writeRaw(settingsPath(fileName), section, key, value ? u"1"_s : u"0"_s);
}

} // namespace toolkit
