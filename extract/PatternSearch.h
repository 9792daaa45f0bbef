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

// The data bytes that can begin a match of a pattern starting with first under table: how
// many, and one of them. Worked out once for a search that calls find many times (a container
// holds millions of signatures).
struct FirstBytes
{
    int count = 0;
    unsigned char byte = 0;
};
FirstBytes firstBytes(unsigned char first, const Table &table);

// find with the first bytes given (as firstBytes(pattern[0], table) gives them).
qint64 find(const unsigned char *data, qint64 start, qint64 end, const unsigned char *pattern,
            qint32 count, const Table &table, FirstBytes first);

} // namespace PatternSearch

} // namespace vocafetch
