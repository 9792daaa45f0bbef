#pragma once

#include "extract/analysis/AmrDecoder.h"
#include "extract/encode/AudioEncoder.h"

#include <QIODevice>
#include <QString>

#include <functional>

// Decoded recordings saved as audio files people can play anywhere.
namespace vocafetch {

// Encodes onto out, at rate, the samples decode hands its sink (a decode returning false with
// a message fails the encode): the common part of every decoded save.
void encodeDecoded(QIODevice &out, AudioFormat format, int rate, const AudioTags &tags,
                   const std::function<bool(const PcmSink &, QString *)> &decode);

// Decodes the recording whose "#!AMR" is at data[start], frame by frame up to end (its clean
// end), and encodes it onto out: 8 kHz narrow band, 16 kHz wide band, the first channel of a
// multichannel recording. Streams: never holds more than one frame of samples. Throws
// ExtractError for an unknown header, a recording too long for a WAV file, and as
// AudioEncoder does.
void encodeAmrRecording(QIODevice &out, AudioFormat format, const char *data, qint64 start,
                        qint64 end, const AudioTags &tags);

// encodeAmrRecording into the file at path, replacing it atomically: when anything fails no
// partial file is left and an existing file stays intact. An unknown header or a recording too
// long for WAV is refused before the file is touched; failures of the write itself are
// "Cannot create file "PATH". REASON".
void saveAmrRecording(const QString &path, AudioFormat format, const char *data, qint64 start,
                      qint64 end, const AudioTags &tags);

} // namespace vocafetch
