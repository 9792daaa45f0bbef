#pragma once
// The arithmetic of the skinned scroll bar: slider length and placement, the value under a pixel
// (rounded half to even), page steps, the range mirrored from a list's own scroll bar and where a
// linked bar is put over the list. No widgets: every function works on plain numbers.

#include <QRect>
#include <QtGlobal>

namespace vocafetch {

namespace ScrollMath {

// The shortest slider a list's thumb gives, in pixels.
constexpr int MinLineButton = 18;

// num / den rounded to the nearest integer, an exact half going to the even neighbour. den > 0.
qint64 RoundHalfEven(qint64 num, qint64 den);

// Offset of the slider along the track: (position - min) * (track - slider) div (max - min), 0
// when min = max.
int SliderOffset(int position, int min, int max, int trackLength, int sliderLength);
// Offset across the track that centres the slider, never below 0.
int SliderAcross(int trackThickness, int sliderThickness);
// The value whose slider would be centred on pixel p along the track, min added; 0 when the
// slider fills the track.
int ValueAtPixel(int p, int min, int max, int trackLength, int sliderLength);

// A thumb length taken from a list: at least MinLineButton.
int RaisedLineButton(int lineButton);
// Slider length: lineButton (raised to MinLineButton) when positive; otherwise pageSize percent of
// the track, a page size below 10 or above 100 counting as 10.
int SliderLength(int lineButton, int pageSize, int trackLength);

// One page step from position towards target: forward steps up to target at most, backward down
// to it at most.
int PageStepTowards(int position, int step, int target, bool forward);

// A list's scroll state as the platform reports it: the range nMin..nMax, the page size and the
// position, in the list's scroll units.
struct ScrollInfo
{
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
};

// The values a linked bar takes from it: Max is the last position a full page can start at.
struct MirroredRange
{
    int min = 0;
    int max = 0;
    int position = 0;
};
MirroredRange MirrorRange(const ScrollInfo &info);

// Where a linked bar goes, in the coordinates of the list's parent. bar is the bar's current
// geometry; otherBarVisible says whether the other linked bar is linked and shown, and
// otherBarThickness is its width (vertical) or height (horizontal).
QRect PlaceListViewHorizontalBar(const QRect &list, const QRect &bar, bool otherBarVisible,
                                 int otherBarThickness);
QRect PlaceListViewVerticalBar(const QRect &list, const QRect &bar, bool otherBarVisible,
                               int otherBarThickness);
QRect PlaceListBoxVerticalBar(const QRect &list, const QRect &bar);

} // namespace ScrollMath

} // namespace vocafetch
