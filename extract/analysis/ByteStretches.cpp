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

FrameHeaderMasks frameHeaderMasks(const char *data)
{
    FrameHeaderMasks masks;
#ifdef __SSE2__
    // A header has no padding bit; narrow band has no frame types 12 ... 14, wide band none of
    // 10 ... 13. The type sits in bits 3 ... 6 once the padding bits are known clear.
    const __m128i padding = _mm_set1_epi8(char(PaddingBits));
    const __m128i typeBits = _mm_set1_epi8(0x78);
    const auto type = [](int t) { return _mm_set1_epi8(char(t << 3)); };
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16 * chunk));
        const __m128i header = _mm_cmpeq_epi8(_mm_and_si128(bytes, padding), _mm_setzero_si128());
        const __m128i t = _mm_and_si128(bytes, typeBits);
        const __m128i unused1213 =
            _mm_or_si128(_mm_cmpeq_epi8(t, type(12)), _mm_cmpeq_epi8(t, type(13)));
        const __m128i narrowUnused = _mm_or_si128(unused1213, _mm_cmpeq_epi8(t, type(14)));
        const __m128i wideUnused = _mm_or_si128(
            unused1213, _mm_or_si128(_mm_cmpeq_epi8(t, type(10)), _mm_cmpeq_epi8(t, type(11))));
        masks.narrowBand |=
            quint64(quint16(_mm_movemask_epi8(_mm_andnot_si128(narrowUnused, header))))
            << (16 * chunk);
        masks.wideBand |= quint64(quint16(_mm_movemask_epi8(_mm_andnot_si128(wideUnused, header))))
                          << (16 * chunk);
    }
#else
    for (int i = 0; i < 64; ++i) {
        const quint8 byte = quint8(data[i]);
        const int t = byte >> 3;
        if ((byte & PaddingBits) != 0)
            continue;
        masks.narrowBand |= quint64(t < 12 || t > 14) << i;
        masks.wideBand |= quint64(t < 10 || t > 13) << i;
    }
#endif
    return masks;
}

} // namespace vocafetch
