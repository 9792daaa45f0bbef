#pragma once

#include <QByteArray>
#include <QString>

// ID3v2 tags for MP3 files. libsndfile hands its strings to LAME as Latin-1, which garbles the
// Cyrillic titles, so MP3 files get their tag from here.
namespace vocafetch {

// An ID3v2.3 tag with a TIT2 (title) and a TALB (album) frame in UTF-16, the text encoding every
// ID3v2 reader knows; an empty text has no frame, and a tag without frames is empty.
QByteArray id3v2Tag(const QString &title, const QString &album);

} // namespace vocafetch
