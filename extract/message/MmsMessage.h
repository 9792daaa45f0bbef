#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vocafetch {

// What an MMS message says about the recordings it carries: its headers (who sent it, to whom,
// when, with what subject) and its parts. Offsets are the container's.

struct MmsPart
{
    qint64 headerOffset = 0;    // the first byte of the part's HeadersLen
    qint64 dataOffset = 0;      // the first byte of its data
    qint64 dataEnd = 0;         // one past the last byte of its data the container holds
    quint32 declaredLength = 0; // DataLen as written
    QByteArray mediaType;       // lower case ("audio/amr"); empty when the type has no known name
    QString name;               // the Name (or Filename) of its content type or disposition
    QString location;           // Content-Location
    QString contentId;          // Content-ID without its angle brackets
    QByteArray charset; // IANA name, or the MIBenum number when unknown; empty when not given

    // The container ends before all of its data.
    bool truncated() const { return dataEnd - dataOffset < qint64(declaredLength); }
    bool holds(qint64 offset) const { return offset >= dataOffset && offset < dataEnd; }
};

struct MmsMessage
{
    qint64 offset = 0; // the first byte of the PDU (0x8C, X-Mms-Message-Type)
    qint64 end = 0;    // one past the last byte read as part of it
    // As the message types are named without their "m-": "retrieve-conf", "send-req", ...
    QString type;
    QString transactionId;
    QString version; // MMS version, e.g. "1.2"
    QString messageId;
    std::optional<qint64> date; // seconds since 1970-01-01 00:00 UTC
    QString from;               // empty when the server was to insert it
    QStringList to;
    QStringList cc;
    QStringList bcc;
    QString subject;
    QByteArray contentType; // of the whole body, e.g. "application/vnd.wap.multipart.related"
    QString text;           // the text/plain parts, decoded, one after another
    qint64 bodyOffset = -1; // the first byte after the headers; -1 without a body
    quint32 declaredParts = 0;
    QVector<MmsPart> parts;
    // Empty when the message was read to its end; otherwise why the reading stopped early.
    QString problem;

    // The index of the part whose data holds offset, or -1.
    int partHolding(qint64 offset) const;
};

} // namespace vocafetch
