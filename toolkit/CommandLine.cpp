#include "CommandLine.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace toolkit {

QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool IsProgramSwitch(const QString& argument)
{
    static const QStringList switches{u"/SWEDISH"_s, u"/ENGLISH"_s, u"/ALLOWSLEEP"_s, u"/LINES"_s};
    return switches.contains(argument, Qt::CaseInsensitive);
}

void PrintLine(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

std::optional<QString> FirstLineOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

} // namespace toolkit
