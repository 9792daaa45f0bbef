#pragma once
// The geometry of a skinned title bar as plain numbers: where each section picture goes, where
// each button sits, how much room the caption gets and how it is shortened, and which window
// edge a point near the frame's border means. The title bar paints and hit-tests with these.

#include <QRect>
#include <QString>
#include <QVector>

#include <functional>

// Alignment of a title-bar section.
enum class TsuiTitleBarAlign
{
    suiLeft = 0,
    suiRight = 1,
    suiClient = 2,
};

// Kind of a title-bar button.
enum class TsuiTitleBarBtnType
{
    suiMax = 0,
    suiMin = 1,
    suiClose = 2,
    suiHelp = 3,
    suiControlBox = 4,
    suiCustom = 5,
};

namespace vocafetch {

// What a section contributes to the layout.
struct TitleSectionSpec
{
    TsuiTitleBarAlign align = TsuiTitleBarAlign::suiLeft;
    int width = 10;
    bool stretch = false;
};

// Where a section is drawn: target is the rectangle on the bar; a non-stretched section copies
// target.size() pixels of its picture unscaled from the picture's top-left corner.
struct TitleSectionPlacement
{
    int section = -1; // index in the collection
    QRect target;
    bool stretch = false;
};

// Places the sections on a barWidth x barHeight bar: left ones from x 0 rightwards, right ones
// from the right edge leftwards (skipped when no room is left), the client section stretched
// between them, painted last.
QVector<TitleSectionPlacement> LayoutTitleSections(const QVector<TitleSectionSpec> &sections,
                                                   int barWidth, int barHeight);

// What a button contributes to the layout.
struct TitleButtonSpec
{
    TsuiTitleBarBtnType type = TsuiTitleBarBtnType::suiCustom;
    bool visible = true;
    int top = 2;
    QSize size; // the size of its normal picture
};

// The buttons' rectangles and the room left for the caption.
struct TitleButtonLayout
{
    QVector<QRect> rects; // index-aligned with the buttons; empty rectangle when not shown
    int controlBox = -1;  // index of the visible control box, -1 for none
    int captionLeft = 0;  // first x of the caption
    int captionRight = 0; // the caption may use x < captionRight
};

// Lays the buttons out as the bar draws them: right-hand buttons in collection order from the
// right edge (shifted by rightOffset) leftwards, interval pixels apart plus one; the control box
// at leftOffset; the caption from after the control box (21 pixels after leftOffset when the
// program icon replaces it, 5 after its picture otherwise, 6 when that gives 0) up to the
// leftmost right-hand button.
TitleButtonLayout LayoutTitleButtons(const QVector<TitleButtonSpec> &buttons, int barWidth,
                                     int leftOffset, int rightOffset, int interval,
                                     bool drawAppIcon);

// Index of the button whose rectangle holds p, edges included (the right and bottom edge
// pixels as well); -1 when none.
int TitleButtonAt(const TitleButtonLayout &layout, const QPoint &p);

// The caption as shown in room pixels: whole when it fits, otherwise shortened from its end
// until the rest followed by "..." fits (down to "..." alone). width measures a text.
QString FitTitleCaption(const QString &caption, int room,
                        const std::function<int(const QString &)> &width);

// The window edges a point means on a sizeable host of clientSize (5 pixels from each side
// count, corners first); no edges elsewhere.
Qt::Edges FrameEdgesAt(const QPoint &p, const QSize &clientSize);
// The edges a point on the title bar means when its form's host is sizeable: the top 5 rows
// answer top, top-left for x <= 4 and top-right right of formClientWidth - 5.
Qt::Edges TitleBarEdgesAt(const QPoint &p, int formClientWidth);

} // namespace vocafetch
