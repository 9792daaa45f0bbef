#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vocafetch {

// The formats a recording can be saved in, each described once: the command line's --format,
// its help, the window's save dialog, the file names and the encoder all read this table.

enum class OutputFormat
{
    Amr, // the recording's own bytes, nothing decoded
    Wav,
    Flac,
    Opus,
    Mp3
};

struct OutputFormatInfo
{
    OutputFormat format;
    QLatin1String name;      // what --format takes: "mp3"
    QLatin1String label;     // the save dialog's name for it: "MP3"
    QLatin1String extension; // without the dot: "mp3"
    int codec;               // libsndfile's major format and subtype; 0 for Amr (no encoder)
};

// Every format, AMR first, in the order the save dialog offers them.
const std::vector<OutputFormatInfo> &outputFormats();
const OutputFormatInfo &formatInfo(OutputFormat format);
// The format named (letter case does not matter), nothing for any other name.
std::optional<OutputFormat> outputFormatNamed(const QString &name);
// "amr", "wav", ...: for help texts and error messages.
QStringList outputFormatNames();
// The save dialog's filters, one per format: "AMR (*.amr)", ...; the dialog's choice is the
// format at the same index.
QStringList outputFormatFilters();

// How a recording is saved: its bytes as AMR (whole, or cut clean to its audio), or its audio
// decoded and encoded in another format.
struct OutputKind
{
    OutputFormat format = OutputFormat::Amr;
    // AMR only: the canonical header and the whole frames, without the container's bytes after.
    bool clean = false;

    static OutputKind whole() { return {OutputFormat::Amr, false}; }
    static OutputKind cleanCut() { return {OutputFormat::Amr, true}; }
    static OutputKind decoded(OutputFormat format) { return {format, false}; }
    // The kind of a format name (--format), clean applying to AMR only.
    static std::optional<OutputKind> named(const QString &name, bool clean);

    bool isDecoded() const { return format != OutputFormat::Amr; }
    bool isWhole() const { return format == OutputFormat::Amr && !clean; }
    const OutputFormatInfo &info() const { return formatInfo(format); }
    bool operator==(const OutputKind &other) const
    {
        return format == other.format && clean == other.clean;
    }
    bool operator!=(const OutputKind &other) const { return !(*this == other); }
};

} // namespace vocafetch
