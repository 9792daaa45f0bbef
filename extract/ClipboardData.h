#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace vocafetch {

// Clipboard format names. The registered formats carry the names other programs look for;
// the standard ones are named after their classic identifiers ("CF_TEXT", ...).
// clipboardMimeType() / clipboardFormatForMimeType() translate them for QMimeData.
namespace ClipboardFormat {
inline const QString Private = QStringLiteral("Bytewell Clipboard Format");
inline const QString Text = QStringLiteral("CF_TEXT");
inline const QString FileGroupDescriptor = QStringLiteral("FileGroupDescriptor");
inline const QString FileContents = QStringLiteral("FileContents");
inline const QString FileDrop = QStringLiteral("CF_HDROP");
inline const QString OemText = QStringLiteral("CF_OEMTEXT");
inline const QString UnicodeText = QStringLiteral("CF_UNICODETEXT");

// The formats a paste looks for, best first.
QStringList pastePriority();
} // namespace ClipboardFormat

// The MIME type under which a clipboard format travels through QMimeData: "CF_TEXT" as
// "text/plain", "CF_UNICODETEXT" as "text/plain;charset=utf-16"... and each registered format
// (such as "Bytewell Clipboard Format") on Windows as
// application/x-qt-windows-mime;value="<name>" so other programs see it under its own name,
// elsewhere as "application/x-vocafetch-<name in lower case, blanks as dashes>".
QString clipboardMimeType(const QString &format);
// The inverse; an empty string for a MIME type that carries none of the known formats.
QString clipboardFormatForMimeType(const QString &mimeType);

// The private block: "BBCF", 32-bit LE 0x00010001, 32-bit LE count, then the bytes.
QByteArray makePrivateClipboardBlock(const QByteArray &bytes);
// The bytes of a private block, or nothing when the header is wrong or the block is shorter
// than its count says. Takes the block by value so that a block owned only by the caller is
// turned into the result in place, without a second copy.
std::optional<QByteArray> readPrivateClipboardBlock(QByteArray block);
// CF_TEXT: the bytes up to (not including) the first zero byte, then one zero byte.
QByteArray makeClipboardText(const QByteArray &bytes);
// The 336-byte FILEGROUPDESCRIPTOR: one item, flags 0x60, size, last-write time (UTC, as
// 100 ns ticks since 1601), name "Dump of <file name without folder and extension>.bin"
// cut to 255 bytes and zero-terminated.
QByteArray makeFileGroupDescriptor(qint64 size, const QString &fileName,
                                   const QDateTime &lastWriteUtc);

// The data object that a copy puts on the clipboard: a copy of the selected bytes, the name of
// the buffer they came from and the time of the copy. Formats are rendered when asked for, so
// the object itself holds the bytes only once. Immutable and cheap to share.
class ClipboardData
{
public:
    ClipboardData(QByteArray bytes, QString fileName, QDateTime lastWriteUtc);

    // Private block, CF_TEXT, "FileGroupDescriptor", "FileContents", in this order.
    QStringList formats() const;
    // The rendering of one of formats(); an empty array for any other name.
    QByteArray data(const QString &format) const;

    const QByteArray &bytes() const { return m_bytes; }
    const QString &fileName() const { return m_fileName; }
    const QDateTime &lastWriteUtc() const { return m_lastWriteUtc; }

private:
    QByteArray m_bytes;
    QString m_fileName;
    QDateTime m_lastWriteUtc;
};

} // namespace vocafetch
