#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vocafetch {

// The AMR storage formats a recording can be in, their headers and their frame sizes.

enum class AmrFormat
{
    Unknown,
    NarrowBand,             // "#!AMR\n"
    WideBand,               // "#!AMR-WB\n"
    MultiChannelNarrowBand, // "#!AMR_MC1.0\n" + 4-byte channel field
    MultiChannelWideBand,   // "#!AMR-WB_MC1.0\n" + 4-byte channel field
};

// What the header at a recording's start says.
struct AmrHeader
{
    AmrFormat format = AmrFormat::Unknown;
    int size = 0;     // bytes of the header, channel field included; 0 when unknown
    int channels = 0; // 1 for the single-channel formats, 1 ... 6 for multichannel
    // False when the stored header spells its letters in another case ("#!amr\n"): players
    // want the canonical bytes, so a clean cut writes those instead.
    bool exactCase = true;
};

// Recognises the storage header at data[start], reading no byte at or past limit. The letters
// may be in any case, as the recording scan finds "#!AMR" in any case; a multichannel header
// also needs a channel count of 1 ... 6 in the low 4 bits of its big-endian channel field (the
// reserved bits are ignored).
AmrHeader readAmrHeader(const char *data, qint64 start, qint64 limit);

// The canonical storage header of a recognised format: "#!AMR\n", "#!AMR-WB\n", or the
// multichannel magic followed by a big-endian channel field holding header.channels with the
// reserved bits zero. Empty for AmrFormat::Unknown.
QByteArray canonicalAmrHeader(const AmrHeader &header);

bool isWideBand(AmrFormat format);
bool isMultiChannel(AmrFormat format);
// 8000 for narrow band, 16000 for wide band, 0 for Unknown.
int sampleRate(AmrFormat format);
// Samples one 20 ms frame decodes to: 160 (narrow band), 320 (wide band), 0 (Unknown).
int samplesPerFrame(AmrFormat format);

constexpr int AmrFrameMs = 20;
constexpr int AmrMaxFrameSize = 61; // the largest frame, wide band 23.85 kbit/s

// The frame header byte: P | FT (4 bits) | Q | P P, padding bits zero.
struct AmrFrameHeader
{
    bool valid = false; // padding bits zero
    int frameType = 0;
    bool good = false; // Q: false marks a damaged frame
};

inline AmrFrameHeader parseFrameHeader(quint8 byte)
{
    return {(byte & 0x83) == 0, (byte >> 3) & 0x0F, (byte & 0x04) != 0};
}

// Frame sizes in bytes, header byte included: speech bits rounded up to whole bytes, plus one.
// Narrow band: 4.75 ... 12.2 kbit/s (95, 103, 118, 134, 148, 159, 204, 244 bits), AMR SID
// (39 bits), GSM-EFR SID (43), TDMA-EFR SID (38), PDC-EFR SID (37), 12 ... 14 unused, NO_DATA.
inline constexpr int NarrowBandFrameSizes[16] = {13, 14, 16, 18, 20, 21, 27, 32,
                                                 6,  7,  6,  6,  0,  0,  0,  1};
// Wide band: 6.60 ... 23.85 kbit/s (132, 177, 253, 285, 317, 365, 397, 461, 477 bits), SID
// (40 bits), 10 ... 13 unused, SPEECH_LOST, NO_DATA.
inline constexpr int WideBandFrameSizes[16] = {18, 24, 33, 37, 41, 47, 51, 59,
                                               61, 6,  0,  0,  0,  0,  1,  1};

// Bytes of a frame of type frameType, header byte included, or 0 for a type that cannot occur
// (narrow band 12 ... 14, wide band 10 ... 13).
constexpr int amrFrameSize(bool wideBand, int frameType)
{
    if (frameType < 0 || frameType > 15)
        return 0;
    return wideBand ? WideBandFrameSizes[frameType] : NarrowBandFrameSizes[frameType];
}

// Narrow-band frame types 9 ... 11 are comfort-noise frames of other codecs (GSM-EFR, TDMA-EFR,
// PDC-EFR): legal, but not expected in a phone's recording.
inline bool isForeignSid(bool wideBand, int frameType)
{
    return !wideBand && frameType >= 9 && frameType <= 11;
}

// "amr-nb", "amr-wb", "multichannel" or "unknown".
QString amrFormatName(AmrFormat format);

} // namespace vocafetch
