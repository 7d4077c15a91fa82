#include "ProgressBar.h"

#include "toolkit/Fonts.h"
#include "toolkit/FormToolz.h"
#include "toolkit/Formats.h"
#include "toolkit/TextFunctions.h"

#include <QFontMetrics>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace sender {
namespace {

const QColor kFill(153, 255, 153);
const QColor kText(0, 102, 0);

} // namespace

QImage ProgressPicture(QSize size, int tag, const QColor& windowColour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(toolkit::LighterColor(windowColour, 15));
    if (tag < 1 || tag > 100)
        return picture;

    QPainter painter(&picture);
    const int width = size.width();
    const int fill = tag == 100 ? width : static_cast<int>(toolkit::PercentOf(tag, 100, width));
    painter.fillRect(QRect(0, 0, fill, size.height()), kFill);

    const QFont font = toolkit::FixedPointFont(10);
    painter.setFont(font);
    painter.setPen(kText);
    const QString text = toolkit::IntToText(tag) + u" %"_s;
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    const int x = width / 2 - textWidth / 2;
    const int y = size.height() / 2 - textHeight / 2;
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return picture;
}

bool DrawProgress(ProgressImage& image, const QColor& windowColour)
{
    if (image.width() < 100)
        return false;
    if (image.Tag == image.LastPercent && image.Tag != 0 && image.Tag != 100)
        return false;
    image.LastPercent = image.Tag;
    image.setPixmap(QPixmap::fromImage(ProgressPicture(image.size(), image.Tag, windowColour)));
    return true;
}

} // namespace sender
