#pragma once
// The program icon: one design, drawn as a bitmap of any size for the window and the desktop,
// and written as a scalable SVG for the desktop's icon theme.

#include <QByteArray>
#include <QImage>

namespace art {

// The icon at size x size pixels; from 32 pixels up it carries the rescue arrow.
QImage programIcon(int size);
// The full design (with the arrow) as an SVG document, 256 units square.
QByteArray programIconSvg();

} // namespace art
