#include "extract/PatternSearch.h"

#include <cstring>

namespace vocafetch {

namespace PatternSearch {

namespace {

Table buildIdentityTable()
{
    Table table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    return table;
}

bool restMatches(const unsigned char *at, const unsigned char *pattern, qint32 count,
                 const Table &table)
{
    for (qint32 k = 1; k < count; ++k) {
        if (table[at[k]] != pattern[k])
            return false;
    }
    return true;
}

} // namespace

const Table &identityTable()
{
    static const Table table = buildIdentityTable();
    return table;
}

FirstBytes firstBytes(unsigned char first, const Table &table)
{
    FirstBytes bytes;
    for (int b = 0; b < 256; ++b) {
        if (table[b] == first) {
            ++bytes.count;
            bytes.byte = static_cast<unsigned char>(b);
        }
    }
    return bytes;
}

qint64 find(const unsigned char *data, qint64 start, qint64 end, const unsigned char *pattern,
            qint32 count, const Table &table)
{
    if (count < 1)
        return -1;
    return find(data, start, end, pattern, count, table, firstBytes(pattern[0], table));
}

qint64 find(const unsigned char *data, qint64 start, qint64 end, const unsigned char *pattern,
            qint32 count, const Table &table, FirstBytes first)
{
    if (count < 1 || start < 0 || start + count > end + 1 || first.count == 0)
        return -1;
    const qint64 lastCandidate = end - count + 1;

    // With a single byte that can begin a match, memchr does the skipping.
    if (first.count == 1) {
        for (qint64 pos = start; pos <= lastCandidate;) {
            const void *hit = std::memchr(data + pos, first.byte, size_t(lastCandidate - pos) + 1);
            if (hit == nullptr)
                return -1;
            const qint64 s = static_cast<const unsigned char *>(hit) - data;
            if (restMatches(data + s, pattern, count, table))
                return s;
            pos = s + 1;
        }
        return -1;
    }
    for (qint64 s = start; s <= lastCandidate; ++s) {
        if (table[data[s]] == pattern[0] && restMatches(data + s, pattern, count, table))
            return s;
    }
    return -1;
}

} // namespace PatternSearch

} // namespace vocafetch
