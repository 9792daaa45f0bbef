// The skinned status line: a flat top edge in the style's control border colour, the text inset
// from the left, and on a high-density screen the same picture at twice the size.

#include "ControlsTestSupport.h"
#include "skin/controls/SkinnedStatusBar.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace vocafetch;
using namespace controlstest;

namespace {

struct StatusLine
{
    std::unique_ptr<QWidget> host = shownHost();
    SkinnedStatusBar *bar = new SkinnedStatusBar(host.get());

    StatusLine()
    {
        bar->setGeometry(0, 150, 311, 19);
        bar->setFont(crispFont());
        bar->setUIStyle(TsuiUIStyle::WinXP);
        bar->setText(QStringLiteral("Найдено 12 записей"));
        bar->show();
    }

    // The bar painted onto an image of ratio device pixels per pixel.
    QImage rendered(qreal ratio) const
    {
        QImage image(bar->size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::magenta);
        bar->render(&image);
        image.setDevicePixelRatio(1);
        return image;
    }
};

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 100;
}

} // namespace

TEST(StatusLine, FlatTopEdgeAndInsetText)
{
    StatusLine line;
    const QImage shot = grabbed(line.bar);
    const QColor edge = BgrToQColor(6842472);
    EXPECT_EQ(line.bar->edgeColor(), edge);
    for (int x = 0; x < shot.width(); ++x)
        ASSERT_EQ(shot.pixelColor(x, 0), edge) << x;
    const QColor background = shot.pixelColor(1, 10);
    EXPECT_NE(background, edge);
    const QRect ink = boundsOf(shot.copy(0, 1, shot.width(), shot.height() - 1), isInk);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), SkinnedStatusBar::TextInset);
    EXPECT_LE(ink.left(), SkinnedStatusBar::TextInset + 1);
    // Centred in the room below the edge.
    EXPECT_LE(std::abs(ink.top() - (shot.height() - 2 - ink.bottom())), 2);

    line.bar->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(grabbed(line.bar).pixelColor(100, 0),
              BgrToQColor(StyleColor(TsuiUIStyle::MacOS, 25)));
}

// At twice the density every pixel becomes a square of four: the text is neither spread out
// nor redrawn in another size.
TEST(StatusLine, DoubleDensityShowsTheSamePictureDoubled)
{
    StatusLine line;
    const QImage single = line.rendered(1);
    const QImage twice = line.rendered(2);
    ASSERT_EQ(twice.size(), single.size() * 2);
    EXPECT_EQ(twice,
              single.scaled(single.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}
