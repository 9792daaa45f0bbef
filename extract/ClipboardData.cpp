#include "extract/ClipboardData.h"

#include <QFileInfo>
#include <QtEndian>

#include <cstring>
#include <utility>

namespace vocafetch {

namespace {

constexpr char PrivateMagic[4] = {'B', 'B', 'C', 'F'};
constexpr quint32 PrivateVersion = 0x00010001;
constexpr int PrivateHeaderSize = 12;

constexpr int FileGroupDescriptorSize = 336;
constexpr int FileDescriptorNameOffset = 76;
constexpr int FileDescriptorNameCapacity = 260;
constexpr int FileDescriptorNameMaxBytes = 255;
constexpr quint32 FlagsSizeAndWriteTime = 0x60;
// Milliseconds from 1601-01-01 (the Windows file-time epoch) to 1970-01-01.
constexpr qint64 FileTimeEpochOffsetMs = 11644473600000LL;

void putLE32(QByteArray &block, int offset, quint32 value)
{
    qToLittleEndian(value, block.data() + offset);
}

// Encodes name in the local 8-bit encoding, keeping whole characters, at most maxBytes bytes.
QByteArray encodeCut(const QString &name, int maxBytes)
{
    QByteArray out;
    for (int i = 0; i < name.size();) {
        const int len = (name.at(i).isHighSurrogate() && i + 1 < name.size()) ? 2 : 1;
        const QByteArray piece = name.mid(i, len).toLocal8Bit();
        if (out.size() + piece.size() > maxBytes)
            break;
        out += piece;
        i += len;
    }
    return out;
}

struct MimeName
{
    const char *format;
    const char *mime;
};

// Standard formats with a MIME type of their own.
constexpr MimeName StandardMimeTypes[] = {
    {"CF_TEXT", "text/plain"},     {"CF_UNICODETEXT", "text/plain;charset=utf-16"},
    {"CF_HDROP", "text/uri-list"}, {"Rich Text Format", "text/rtf"},
    {"HTML Format", "text/html"},  {"CF_DIB", "image/bmp"},
    {"CF_TIFF", "image/tiff"},     {"CF_WAVE", "audio/wav"},
};

QString registeredFormatMimeType(const QString &format)
{
#ifdef Q_OS_WIN
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(format);
#else
    return QStringLiteral("application/x-vocafetch-") +
           format.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
#endif
}

QStringList knownFormats()
{
    QStringList all = ClipboardFormat::pastePriority();
    all << ClipboardFormat::FileGroupDescriptor << ClipboardFormat::FileContents;
    return all;
}

} // namespace

QStringList ClipboardFormat::pastePriority()
{
    return {Private,
            FileDrop,
            Text,
            QStringLiteral("Rich Text Format"),
            UnicodeText,
            QStringLiteral("CF_BITMAP"),
            QStringLiteral("CF_PALETTE"),
            QStringLiteral("CF_METAFILEPICT"),
            QStringLiteral("CF_TIFF"),
            OemText,
            QStringLiteral("CF_DIB"),
            QStringLiteral("CF_RIFF"),
            QStringLiteral("CF_WAVE"),
            QStringLiteral("CF_ENHMETAFILE"),
            QStringLiteral("CF_LOCALE"),
            QStringLiteral("RegEdit_HexData"),
            QStringLiteral("HTML Format")};
}

QString clipboardMimeType(const QString &format)
{
    for (const MimeName &entry : StandardMimeTypes) {
        if (format == QLatin1String(entry.format))
            return QLatin1String(entry.mime);
    }
    return registeredFormatMimeType(format);
}

QString clipboardFormatForMimeType(const QString &mimeType)
{
    for (const QString &format : knownFormats()) {
        if (clipboardMimeType(format) == mimeType)
            return format;
    }
    return {};
}

QByteArray makePrivateClipboardBlock(const QByteArray &bytes)
{
    QByteArray block(PrivateHeaderSize + bytes.size(), Qt::Uninitialized);
    std::memcpy(block.data(), PrivateMagic, sizeof PrivateMagic);
    putLE32(block, 4, PrivateVersion);
    putLE32(block, 8, static_cast<quint32>(bytes.size()));
    if (!bytes.isEmpty())
        std::memcpy(block.data() + PrivateHeaderSize, bytes.constData(), bytes.size());
    return block;
}

std::optional<QByteArray> readPrivateClipboardBlock(QByteArray block)
{
    if (block.size() < PrivateHeaderSize)
        return std::nullopt;
    const char *raw = block.constData();
    if (std::memcmp(raw, PrivateMagic, sizeof PrivateMagic) != 0 ||
        qFromLittleEndian<quint32>(raw + 4) != PrivateVersion)
        return std::nullopt;
    const quint32 count = qFromLittleEndian<quint32>(raw + 8);
    if (count > static_cast<quint64>(block.size() - PrivateHeaderSize))
        return std::nullopt;
    block.remove(0, PrivateHeaderSize);
    block.truncate(static_cast<qsizetype>(count));
    return block;
}

QByteArray makeClipboardText(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    QByteArray text = zero < 0 ? bytes : bytes.left(zero);
    text.append('\0');
    return text;
}

QByteArray makeFileGroupDescriptor(qint64 size, const QString &fileName,
                                   const QDateTime &lastWriteUtc)
{
    QByteArray block(FileGroupDescriptorSize, '\0');
    putLE32(block, 0, 1); // one file
    putLE32(block, 4, FlagsSizeAndWriteTime);
    const quint64 ticks =
        static_cast<quint64>(lastWriteUtc.toMSecsSinceEpoch() + FileTimeEpochOffsetMs) * 10000u;
    putLE32(block, 60, static_cast<quint32>(ticks));
    putLE32(block, 64, static_cast<quint32>(ticks >> 32));
    putLE32(block, 68, static_cast<quint32>(static_cast<quint64>(size) >> 32));
    putLE32(block, 72, static_cast<quint32>(size));
    const QString name =
        QStringLiteral("Dump of %1.bin").arg(QFileInfo(fileName).completeBaseName());
    const QByteArray encoded = encodeCut(name, FileDescriptorNameMaxBytes);
    static_assert(FileDescriptorNameMaxBytes < FileDescriptorNameCapacity);
    std::memcpy(block.data() + FileDescriptorNameOffset, encoded.constData(), encoded.size());
    return block;
}

ClipboardData::ClipboardData(QByteArray bytes, QString fileName, QDateTime lastWriteUtc)
    : m_bytes(std::move(bytes)), m_fileName(std::move(fileName)),
      m_lastWriteUtc(std::move(lastWriteUtc))
{
}

QStringList ClipboardData::formats() const
{
    return {ClipboardFormat::Private, ClipboardFormat::Text, ClipboardFormat::FileGroupDescriptor,
            ClipboardFormat::FileContents};
}

QByteArray ClipboardData::data(const QString &format) const
{
    if (format == ClipboardFormat::Private)
        return makePrivateClipboardBlock(m_bytes);
    if (format == ClipboardFormat::Text)
        return makeClipboardText(m_bytes);
    if (format == ClipboardFormat::FileGroupDescriptor)
        return makeFileGroupDescriptor(m_bytes.size(), m_fileName, m_lastWriteUtc);
    if (format == ClipboardFormat::FileContents)
        return m_bytes;
    return {};
}

} // namespace vocafetch
