#pragma once
// The base of the skinned lists (TsuiListView, TsuiListBox, SkinnedListView): a list (a
// QListWidget or a QListView over any model) whose linked skinned scroll bars follow every key,
// mouse, wheel, enabling, move and resize that may scroll it.

#include "skin/controls/ScrollBarLink.h"

#include <QEvent>
#include <QMouseEvent>

namespace vocafetch {

template <class Base> class SkinnedList : public Base
{
public:
    ~SkinnedList() override
    {
        // A list widget's items go away with its base class: neither this list nor its link
        // may hear of it.
        QObject::disconnect(this->model(), nullptr, this, nullptr);
        delete m_link;
        m_link = nullptr;
    }

    ScrollBarLink *scrollBarLink() const { return m_link; }

protected:
    SkinnedList(QWidget *parent, ScrollBarLink::ListKind kind)
        : Base(parent), m_link(new ScrollBarLink(this, kind))
    {
    }

    bool event(QEvent *event) override
    {
        const bool handled = Base::event(event);
        if (event->type() == QEvent::Resize)
            m_link->PlaceScrollBars();
        return handled;
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        Base::keyPressEvent(event);
        m_link->MirrorScrollState();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        Base::mousePressEvent(event);
        if (event->button() == Qt::LeftButton)
            m_link->setLeftButtonHeld(true);
        m_link->MirrorScrollState();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        Base::mouseMoveEvent(event);
        if (m_link->isLeftButtonHeld())
            m_link->MirrorScrollState();
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        Base::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            m_link->setLeftButtonHeld(false);
    }
    void wheelEvent(QWheelEvent *event) override
    {
        Base::wheelEvent(event);
        m_link->MirrorScrollState();
    }
    void changeEvent(QEvent *event) override
    {
        Base::changeEvent(event);
        if (event->type() == QEvent::EnabledChange)
            m_link->MirrorScrollState();
    }
    void moveEvent(QMoveEvent *event) override
    {
        Base::moveEvent(event);
        m_link->PlaceScrollBars();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        Base::resizeEvent(event);
        m_link->PlaceScrollBars();
    }

private:
    ScrollBarLink *m_link;
};

} // namespace vocafetch
