#pragma once
// The artwork of each built-in style: control pieces drawn from a per-style look, the title bar
// pieces drawn per style, and the bitmaps shared by all styles.

#include "ArtKit.h"
#include "skin/style/TsuiUIStyle.h"

namespace art {

// Colours and shapes of a style's small controls (buttons, boxes, scroll bars...).
struct ControlLook
{
    QString prefix;                 // resource name prefix ("WINXP")
    QColor formBack;                // what the controls sit on
    QColor border;                  // outline of faces and boxes
    Stops face;                     // normal face, top to bottom
    Stops faceHot;                  // under the mouse
    Stops facePressed;              // pressed
    QColor hotRing;                 // inner ring of a hot face (invalid: none)
    QColor glyph;                   // arrows and marks
    QColor mark;                    // check mark and radio dot
    QColor boxFill;                 // inside of check and radio boxes
    Stops fill;                     // progress fill, slider and selected tab accents
    QColor track;                   // sunken grooves
    Stops bar;                      // side channel / header bar
    qreal radius = 3;               // corner radius of faces
    bool maskButtonCorners = false; // button corners use magenta (style entry 2 set)
    bool glossy = false;            // a white shine over the top half of faces
    bool thumbGrip = false;         // grip lines on trackbar sliders
};

ControlLook controlLook(TsuiUIStyle style);

// Every bitmap of one style: control pieces and title bar.
void addControlArt(const ControlLook &look, ArtSet &out);
void addTitleArt(TsuiUIStyle style, ArtSet &out);
// Bitmaps outside the styles: menu and form backgrounds, the shared scroll button, the check
// mark and the program icon.
void addSharedArt(ArtSet &out);
// The neutral 72 x 17 scroll button strip shared by DeepBlue, Protein and BlueGlass.
QImage moreScrollButtons();

} // namespace art
