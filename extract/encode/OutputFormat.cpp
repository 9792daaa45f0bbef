#include "extract/encode/OutputFormat.h"

#include <sndfile.h>

namespace vocafetch {

const std::vector<OutputFormatInfo> &outputFormats()
{
    static const std::vector<OutputFormatInfo> table = {
        {OutputFormat::Amr, QLatin1String("amr"), QLatin1String("AMR"), QLatin1String("amr"), 0},
        {OutputFormat::Wav, QLatin1String("wav"), QLatin1String("WAV"), QLatin1String("wav"),
         SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {OutputFormat::Flac, QLatin1String("flac"), QLatin1String("FLAC"), QLatin1String("flac"),
         SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {OutputFormat::Opus, QLatin1String("opus"), QLatin1String("Opus"), QLatin1String("opus"),
         SF_FORMAT_OGG | SF_FORMAT_OPUS},
        {OutputFormat::Mp3, QLatin1String("mp3"), QLatin1String("MP3"), QLatin1String("mp3"),
         SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    return table;
}

const OutputFormatInfo &formatInfo(OutputFormat format)
{
    for (const OutputFormatInfo &info : outputFormats())
        if (info.format == format)
            return info;
    return outputFormats().front();
}

std::optional<OutputFormat> outputFormatNamed(const QString &name)
{
    for (const OutputFormatInfo &info : outputFormats())
        if (name.compare(info.name, Qt::CaseInsensitive) == 0)
            return info.format;
    return std::nullopt;
}

QStringList outputFormatNames()
{
    QStringList names;
    for (const OutputFormatInfo &info : outputFormats())
        names << info.name;
    return names;
}

QStringList outputFormatFilters()
{
    QStringList filters;
    for (const OutputFormatInfo &info : outputFormats())
        filters << QStringLiteral("%1 (*.%2)").arg(info.label, info.extension);
    return filters;
}

std::optional<OutputKind> OutputKind::named(const QString &name, bool clean)
{
    const std::optional<OutputFormat> format = outputFormatNamed(name);
    if (!format)
        return std::nullopt;
    return OutputKind{*format, clean && *format == OutputFormat::Amr};
}

} // namespace vocafetch
