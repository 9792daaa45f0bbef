#include "extract/encode/Id3Tag.h"

#include <QtEndian>

namespace vocafetch {

namespace {

constexpr char Utf16WithBom = 0x01;

void appendBe32(QByteArray &bytes, quint32 value)
{
    char be[4];
    qToBigEndian(value, be);
    bytes.append(be, 4);
}

// Tag sizes are "synchsafe": seven bits in each byte, so no size byte looks like a frame sync.
void appendSynchsafe32(QByteArray &bytes, quint32 value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes.append(char((value >> shift) & 0x7F));
}

QByteArray textFrame(const char *id, const QString &text)
{
    QByteArray body(1, Utf16WithBom);
    body.append("\xFF\xFE", 2);
    for (QChar c : text) {
        char le[2];
        qToLittleEndian(c.unicode(), le);
        body.append(le, 2);
    }
    QByteArray frame(id, 4);
    appendBe32(frame, quint32(body.size()));
    frame.append(2, '\0'); // no frame flags
    return frame + body;
}

} // namespace

QByteArray id3v2Tag(const QString &title, const QString &album)
{
    QByteArray frames;
    if (!title.isEmpty())
        frames += textFrame("TIT2", title);
    if (!album.isEmpty())
        frames += textFrame("TALB", album);
    if (frames.isEmpty())
        return frames;
    QByteArray tag("ID3\x03\x00\x00", 6); // version 2.3.0, no flags
    appendSynchsafe32(tag, quint32(frames.size()));
    return tag + frames;
}

} // namespace vocafetch
