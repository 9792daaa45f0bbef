#pragma once
// A single-column list of strings with the skinned two-pixel border of TsuiListView; a linked
// vertical skinned bar (VScrollBar) follows every change of its items and scrolls it by position.

#include "skin/controls/SkinnedListFrame.h"
#include "skin/controls/SkinnedListWidget.h"
#include "skin/controls/TsuiScrollBar.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

class TsuiListBox : public vocafetch::SkinnedListWidget
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TsuiScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)

public:
    explicit TsuiListBox(QWidget *parent = nullptr);

    // Also handed to the linked bar.
    TsuiFileTheme *FileTheme() const { return m_frame.fileTheme(); }
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle UIStyle() const { return m_frame.uiStyle(); }
    void setUIStyle(TsuiUIStyle style);
    QColor BorderColor() const { return m_frame.borderColor(); }
    void setBorderColor(const QColor &color);
    TsuiScrollBar *VScrollBar() const { return scrollBarLink()->bar(Qt::Vertical); }
    void setVScrollBar(TsuiScrollBar *bar) { scrollBarLink()->LinkScrollBar(Qt::Vertical, bar); }

protected:
    bool event(QEvent *event) override;

private:
    void itemsChanged();

    vocafetch::SkinnedListFrame m_frame;
};
