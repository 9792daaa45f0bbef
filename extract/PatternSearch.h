#pragma once

#include <QtGlobal>

#include <array>

namespace vocafetch {

// The byte-pattern search shared by the buffer and the file scan.
namespace PatternSearch {

using Table = std::array<unsigned char, 256>;

// Entry i = i.
const Table &identityTable();

// The first s in start ... end - count + 1 (end included in the data searched) with
// table[data[s + k]] == pattern[k] for every k < count, or -1. Reads nothing outside
// data[start ... end]. Gives exactly the byte-by-byte scan's result, skipping with memchr when
// a single byte value can begin a match.
qint64 find(const unsigned char *data, qint64 start, qint64 end, const unsigned char *pattern,
            qint32 count, const Table &table);

} // namespace PatternSearch

} // namespace vocafetch
