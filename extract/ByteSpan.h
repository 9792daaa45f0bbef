#pragma once

#include <QtGlobal>

namespace vocafetch {

// A byte range [begin, end) of a container or a file: a recording's bytes, its frames, a
// stretch searched.
struct ByteSpan
{
    qint64 begin = 0;
    qint64 end = 0;
    qint64 size() const { return end - begin; }
    bool isEmpty() const { return end <= begin; }
};

} // namespace vocafetch
