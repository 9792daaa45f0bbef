#include "extract/analysis/ByteStretches.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vocafetch {

namespace {

// No frame header of either band has a padding bit set.
constexpr quint8 PaddingBits = 0x83;

} // namespace

qint64 periodTwoEnd(const char *data, qint64 pos, qint64 limit)
{
    qint64 i = pos;
#ifdef __SSE2__
    while (limit - i >= 2 + 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i on = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 2));
        const int same = _mm_movemask_epi8(_mm_cmpeq_epi8(here, on));
        if (same != 0xFFFF)
            return i + __builtin_ctz(unsigned(~same)) + 2;
        i += 16;
    }
#endif
    while (limit - i > 2 && data[i] == data[i + 2])
        ++i;
    return qMin(i + 2, limit);
}

qint64 nextFrameHeader(const char *data, qint64 pos, qint64 end)
{
#ifdef __SSE2__
    const __m128i padding = _mm_set1_epi8(char(PaddingBits));
    const __m128i zero = _mm_setzero_si128();
    while (end - pos >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(bytes, padding), zero));
        if (mask != 0)
            return pos + __builtin_ctz(unsigned(mask));
        pos += 16;
    }
#endif
    while (pos < end && (quint8(data[pos]) & PaddingBits) != 0)
        ++pos;
    return pos;
}

} // namespace vocafetch
