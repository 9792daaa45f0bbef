#pragma once

#include <QtGlobal>

namespace vocafetch {

// WAV files of 16-bit mono PCM, as decoded recordings are saved. They are written by
// libsndfile (vocafetch::AudioEncoder) with the plain 44-byte RIFF/WAVE header; their tags follow
// the samples (a LIST INFO chunk and an id3 chunk).

constexpr int WavHeaderSize = 44;
// Room the tags' chunks may take after the samples.
constexpr qint64 WavTagAllowance = qint64(1) << 20;
// The most sample bytes a WAV file's 32-bit RIFF sizes can describe, its tags included.
constexpr qint64 WavMaxDataBytes = 0xFFFFFFFFLL - (WavHeaderSize - 8) - 1 - WavTagAllowance;

// Throws ExtractError when dataBytes of samples exceed what a WAV file can describe.
void checkWavDataBytes(qint64 dataBytes);

} // namespace vocafetch
