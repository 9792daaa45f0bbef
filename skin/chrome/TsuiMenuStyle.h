#pragma once
// The proxy style of the skinned menus: Qt asks it for the size and the picture of every menu
// item and for the menu window's panel, and it answers with the skinned measuring and drawing
// of its menu component.

#include <QProxyStyle>

class TsuiMenuBase;

class TsuiMenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit TsuiMenuStyle(const TsuiMenuBase *menu);

    // Width of the menu window's frame on each side.
    static constexpr int PanelWidth = 3;

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override;

private:
    // Qt adds the widest shortcut to the widest item; the skinned menu is as wide as its widest
    // item including its shortcut, so every item answers that width less Qt's addition.
    int itemWidthForQt(const QWidget *menu) const;

    const TsuiMenuBase *m_menu;
};
