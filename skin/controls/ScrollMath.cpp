#include "skin/controls/ScrollMath.h"

#include <algorithm>
#include <limits>

namespace vocafetch {

namespace ScrollMath {

qint64 RoundHalfEven(qint64 num, qint64 den)
{
    Q_ASSERT(den > 0);
    qint64 q = num / den;
    qint64 r = num % den;
    if (r < 0) { // floor division
        r += den;
        --q;
    }
    const qint64 twice = 2 * r;
    if (twice > den || (twice == den && (q % 2) != 0))
        ++q;
    return q;
}

int SliderOffset(int position, int min, int max, int trackLength, int sliderLength)
{
    if (min == max)
        return 0;
    return int((qint64(position) - min) * (trackLength - sliderLength) / (qint64(max) - min));
}

int SliderAcross(int trackThickness, int sliderThickness)
{
    return std::max(0, (trackThickness - sliderThickness) / 2);
}

int ValueAtPixel(int p, int min, int max, int trackLength, int sliderLength)
{
    const int room = trackLength - sliderLength;
    if (room <= 0)
        return 0;
    const qint64 num = (qint64(p) - sliderLength / 2) * (qint64(max) - min);
    // A mouse far outside a wide range must not wrap around: the caller clamps the result.
    const qint64 value = RoundHalfEven(num, room) + min;
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

int RaisedLineButton(int lineButton)
{
    return std::max(lineButton, MinLineButton);
}

int SliderLength(int lineButton, int pageSize, int trackLength)
{
    if (lineButton > 0)
        return RaisedLineButton(lineButton);
    const int page = (pageSize < 10 || pageSize > 100) ? 10 : pageSize;
    return int(qint64(page) * trackLength / 100);
}

int PageStepTowards(int position, int step, int target, bool forward)
{
    const qint64 stepped = forward ? qint64(position) + step : qint64(position) - step;
    return int(forward ? std::min<qint64>(stepped, target) : std::max<qint64>(stepped, target));
}

MirroredRange MirrorRange(const ScrollInfo &info)
{
    return MirroredRange{info.nMin, info.nMax - info.nPage + 1, info.nPos};
}

QRect PlaceListViewHorizontalBar(const QRect &list, const QRect &bar, bool otherBarVisible,
                                 int otherBarThickness)
{
    QRect placed = bar;
    if (list.height() < bar.height()) {
        placed.moveTop(list.top());
        return placed;
    }
    int width = list.width() - 2;
    if (otherBarVisible)
        width -= otherBarThickness;
    return QRect(list.left() + 1, list.top() + list.height() - bar.height() - 2, width,
                 bar.height());
}

QRect PlaceListViewVerticalBar(const QRect &list, const QRect &bar, bool otherBarVisible,
                               int otherBarThickness)
{
    QRect placed = bar;
    if (list.width() < bar.width()) {
        placed.moveLeft(list.left());
        return placed;
    }
    int height = list.height() - 2;
    if (otherBarVisible)
        height -= otherBarThickness;
    return QRect(list.left() + list.width() - bar.width() - 2, list.top() + 1, bar.width(), height);
}

QRect PlaceListBoxVerticalBar(const QRect &list, const QRect &bar)
{
    const int left =
        list.width() < bar.width() ? list.left() : list.left() + list.width() - bar.width() - 2;
    return QRect(left, list.top() + 1, bar.width(), list.height() - 2);
}

} // namespace ScrollMath

} // namespace vocafetch
