#pragma once
// Owner-drawn skinned menu items as plain routines on a QPainter: the item size, the item
// picture (image bar, background, selection box, check box, image, caption, shortcut,
// separator line), the flat border of the menu window and the system menu font.
// TsuiMenuStyle (TsuiMenuStyle.h) hands Qt's menus to these.

#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>

class QFontMetrics;
class QPainter;
class QRect;
class QSize;

namespace vocafetch {

// Everything the drawing reads from the menu component, resolved for one paint.
struct SkinMenuLook
{
    TsuiUIStyle style = TsuiUIStyle::WinXP;
    int barWidth = 26;
    int itemHeight = 21;
    int separatorHeight = 5;
    QColor barColor{214, 211, 206};
    QColor color{Qt::white};
    QColor separatorColor{132, 130, 132};
    QColor selectedBorderColor{49, 105, 198};
    QColor selectedColor{198, 211, 239};
    QColor selectedFontColor{Qt::black};
    QColor fontColor{Qt::black};
    QFont font;            // the caption and shortcut font
    QImage checkMark;      // drawn for a checked item without an image; white is transparent
    QImage macBarImage;    // MacOS: item and separator background
    QImage macSelectImage; // MacOS: selected item background
};

// One menu item as the drawing sees it.
struct SkinMenuItem
{
    QString caption;  // as stored, "&" included; exactly "-" is a separator
    QString shortcut; // the shortcut's text ("Ctrl+O"), empty without one
    bool enabled = true;
    bool checked = false;
    bool isDefault = false; // drawn bold
    QIcon image;            // null when the item has no usable image
};

// The colour of a disabled item's caption (0x808080).
inline QColor SkinMenuDisabledTextColor()
{
    return QColor(128, 128, 128);
}

bool IsSkinMenuSeparator(const SkinMenuItem &item);

// Height: separatorHeight for a separator, itemHeight otherwise. Width: the widths of the
// caption as stored and of the shortcut text in metrics, plus barWidth + 40.
QSize MeasureSkinnedMenuItem(const SkinMenuItem &item, const QFontMetrics &metrics,
                             const SkinMenuLook &look);

// Paints item into rect (its menu rectangle) on painter.
void DrawSkinnedMenuItem(QPainter *painter, const QRect &rect, const SkinMenuItem &item,
                         bool selected, const SkinMenuLook &look);

// The flat border of a menu window covering windowRect: a black frame one pixel in from the top,
// a white frame inside it, and lines in lineColor along the bottom, the right and the top.
void DrawFlatMenuBorder(QPainter *painter, const QRect &windowRect, const QColor &lineColor);

// The menu font where the platform names none: Tahoma, 11 pixels high.
QFont StandInMenuFont();

// Makes font the platform's menu font (QApplication::font for menus), or StandInMenuFont when
// the platform has no font of its own for menus. Returns false, leaving font unchanged, when no
// application is running.
bool ApplySystemMenuFont(QFont *font);

} // namespace vocafetch
