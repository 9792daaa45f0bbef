#pragma once
// The look of a skinned list view, whatever holds its rows (TsuiListView its own items,
// SkinnedListView a model): the system frame is replaced by a two-pixel ring, outer pixel in the
// style's control border colour, inner pixel in the list's own background. Skinned scroll bars
// can be linked to it (VScrollBar, HScrollBar) and then follow and drive its scrolling.

#include "skin/controls/SkinnedList.h"
#include "skin/controls/SkinnedListFrame.h"
#include "skin/controls/TsuiScrollBar.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"

#include <QAbstractItemModel>
#include <QEvent>

namespace vocafetch {

template <class Base> class TsuiListViewLook : public SkinnedList<Base>
{
public:
    TsuiFileTheme *FileTheme() const { return m_frame.fileTheme(); }
    void setFileTheme(TsuiFileTheme *theme)
    {
        m_frame.setFileTheme(theme);
        setUIStyle(m_frame.uiStyle());
    }
    // Sets BorderColor from the style and restyles the linked bars.
    TsuiUIStyle UIStyle() const { return m_frame.uiStyle(); }
    void setUIStyle(TsuiUIStyle style)
    {
        const TsuiUIStyle barStyle = m_frame.setUIStyle(style);
        for (TsuiScrollBar *bar : {VScrollBar(), HScrollBar()}) {
            if (bar)
                bar->setUIStyle(barStyle);
        }
        this->update();
    }
    QColor BorderColor() const { return m_frame.borderColor(); }
    void setBorderColor(const QColor &color)
    {
        m_frame.setBorderColor(color);
        this->update();
    }
    TsuiScrollBar *VScrollBar() const { return this->scrollBarLink()->bar(Qt::Vertical); }
    void setVScrollBar(TsuiScrollBar *bar)
    {
        this->scrollBarLink()->LinkScrollBar(Qt::Vertical, bar);
    }
    TsuiScrollBar *HScrollBar() const { return this->scrollBarLink()->bar(Qt::Horizontal); }
    void setHScrollBar(TsuiScrollBar *bar)
    {
        this->scrollBarLink()->LinkScrollBar(Qt::Horizontal, bar);
    }

protected:
    explicit TsuiListViewLook(QWidget *parent)
        : SkinnedList<Base>(parent, ScrollBarLink::ListKind::ListView),
          m_frame(this, [this](TsuiUIStyle style) { setUIStyle(style); })
    {
        followModel();
        setUIStyle(m_frame.uiStyle());
    }

    // The bars follow at once when the rows of the list's current model go or all change.
    void followModel()
    {
        QAbstractItemModel *rows = this->model();
        if (!rows)
            return;
        QObject::connect(rows, &QAbstractItemModel::rowsRemoved, this, [this]() { rowsGone(); });
        QObject::connect(rows, &QAbstractItemModel::modelReset, this, [this]() { rowsGone(); });
    }

    bool event(QEvent *event) override
    {
        const bool handled = SkinnedList<Base>::event(event);
        if (event->type() == QEvent::Paint)
            m_frame.paintBorder();
        return handled;
    }

private:
    void rowsGone()
    {
        this->executeDelayedItemsLayout();
        this->scrollBarLink()->MirrorScrollState();
    }

    SkinnedListFrame m_frame;
};

} // namespace vocafetch
