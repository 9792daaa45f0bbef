#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The file formats decoded recordings can be saved in.
namespace vocafetch {

enum class AudioFormat
{
    Wav,
    Flac,
    Opus,
    Mp3
};

// The file name extension without its dot: "wav", "flac", "opus", "mp3". It is also the name
// the format is chosen by.
QString audioFormatExtension(AudioFormat format);

// Every format's name, in the order of the enumeration (for help texts and error messages).
QStringList audioFormatNames();

// The format of a name ("wav", "FLAC", "Opus", "mp3"; letter case does not matter), nothing for
// any other name.
std::optional<AudioFormat> audioFormatFromName(const QString &name);

} // namespace vocafetch
