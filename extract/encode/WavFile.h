#pragma once

#include <QtGlobal>

// WAV files of 16-bit mono PCM, as decoded recordings are saved. They are written by
// libsndfile (vocafetch::AudioEncoder); without tags the header is the plain 44-byte RIFF/WAVE
// one.

constexpr int WavHeaderSize = 44;
// The most sample bytes a WAV file's 32-bit RIFF sizes can describe.
constexpr qint64 WavMaxDataBytes = 0xFFFFFFFFLL - (WavHeaderSize - 8) - 1;

// Throws ExtractError when dataBytes of samples exceed what a WAV file can describe.
void checkWavDataBytes(qint64 dataBytes);
