#include "extract/analysis/ByteStretches.h"

#include "extract/analysis/AmrFrameWalker.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
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

namespace {

// The chained headers of one band from its header mask, a header at a time.
quint64 chainedHeads(const char *data, quint64 heads, bool wideBand)
{
    const FrameSizeTable &sizes = frameSizeTable(wideBand);
    quint64 chained = 0;
    for (; heads != 0; heads &= heads - 1) {
        const int at = __builtin_ctzll(heads);
        const int next = at + sizes[quint8(data[at])];
        chained |= quint64(sizes[quint8(data[next])] != 0) << at;
    }
    return chained;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define VOCAFETCH_BYTE_PERMUTES 1

// Per frame type: bit 0 a narrow-band frame, bit 1 a wide-band one; the frame sizes.
struct alignas(64) TypeTables
{
    quint8 bands[64];
    quint8 narrowSizes[64];
    quint8 wideSizes[64];
    quint8 offsets[64];
};

TypeTables makeTypeTables()
{
    TypeTables tables{};
    for (int type = 0; type < 16; ++type) {
        tables.bands[type] = quint8((amrFrameSize(false, type) != 0 ? 1 : 0) |
                                    (amrFrameSize(true, type) != 0 ? 2 : 0));
        tables.narrowSizes[type] = quint8(amrFrameSize(false, type));
        tables.wideSizes[type] = quint8(amrFrameSize(true, type));
    }
    for (int i = 0; i < 64; ++i)
        tables.offsets[i] = quint8(i);
    return tables;
}

const TypeTables typeTables = makeTypeTables();

#define VOCAFETCH_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// Every lane of a 64-byte vector (the masked forms leave no lane undefined).
constexpr quint64 AllLanes = ~quint64(0);

VOCAFETCH_WIDE inline __m512i typesOf(__m512i bytes)
{
    return _mm512_and_si512(_mm512_srli_epi16(bytes, 3), _mm512_set1_epi8(0x0F));
}

// Which bytes are headers of the band (bit 1 narrow, 2 wide) given their types' band flags.
VOCAFETCH_WIDE inline quint64 bandHeaders(__m512i bytes, __m512i bands, int band)
{
    return _mm512_testn_epi8_mask(bytes, _mm512_set1_epi8(char(PaddingBits))) &
           _mm512_test_epi8_mask(bands, _mm512_set1_epi8(char(band)));
}

// The heads that a header of the band follows a frame's length on: a look-up of where each
// frame ends in the 128 bytes' header flags.
VOCAFETCH_WIDE inline quint64 chainedOf(quint64 heads, quint64 afterHeads, __m512i types,
                                        const quint8 *sizes)
{
    const __m512i next =
        _mm512_add_epi8(_mm512_load_si512(typeTables.offsets),
                        _mm512_maskz_permutexvar_epi8(AllLanes, types, _mm512_load_si512(sizes)));
    const __m512i found =
        _mm512_permutex2var_epi8(_mm512_movm_epi8(heads), next, _mm512_movm_epi8(afterHeads));
    return heads & _mm512_movepi8_mask(found);
}

VOCAFETCH_WIDE FrameHeaderMasks permutedMasks(const char *data, bool chained)
{
    FrameHeaderMasks masks;
    const __m512i bandTable = _mm512_load_si512(typeTables.bands);
    const __m512i bytes = _mm512_loadu_si512(data);
    const __m512i types = typesOf(bytes);
    const __m512i bands = _mm512_maskz_permutexvar_epi8(AllLanes, types, bandTable);
    masks.narrowBand = bandHeaders(bytes, bands, 1);
    masks.wideBand = bandHeaders(bytes, bands, 2);
    masks.zero = _mm512_test_epi8_mask(bytes, bytes) == 0;
    const quint64 first62 = (quint64(1) << 62) - 1;
    const __m512i on = _mm512_maskz_loadu_epi8(first62, data + 2);
    masks.periodTwo = (_mm512_cmpeq_epi8_mask(bytes, on) | ~first62) == ~quint64(0);
    if (!chained)
        return masks;
    const __m512i after = _mm512_loadu_si512(data + 64);
    const __m512i afterBands = _mm512_maskz_permutexvar_epi8(AllLanes, typesOf(after), bandTable);
    masks.narrowChained = chainedOf(masks.narrowBand, bandHeaders(after, afterBands, 1), types,
                                    typeTables.narrowSizes);
    masks.wideChained =
        chainedOf(masks.wideBand, bandHeaders(after, afterBands, 2), types, typeTables.wideSizes);
    return masks;
}

const bool hasBytePermutes =
    __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
#endif

} // namespace

FrameHeaderMasks frameHeaderMasks(const char *data, bool chained)
{
#ifdef VOCAFETCH_BYTE_PERMUTES
    if (hasBytePermutes)
        return permutedMasks(data, chained);
#endif
    return frameHeaderMasksSixteen(data, chained);
}

FrameHeaderMasks frameHeaderMasksSixteen(const char *data, bool chained)
{
    FrameHeaderMasks masks;
#ifdef __SSE2__
    // A header has no padding bit; narrow band has no frame types 12 ... 14, wide band none of
    // 10 ... 13. The type sits in bits 3 ... 6 once the padding bits are known clear.
    const __m128i padding = _mm_set1_epi8(char(PaddingBits));
    const __m128i typeBits = _mm_set1_epi8(0x78);
    const auto type = [](int t) { return _mm_set1_epi8(char(t << 3)); };
    const auto load = [data](int at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
    };
    __m128i any = _mm_setzero_si128();
    int repeats = 0xFFFF;
    for (int chunk = 0; chunk < 4; ++chunk) {
        const __m128i bytes = load(16 * chunk);
        any = _mm_or_si128(any, bytes);
        // The last comparison overlaps the one before: bytes 46 ... 61 with 48 ... 63.
        const int from = std::min(16 * chunk, 46);
        repeats &= _mm_movemask_epi8(_mm_cmpeq_epi8(load(from), load(from + 2)));
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
    masks.zero = _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
    masks.periodTwo = repeats == 0xFFFF;
#else
    masks.zero = masks.periodTwo = true;
    for (int i = 0; i < 64; ++i) {
        const quint8 byte = quint8(data[i]);
        masks.zero = masks.zero && byte == 0;
        masks.periodTwo = masks.periodTwo && (i >= 62 || data[i] == data[i + 2]);
        masks.narrowBand |= quint64(frameSizeTable(false)[byte] != 0) << i;
        masks.wideBand |= quint64(frameSizeTable(true)[byte] != 0) << i;
    }
#endif
    if (chained) {
        masks.narrowChained = chainedHeads(data, masks.narrowBand, false);
        masks.wideChained = chainedHeads(data, masks.wideBand, true);
    }
    return masks;
}

} // namespace vocafetch
