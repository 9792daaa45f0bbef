#pragma once
// Lets a control with a transparent look show its parent's background behind it.

class QPainter;
class QWidget;

namespace vocafetch {

// Renders the parent's own background and painting (not its other children) into canvas, which
// paints the control's off-screen pixmap at (0, 0): the parent is drawn at the offset
// (-control x, -control y), clipped to the parent's rectangle. Nothing without a parent or
// without an active painter; the painter's state is restored afterwards.
void PaintParentBackground(QPainter *canvas, const QWidget *control);

} // namespace vocafetch
