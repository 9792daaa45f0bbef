#pragma once

#include <QByteArray>
#include <QString>

// WAV files of 16-bit mono PCM, as decoded recordings are saved.

constexpr int WavHeaderSize = 44;
// The most sample bytes a WAV file's 32-bit RIFF sizes can describe.
constexpr qint64 WavMaxDataBytes = 0xFFFFFFFFLL - (WavHeaderSize - 8) - 1;

// The 44-byte RIFF/WAVE header of a 16-bit mono PCM file with dataBytes of samples.
QByteArray wavHeader(int sampleRate, quint32 dataBytes);

// Writes 16-bit little-endian mono samples as a WAV file, replacing path atomically: a failed
// write leaves no partial file and an existing file intact.
bool writeWavFile(const QString &path, const QByteArray &samples, int sampleRate, QString *error);

// Decodes the recording whose "#!AMR" is at data[start] up to end and writes it as a WAV file
// (8 kHz narrow band, 16 kHz wide band, first channel of a multichannel recording), atomically,
// without holding the samples in memory.
bool writeAmrAsWav(const QString &path, const char *data, qint64 start, qint64 end, QString *error);
