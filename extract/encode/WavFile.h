#pragma once

#include <QByteArray>
#include <QString>

// WAV files of 16-bit mono PCM, as decoded recordings are saved. They are written by
// libsndfile (vocafetch::AudioEncoder); without tags the header is the plain 44-byte RIFF/WAVE
// one.

constexpr int WavHeaderSize = 44;
// The most sample bytes a WAV file's 32-bit RIFF sizes can describe.
constexpr qint64 WavMaxDataBytes = 0xFFFFFFFFLL - (WavHeaderSize - 8) - 1;

// Throws ExtractError when dataBytes of samples exceed what a WAV file can describe.
void checkWavDataBytes(qint64 dataBytes);

// Writes 16-bit little-endian mono samples at 8000 or 16000 Hz as a WAV file, replacing path
// atomically: a failed write leaves no partial file and an existing file intact. Throws
// ExtractError ("Cannot create file "PATH". REASON" when the write fails).
void writeWavFile(const QString &path, const QByteArray &samples, int sampleRate);

// Decodes the recording whose "#!AMR" is at data[start] up to end and writes it as a WAV file
// (8 kHz narrow band, 16 kHz wide band, first channel of a multichannel recording), atomically,
// without holding the samples in memory. Throws ExtractError as writeWavFile does, and for an
// unknown header (before the file is touched).
void writeAmrAsWav(const QString &path, const char *data, qint64 start, qint64 end);
