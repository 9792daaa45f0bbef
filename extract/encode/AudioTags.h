#pragma once

#include "extract/encode/OutputFormat.h"

#include <QString>

#include <optional>

namespace vocafetch {

// The tags of a saved recording, written into the encoded file by TagLib in each format's own
// way: ID3v2.4 in UTF-8 for MP3, Vorbis comments for FLAC and Opus, RIFF INFO and an ID3v2 chunk
// for WAV, so that players show Cyrillic text as it was written.

struct AudioTags
{
    QString title;              // the message part's name, else "Запись_k"
    QString artist;             // the sender
    QString album;              // the subject, else the container's file name
    QString comment;            // the message's text
    std::optional<qint64> date; // seconds since 1970-01-01 00:00 UTC, shown in local time
    int track = 0;              // the recording's number; 0 for none

    bool isEmpty() const
    {
        return title.isEmpty() && artist.isEmpty() && album.isEmpty() && comment.isEmpty() &&
               !date && track <= 0;
    }
};

// Writes tags into the complete encoded file open at fd (for reading and writing), in place:
// TagLib reads the file's structure and moves the audio only where a tag grows in front of it.
// Nothing is held in memory but a buffer. Throws ExtractError with the system's reason when a
// read or write fails, or when the file is not the format TagLib expects.
void writeAudioTags(int fd, OutputFormat format, const AudioTags &tags);

} // namespace vocafetch
