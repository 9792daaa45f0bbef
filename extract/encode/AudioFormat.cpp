#include "extract/encode/AudioFormat.h"

#include <array>

namespace vocafetch {

namespace {

constexpr std::array<AudioFormat, 4> AllFormats = {AudioFormat::Wav, AudioFormat::Flac,
                                                   AudioFormat::Opus, AudioFormat::Mp3};

} // namespace

QString audioFormatExtension(AudioFormat format)
{
    switch (format) {
    case AudioFormat::Wav:
        return QStringLiteral("wav");
    case AudioFormat::Flac:
        return QStringLiteral("flac");
    case AudioFormat::Opus:
        return QStringLiteral("opus");
    case AudioFormat::Mp3:
        return QStringLiteral("mp3");
    }
    return QString();
}

QStringList audioFormatNames()
{
    QStringList names;
    for (AudioFormat format : AllFormats)
        names << audioFormatExtension(format);
    return names;
}

std::optional<AudioFormat> audioFormatFromName(const QString &name)
{
    for (AudioFormat format : AllFormats) {
        if (name.compare(audioFormatExtension(format), Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

} // namespace vocafetch
