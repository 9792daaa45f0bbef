#pragma once
// The look of a skinned list's own scroll bars: Qt's scroll bar keeps its behaviour and the
// geometry of the application style, and is painted from the list style's scroll-bar artwork
// (track colour, arrow buttons, slider pieces), like a skinned TsuiScrollBar.

#include "skin/controls/TsuiScrollBarPictures.h"
#include "skin/style/TsuiUIStyle.h"

#include <QProxyStyle>
#include <QStyleOptionSlider>

class QScrollBar;
class TsuiFileTheme;

namespace vocafetch {

// The option a scroll bar paints itself with, for asking its style where its parts lie.
QStyleOptionSlider ScrollBarOption(const QScrollBar *bar);
// Where part (an arrow, the slider, a page area) of bar lies, in the bar's coordinates.
QRect ScrollBarPart(const QScrollBar *bar, QStyle::SubControl part);

// picture as a part of size device pixels shows it.
QImage ScaledScrollBarPicture(const QImage &picture, const QSize &size);

class SkinnedScrollBarStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Over the application's style (followed when it changes); it draws nothing of the bars
    // until setArtwork gives it a style's pictures.
    explicit SkinnedScrollBarStyle(QObject *owner = nullptr);

    // Takes the artwork of style (or of theme's, as the style says); repaint the bars after.
    void setArtwork(TsuiUIStyle style, const TsuiFileTheme *theme);
    const ScrollBarArtwork &artwork(Qt::Orientation orientation) const
    {
        return orientation == Qt::Vertical ? m_vertical : m_horizontal;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    using QProxyStyle::polish;

private:
    void drawScrollBar(const QStyleOptionSlider *bar, QPainter *painter,
                       const QWidget *widget) const;

    ScrollBarArtwork m_vertical;
    ScrollBarArtwork m_horizontal;
};

} // namespace vocafetch
