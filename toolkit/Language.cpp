#include "Language.h"

#include "Environment.h"
#include "TextFunctions.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace toolkit {

bool HasSwitch(const QString& switchText, bool caseSensitive)
{
    const QString wanted = caseSensitive ? switchText : UpperText(switchText);
    const QStringList arguments = ProgramArguments();
    for (const QString& argument : arguments) {
        if ((caseSensitive ? argument : UpperText(argument)) == wanted)
            return true;
    }
    return false;
}

bool IsSwedishLocale(const QLocale& locale)
{
    return locale.language() == QLocale::Swedish && locale.territory() == QLocale::Sweden;
}

bool IsSwedish()
{
    const bool swedish = HasSwitch(u"/SWEDISH"_s, false);
    const bool english = HasSwitch(u"/ENGLISH"_s, false);
    if (swedish != english)
        return swedish;
    return IsSwedishLocale(UserLocale());
}

QString LangText(bool flag, const QString& first, const QString& second)
{
    return flag ? first : second;
}

} // namespace toolkit
