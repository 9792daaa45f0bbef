#pragma once

#include "extract/ExtractError.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "extract/encode/RecordingEncoding.h"

namespace vocafetch {

// A stand-alone recording (a whole .amr file's bytes) decoded and encoded as the save of one
// recording decodes it: analysed first, then decoded from its header.
inline PcmAudio decodeWhole(const char *data, qint64 size)
{
    return vocafetch::decodeRecordingToPcm(data, analyseRecording(data, 0, size));
}

inline void encodeWhole(QIODevice &out, vocafetch::OutputFormat format, const char *data,
                        qint64 size)
{
    const RecordingAnalysis recording = analyseRecording(data, 0, size);
    if (!recording.recognised())
        throw ExtractError(QStringLiteral("unknown header"), vocafetch::ErrorKind::Undecodable);
    vocafetch::encodeDecoded(out, format, sampleRate(recording.format()),
                             [&](const PcmSink &sink, QString *error) {
                                 return vocafetch::decodeRecording(data, recording, sink, error);
                             });
}

} // namespace vocafetch
