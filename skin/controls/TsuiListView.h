#pragma once
// A list with a skinned border: the system frame is replaced by a two-pixel ring, outer pixel in
// the style's control border colour, inner pixel in the list's own background. Skinned scroll
// bars can be linked to it (VScrollBar, HScrollBar) and then follow and drive its scrolling.

#include "skin/controls/SkinnedListFrame.h"
#include "skin/controls/SkinnedListWidget.h"
#include "skin/controls/TsuiScrollBar.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

class TsuiListView : public vocafetch::SkinnedListWidget
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TsuiScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)
    Q_PROPERTY(TsuiScrollBar *HScrollBar READ HScrollBar WRITE setHScrollBar)

public:
    explicit TsuiListView(QWidget *parent = nullptr);

    TsuiFileTheme *FileTheme() const { return m_frame.fileTheme(); }
    void setFileTheme(TsuiFileTheme *theme);
    // Sets BorderColor from the style and restyles the linked bars.
    TsuiUIStyle UIStyle() const { return m_frame.uiStyle(); }
    void setUIStyle(TsuiUIStyle style);
    QColor BorderColor() const { return m_frame.borderColor(); }
    void setBorderColor(const QColor &color);
    TsuiScrollBar *VScrollBar() const { return scrollBarLink()->bar(Qt::Vertical); }
    void setVScrollBar(TsuiScrollBar *bar) { scrollBarLink()->LinkScrollBar(Qt::Vertical, bar); }
    TsuiScrollBar *HScrollBar() const { return scrollBarLink()->bar(Qt::Horizontal); }
    void setHScrollBar(TsuiScrollBar *bar) { scrollBarLink()->LinkScrollBar(Qt::Horizontal, bar); }

protected:
    bool event(QEvent *event) override;

private:
    void itemsRemoved();

    vocafetch::SkinnedListFrame m_frame;
};
