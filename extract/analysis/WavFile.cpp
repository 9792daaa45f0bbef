#include "extract/analysis/WavFile.h"

#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/AmrFrameWalker.h"

#include <QSaveFile>
#include <QtEndian>

#include <vector>

namespace {

constexpr quint16 PcmFormat = 1;
constexpr quint16 BitsPerSample = 16;
constexpr quint16 BlockAlign = BitsPerSample / 8;

void appendLe32(QByteArray &bytes, quint32 value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

void appendLe16(QByteArray &bytes, quint16 value)
{
    char le[2];
    qToLittleEndian(value, le);
    bytes.append(le, 2);
}

QString createMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString tooLongMessage()
{
    return QStringLiteral("The recording is too long for a WAV file");
}

bool commit(QSaveFile &file, const QString &path, QString *error)
{
    // Buffered bytes the disk refuses only fail at the flush; commit() alone would keep the
    // short file.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error, createMessage(path, reason));
    }
    if (!file.commit())
        return fail(error, createMessage(path, file.errorString()));
    return true;
}

} // namespace

QByteArray wavHeader(int sampleRate, quint32 dataBytes)
{
    QByteArray header;
    header.reserve(WavHeaderSize);
    header.append("RIFF", 4);
    appendLe32(header, dataBytes + (WavHeaderSize - 8));
    header.append("WAVEfmt ", 8);
    appendLe32(header, 16);
    appendLe16(header, PcmFormat);
    appendLe16(header, 1); // mono
    appendLe32(header, quint32(sampleRate));
    appendLe32(header, quint32(sampleRate) * BlockAlign);
    appendLe16(header, BlockAlign);
    appendLe16(header, BitsPerSample);
    header.append("data", 4);
    appendLe32(header, dataBytes);
    return header;
}

bool writeWavFile(const QString &path, const QByteArray &samples, int sampleRate, QString *error)
{
    if (samples.size() > WavMaxDataBytes)
        return fail(error, tooLongMessage());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, createMessage(path, file.errorString()));
    file.write(wavHeader(sampleRate, quint32(samples.size())));
    file.write(samples);
    return commit(file, path, error);
}

bool writeAmrAsWav(const QString &path, const char *data, qint64 start, qint64 end, QString *error)
{
    const FrameWalk walk = walkAmrFrames(data, start, end);
    if (walk.header.format == AmrFormat::Unknown)
        return fail(error, QStringLiteral("The recording does not start with a known AMR header"));
    const qint64 dataBytes = walk.frames * samplesPerFrame(walk.header.format) * BlockAlign;
    if (dataBytes > WavMaxDataBytes)
        return fail(error, tooLongMessage());

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, createMessage(path, file.errorString()));
    file.write(wavHeader(sampleRate(walk.header.format), quint32(dataBytes)));
    std::vector<char> le;
    const bool decoded = decodeAmr(
        data, start, end,
        [&](const qint16 *samples, int count) {
            le.resize(size_t(count) * BlockAlign);
            qToLittleEndian<qint16>(samples, count, le.data());
            return file.write(le.data(), qint64(le.size())) == qint64(le.size());
        },
        error);
    if (!decoded) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(error, createMessage(path, reason));
    }
    return commit(file, path, error);
}
