#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>

namespace sender {

// The picture that shows the file's progress; Tag holds the percentage.
class ProgressImage : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    int Tag = 0;
    // The percentage last drawn.
    int LastPercent = 0;
};

// Draws the bar for the image's Tag: a light-green fill from the left over
// a background a shade lighter than the window, and the percentage centred
// on the whole bar. Nothing is drawn on an image under 100 pixels wide, nor
// for a Tag from 1 to 99 that is already shown. True when it drew.
bool DrawProgress(ProgressImage& image, const QColor& windowColour);

// The bar's picture itself, for a given size and Tag.
QImage ProgressPicture(QSize size, int tag, const QColor& windowColour);

} // namespace sender
