#include "extract/analysis/AmrFormat.h"

#include <QtEndian>

#include <cstring>

namespace vocafetch {

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

// Compares length bytes with an upper-case magic, ASCII letters in any case; exact tells whether
// they matched letter for letter.
bool matchesMagic(const char *bytes, const char *magic, qint64 length, bool &exact)
{
    exact = std::memcmp(bytes, magic, size_t(length)) == 0;
    if (exact)
        return true;
    for (qint64 i = 0; i < length; ++i) {
        const char byte = bytes[i];
        const char upper = byte >= 'a' && byte <= 'z' ? char(byte - 'a' + 'A') : byte;
        if (upper != magic[i])
            return false;
    }
    return true;
}

const Magic *magicOf(AmrFormat format)
{
    for (const Magic &magic : Magics)
        if (magic.format == format)
            return &magic;
    return nullptr;
}

} // namespace

AmrHeader readAmrHeader(const char *data, qint64 start, qint64 limit)
{
    for (const Magic &magic : Magics) {
        const qint64 length = qint64(std::strlen(magic.text));
        bool exact = true;
        if (limit - start < length || !matchesMagic(data + start, magic.text, length, exact))
            continue;
        if (!isMultiChannel(magic.format))
            return {magic.format, int(length), 1, exact};
        if (limit - start < length + ChannelFieldSize)
            return {};
        const int channels = quint8(data[start + length + ChannelFieldSize - 1]) & 0x0F;
        if (channels < 1 || channels > MaxChannels)
            return {};
        return {magic.format, int(length + ChannelFieldSize), channels, exact};
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

QByteArray canonicalAmrHeader(const AmrHeader &header)
{
    const Magic *magic = magicOf(header.format);
    if (magic == nullptr)
        return {};
    QByteArray bytes(magic->text);
    if (isMultiChannel(header.format)) {
        char field[ChannelFieldSize];
        qToBigEndian(quint32(header.channels & 0x0F), field);
        bytes.append(field, ChannelFieldSize);
    }
    return bytes;
}

} // namespace vocafetch
