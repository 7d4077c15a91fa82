#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace toolkit {
namespace {

QString firstInstalled(const QStringList& families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return families.constLast();
}

const QString& uiFamily()
{
    static const QString family =
        firstInstalled({u"Segoe UI"_s, u"Liberation Sans"_s, u"DejaVu Sans"_s});
    return family;
}

const QString& fixedFamily()
{
    static const QString family =
        firstInstalled({u"Consolas"_s, u"DejaVu Sans Mono"_s, u"Liberation Mono"_s});
    return family;
}

QFont withPixelHeight(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

QFont UiFont()
{
    return withPixelHeight(uiFamily(), 12);
}

QFont FixedFont()
{
    return withPixelHeight(fixedFamily(), 13);
}

QFont FixedPointFont(int points)
{
    QFont font(fixedFamily());
    font.setPointSize(points);
    return font;
}

} // namespace toolkit
