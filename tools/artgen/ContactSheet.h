#pragma once
// Renders an overview of every style's bitmaps (enlarged, labelled) plus a title bar assembled
// from each style's pieces, for looking at the artwork in one picture.

#include "ArtKit.h"

namespace art {

QImage renderContactSheet(const ArtSet &art);

} // namespace art
