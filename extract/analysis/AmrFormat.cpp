#include "extract/analysis/AmrFormat.h"

#include <cstring>

namespace {

constexpr int ChannelFieldSize = 4;
constexpr int MaxChannels = 6;

struct Magic
{
    const char *text;
    AmrFormat format;
};

// No magic is a prefix of another, so the order does not matter.
constexpr Magic Magics[] = {
    {"#!AMR\n", AmrFormat::NarrowBand},
    {"#!AMR-WB\n", AmrFormat::WideBand},
    {"#!AMR_MC1.0\n", AmrFormat::MultiChannelNarrowBand},
    {"#!AMR-WB_MC1.0\n", AmrFormat::MultiChannelWideBand},
};

} // namespace

AmrHeader readAmrHeader(const char *data, qint64 start, qint64 limit)
{
    for (const Magic &magic : Magics) {
        const qint64 length = qint64(std::strlen(magic.text));
        if (limit - start < length || std::memcmp(data + start, magic.text, size_t(length)) != 0)
            continue;
        if (!isMultiChannel(magic.format))
            return {magic.format, int(length), 1};
        if (limit - start < length + ChannelFieldSize)
            return {};
        const int channels = quint8(data[start + length + ChannelFieldSize - 1]) & 0x0F;
        if (channels < 1 || channels > MaxChannels)
            return {};
        return {magic.format, int(length + ChannelFieldSize), channels};
    }
    return {};
}

bool isWideBand(AmrFormat format)
{
    return format == AmrFormat::WideBand || format == AmrFormat::MultiChannelWideBand;
}

bool isMultiChannel(AmrFormat format)
{
    return format == AmrFormat::MultiChannelNarrowBand || format == AmrFormat::MultiChannelWideBand;
}

int sampleRate(AmrFormat format)
{
    if (format == AmrFormat::Unknown)
        return 0;
    return isWideBand(format) ? 16000 : 8000;
}

int samplesPerFrame(AmrFormat format)
{
    return sampleRate(format) * AmrFrameMs / 1000;
}

QString amrFormatName(AmrFormat format)
{
    switch (format) {
    case AmrFormat::NarrowBand:
        return QStringLiteral("amr-nb");
    case AmrFormat::WideBand:
        return QStringLiteral("amr-wb");
    case AmrFormat::MultiChannelNarrowBand:
    case AmrFormat::MultiChannelWideBand:
        return QStringLiteral("multichannel");
    case AmrFormat::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}
