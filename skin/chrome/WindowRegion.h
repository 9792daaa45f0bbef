#pragma once
// The window shape of a skinned form: rounded top corners, square bottom corners.

#include <QRegion>

class QWidget;

namespace vocafetch {

// The region of a w x h window whose top corners are cut along a cornerSize x cornerSize
// ellipse and whose bottom corners stay square. A corner size below 2 (or larger than the
// window allows) gives the plain rectangle, or the corners it can round.
QRegion WindowRegion(const QSize &size, int cornerSize);

// Gives the top-level window of form the region of WindowRegion for its current size as its
// mask and repaints it at once. Nothing without a form.
void SetWindowRegion(QWidget *form, int cornerSize);

} // namespace vocafetch
