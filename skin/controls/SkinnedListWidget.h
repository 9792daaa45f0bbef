#pragma once
// The base of the skinned lists (TsuiListView, TsuiListBox): a QListWidget whose linked skinned
// scroll bars follow every key, mouse, wheel, enabling, move and resize that may scroll it.

#include "skin/controls/ScrollBarLink.h"

#include <QListWidget>

namespace vocafetch {

class SkinnedListWidget : public QListWidget
{
    Q_OBJECT

public:
    ~SkinnedListWidget() override;

    ScrollBarLink *scrollBarLink() const { return m_link; }

protected:
    SkinnedListWidget(QWidget *parent, ScrollBarLink::ListKind kind);

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ScrollBarLink *m_link;
};

} // namespace vocafetch
