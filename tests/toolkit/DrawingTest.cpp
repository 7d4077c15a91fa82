#include "toolkit/FormToolz.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace toolkit;

namespace {

const QColor kFace(240, 240, 240);
const QColor kLight = QColor(255, 255, 255);
const QColor kDark = QColor(225, 225, 225);

// An offscreen client area in the window colour.
class DrawingTest : public testing::Test
{
protected:
    DrawingTest()
        : m_image(265, 521, QImage::Format_RGB32)
    {
        m_image.fill(kFace);
    }

    template <typename Draw> void draw(Draw drawing)
    {
        QPainter painter(&m_image);
        drawing(Canvas{painter, m_image.size(), kFace});
    }

    QColor at(int x, int y) const { return m_image.pixelColor(x, y); }

    // The pixels that differ from the background.
    std::vector<QPoint> painted() const
    {
        std::vector<QPoint> points;
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                if (at(x, y) != kFace)
                    points.emplace_back(x, y);
        return points;
    }

    QImage m_image;
};

TEST(Colours, ShadesAreLimitedPlainRgb)
{
    EXPECT_EQ(LighterColor(Qt::white, 15), QColor(255, 255, 255));
    EXPECT_EQ(DarkerColor(Qt::black, 15), QColor(0, 0, 0));
    EXPECT_EQ(LighterColor(QColor(224, 240, 245), 15), QColor(239, 255, 255));
    EXPECT_EQ(DarkerColor(QColor(10, 100, 200), 40), QColor(0, 60, 160));
    const QColor fromHsv = QColor::fromHsv(0, 255, 200);
    EXPECT_EQ(RedPart(fromHsv), 200);
    EXPECT_EQ(GreenPart(fromHsv), 0);
    EXPECT_EQ(DarkerColor(fromHsv, 0), QColor(200, 0, 0)); // equal only as a plain RGB colour
}

TEST_F(DrawingTest, ControlFrameRingsTheControl)
{
    draw([](Canvas c) { DrawControlFrame(c, QRect(25, 393, 214, 24), Qt::red, 0); });
    const auto points = painted();
    ASSERT_FALSE(points.empty());
    int minX = 10000, minY = 10000, maxX = -1, maxY = -1;
    for (const QPoint& p : points) {
        minX = std::min(minX, p.x());
        minY = std::min(minY, p.y());
        maxX = std::max(maxX, p.x());
        maxY = std::max(maxY, p.y());
        EXPECT_TRUE(p.x() == 24 || p.x() == 239 || p.y() == 392 || p.y() == 417);
        EXPECT_EQ(at(p.x(), p.y()), QColor(Qt::red));
    }
    EXPECT_EQ(QRect(QPoint(minX, minY), QPoint(maxX, maxY)),
              QRect(QPoint(24, 392), QPoint(239, 417)));
    EXPECT_EQ(points.size(), 2u * 216 + 2u * 24); // the closed ring, every pixel once
}

TEST_F(DrawingTest, ClientBevelWithInsetZeroIsTheOuterRing)
{
    draw([](Canvas c) { DrawClientBevel(c, true, 0, Qt::white, Qt::black); });
    const int w = m_image.width();
    const int h = m_image.height();
    EXPECT_EQ(at(0, 0), QColor(Qt::white));
    EXPECT_EQ(at(w / 2, 0), QColor(Qt::white));
    EXPECT_EQ(at(0, h / 2), QColor(Qt::white));
    EXPECT_EQ(at(w / 2, h - 1), QColor(Qt::black));
    EXPECT_EQ(at(w - 1, h / 2), QColor(Qt::black));
    // The later bottom and right lines own the top-right and bottom-left corners.
    EXPECT_EQ(at(w - 1, 0), QColor(Qt::black));
    EXPECT_EQ(at(0, h - 1), QColor(Qt::black));
    EXPECT_EQ(at(1, 1), kFace);
}

TEST_F(DrawingTest, EtchedGrooveRowsAndColumns)
{
    draw([](Canvas c) { DrawEtchedGroove(c); });
    const int w = m_image.width();
    const int h = m_image.height();
    const int midX = w / 2;
    const int midY = h / 2;
    EXPECT_EQ(at(midX, 8), kDark);
    EXPECT_EQ(at(8, midY), kDark);
    EXPECT_EQ(at(midX, 9), kLight);
    EXPECT_EQ(at(9, midY), kLight);
    EXPECT_EQ(at(midX, h - 10), kDark);
    EXPECT_EQ(at(w - 10, midY), kDark);
    EXPECT_EQ(at(midX, h - 9), kLight);
    EXPECT_EQ(at(w - 9, midY), kLight);
    EXPECT_EQ(at(midX, 7), kFace);
    EXPECT_EQ(at(midX, 10), kFace);
    EXPECT_EQ(at(midX, h - 8), kFace);
}

TEST_F(DrawingTest, EtchedLineLeavesOutItsEndPoint)
{
    draw([](Canvas c) { DrawEtchedLine(c, 24, 120, 240, 120, true, 15); });
    EXPECT_EQ(at(24, 120), kDark);
    EXPECT_EQ(at(239, 120), kDark);
    EXPECT_EQ(at(240, 120), kFace);
    EXPECT_EQ(at(24, 121), kLight);
    EXPECT_EQ(at(240, 121), kFace);
    EXPECT_EQ(at(23, 120), kFace);
}

TEST_F(DrawingTest, VerticalDoubleLineMovesRightNotDown)
{
    draw([](Canvas c) { DrawDoubleLine(c, 50, 10, 50, 60, false, Qt::white, Qt::black); });
    EXPECT_EQ(at(50, 10), QColor(Qt::black));
    EXPECT_EQ(at(51, 10), QColor(Qt::white));
    EXPECT_EQ(at(50, 59), QColor(Qt::black));
    EXPECT_EQ(at(50, 60), kFace);
    EXPECT_EQ(at(51, 60), kFace);
    EXPECT_EQ(at(50, 61), kFace);
}

TEST_F(DrawingTest, SunkenControlBevelIsDarkTopLeftLightBottomRight)
{
    draw([](Canvas c) { DrawControlBevelShaded(c, QRect(25, 393, 214, 24), false, 0, 15); });
    EXPECT_EQ(at(100, 392), kDark);
    EXPECT_EQ(at(24, 400), kDark);
    EXPECT_EQ(at(100, 417), kLight);
    EXPECT_EQ(at(239, 400), kLight);
}

TEST(Cursor, BusyThenNormal)
{
    BusyCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    BusyCursor();
    NormalCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(PumpMessages, RunsWhatIsWaiting)
{
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    PumpMessages();
    EXPECT_TRUE(ran);
}

} // namespace
