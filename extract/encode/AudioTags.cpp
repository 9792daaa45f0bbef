#include "extract/encode/AudioTags.h"

#include "extract/ExtractError.h"
#include "extract/encode/DescriptorTagStream.h"

#include <QDateTime>

#include <taglib/commentsframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <cstring>
#include <memory>

namespace vocafetch {

namespace {

TagLib::String text(const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    return TagLib::String(utf8.constData(), TagLib::String::UTF8);
}

QDateTime localTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs);
}

// ID3v2.4 takes a time stamp; the other formats get the day.
QString fullDate(const AudioTags &tags)
{
    return localTime(*tags.date).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString day(const AudioTags &tags)
{
    return localTime(*tags.date).toString(QStringLiteral("yyyy-MM-dd"));
}

void addTextFrame(TagLib::ID3v2::Tag &tag, const char *id, const QString &value)
{
    tag.removeFrames(id);
    if (value.isEmpty())
        return;
    auto frame = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>(TagLib::ByteVector(id),
                                                                          TagLib::String::UTF8);
    frame->setText(text(value));
    tag.addFrame(frame.release());
}

void fillId3v2(TagLib::ID3v2::Tag &tag, const AudioTags &tags)
{
    addTextFrame(tag, "TIT2", tags.title);
    addTextFrame(tag, "TPE1", tags.artist);
    addTextFrame(tag, "TALB", tags.album);
    addTextFrame(tag, "TDRC", tags.date ? fullDate(tags) : QString());
    addTextFrame(tag, "TRCK", tags.track > 0 ? QString::number(tags.track) : QString());
    tag.removeFrames("COMM");
    if (!tags.comment.isEmpty()) {
        auto comment = std::make_unique<TagLib::ID3v2::CommentsFrame>(TagLib::String::UTF8);
        comment->setLanguage("und");
        comment->setText(text(tags.comment));
        tag.addFrame(comment.release());
    }
}

void setXiph(TagLib::Ogg::XiphComment &tag, const char *key, const QString &value)
{
    tag.removeFields(key);
    if (!value.isEmpty())
        tag.addField(key, text(value));
}

// COMMENT rather than the DESCRIPTION TagLib's setComment would write: the field most players
// show as the comment.
void fillXiph(TagLib::Ogg::XiphComment &tag, const AudioTags &tags)
{
    setXiph(tag, "TITLE", tags.title);
    setXiph(tag, "ARTIST", tags.artist);
    setXiph(tag, "ALBUM", tags.album);
    setXiph(tag, "DATE", tags.date ? day(tags) : QString());
    setXiph(tag, "TRACKNUMBER", tags.track > 0 ? QString::number(tags.track) : QString());
    setXiph(tag, "COMMENT", tags.comment);
}

void fillInfo(TagLib::RIFF::Info::Tag &tag, const AudioTags &tags)
{
    const auto set = [&](const char *id, const QString &value) {
        if (value.isEmpty())
            tag.removeField(id);
        else
            tag.setFieldText(id, text(value));
    };
    set("INAM", tags.title);
    set("IART", tags.artist);
    set("IPRD", tags.album);
    set("ICRD", tags.date ? day(tags) : QString());
    set("IPRT", tags.track > 0 ? QString::number(tags.track) : QString());
    set("ICMT", tags.comment);
}

bool save(TagLib::IOStream &stream, OutputFormat format, const AudioTags &tags)
{
    TagLib::ID3v2::FrameFactory *frames = TagLib::ID3v2::FrameFactory::instance();
    switch (format) {
    case OutputFormat::Mp3: {
        TagLib::MPEG::File file(&stream, frames, false);
        if (!file.isValid())
            return false;
        fillId3v2(*file.ID3v2Tag(true), tags);
        return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v4);
    }
    case OutputFormat::Flac: {
        TagLib::FLAC::File file(&stream, frames, false);
        if (!file.isValid())
            return false;
        fillXiph(*file.xiphComment(true), tags);
        return file.save();
    }
    case OutputFormat::Opus: {
        TagLib::Ogg::Opus::File file(&stream, false);
        if (!file.isValid())
            return false;
        fillXiph(*file.tag(), tags);
        return file.save();
    }
    case OutputFormat::Wav: {
        TagLib::RIFF::WAV::File file(&stream, false);
        if (!file.isValid())
            return false;
        fillInfo(*file.InfoTag(), tags);
        fillId3v2(*file.ID3v2Tag(), tags);
        return file.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripOthers,
                         TagLib::ID3v2::v4);
    }
    case OutputFormat::Amr:
        break;
    }
    return true;
}

} // namespace

void writeAudioTags(int fd, OutputFormat format, const AudioTags &tags)
{
    DescriptorTagStream stream(fd);
    const bool saved = save(stream, format, tags);
    if (stream.failed())
        throw ExtractError(QString::fromLocal8Bit(std::strerror(stream.error())),
                           ErrorKind::CannotCreate);
    if (!saved)
        throw ExtractError(
            QStringLiteral("the %1 file could not be tagged").arg(formatInfo(format).label),
            ErrorKind::CannotCreate);
}

} // namespace vocafetch
