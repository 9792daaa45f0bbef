#pragma once
// The menu bar of the skinned form frame: a row of flat buttons, one per top-level item of the
// main menu, each dropping its item's menu down below it. Hot and pressed buttons show the
// skin's selection box.

#include "skin/style/TsuiUIStyle.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;

namespace vocafetch {

// How the menu-bar buttons look, resolved from the menu's (or the frame's) style.
struct MenuBarButtonLook
{
    TsuiUIStyle style = TsuiUIStyle::WinXP;
    QFont font;
    QColor fontColor{Qt::black};         // caption of a button in its rest state
    QColor selectedColor;                // entry 19: fill of the hot / pressed box
    QColor selectedBorderColor;          // entry 18: its frame
    QColor selectedFontColor{Qt::black}; // entry 20: its caption
    QImage macSelectImage;               // MacOS: stretched over a hot / pressed button
};

// Paints one menu-bar button into rect: the caption alone at rest; hot or pressed, the filled
// and framed box (pressed: 2 pixels narrower on the right, caption 2 pixels further right) with
// the caption 2 pixels lower, centred in what is left.
void DrawMenuBarButton(QPainter *painter, const QRect &rect, const QString &caption, bool hot,
                       bool pressed, bool enabled, const MenuBarButtonLook &look);

} // namespace vocafetch

class TsuiMenuBarButton : public QAbstractButton
{
    Q_OBJECT
public:
    // Shows item's caption and enabled state and drops item's menu down.
    TsuiMenuBarButton(QAction *item, QWidget *bar);

    QAction *item() const { return m_item; }
    // Whether its menu is open.
    bool menuOpen() const;
    void openMenu();
    // Follows the item's caption and enabled state.
    void refresh();

    QSize sizeHint() const override;
    // Whether the mouse is over the button.
    bool hot() const { return m_hot; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QAction> m_item;
    QPointer<QMenu> m_openMenu;
    bool m_hot = false;
};

class TsuiFormMenuBar : public QWidget
{
    Q_OBJECT
public:
    explicit TsuiFormMenuBar(QWidget *frame);

    // One button per item, left to right in item order.
    void rebuild(const QList<QAction *> &items);
    void refresh();
    QList<TsuiMenuBarButton *> buttons() const { return m_buttons; }
    TsuiMenuBarButton *buttonAt(const QPoint &globalPos) const;
    // The next enabled button with a menu, step buttons on (wrapping round), nullptr for none.
    TsuiMenuBarButton *neighbour(const TsuiMenuBarButton *button, int step) const;
    // Opens the first enabled menu, its first item active: what F10 does in the bar's window.
    void openFirstMenu();

    void setLook(const vocafetch::MenuBarButtonLook &look);
    const vocafetch::MenuBarButtonLook &look() const { return m_look; }
    void setBarColor(const QColor &color);
    void setBarHeight(int height);
    // MacOS: the bar's background picture, stretched.
    void setBackgroundImage(const QImage &image);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void layoutButtons();

    QList<TsuiMenuBarButton *> m_buttons;
    vocafetch::MenuBarButtonLook m_look;
    QColor m_barColor;
    QImage m_background;
};
