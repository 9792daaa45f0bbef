#include "skin/controls/PaintParentBackground.h"

#include <QPainter>
#include <QWidget>

namespace vocafetch {

void PaintParentBackground(QPainter *canvas, const QWidget *control)
{
    if (!canvas || !canvas->isActive() || !control)
        return;
    QWidget *parent = control->parentWidget();
    if (!parent)
        return;
    // Only the part of the parent behind the control is rendered; its other children (and the
    // control itself) are left out, so a control painting itself cannot recurse.
    const QRect behind = control->geometry().intersected(parent->rect());
    if (behind.isEmpty())
        return;
    canvas->save();
    parent->render(canvas, behind.topLeft() - control->pos(), QRegion(behind),
                   QWidget::DrawWindowBackground);
    canvas->restore();
}

} // namespace vocafetch
