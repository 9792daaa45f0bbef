#include "cli/ListCommand.h"

#include "cli/Console.h"
#include "cli/ContainerInputs.h"
#include "cli/InputSource.h"
#include "cli/JsonWriter.h"
#include "cli/OrderedOutput.h"
#include "cli/StreamAnalysis.h"
#include "cli/TextOutput.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"
#include "extract/RecordingExport.h"

#include "extract/io/ContainerSource.h"
#include "extract/io/UniqueFd.h"

#include <QDateTime>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace vocafetch {

namespace {

using vocafetch::jsonString;

// Recordings analysed and written at a time.
constexpr qsizetype Stretch = 16384;
// A stream up to this size is kept whole while it is read, and its messages are then found as
// in a file of its bytes; a longer one is listed without them (its bytes are not held).
constexpr qint64 StreamMessageBytes = qint64(64) << 20;

// The names a recording's JSON gives, quoted once: millions of recordings share a handful.
const QByteArray &quotedName(EndSource source)
{
    static const std::array<QByteArray, 3> names = {
        jsonString(endSourceName(EndSource::PartHeader)),
        jsonString(endSourceName(EndSource::Frames)), jsonString(endSourceName(EndSource::None))};
    return names.at(size_t(source));
}

const QByteArray &quotedName(AmrFormat format)
{
    static const std::array<QByteArray, 5> names = {
        jsonString(amrFormatName(AmrFormat::Unknown)),
        jsonString(amrFormatName(AmrFormat::NarrowBand)),
        jsonString(amrFormatName(AmrFormat::WideBand)),
        jsonString(amrFormatName(AmrFormat::MultiChannelNarrowBand)),
        jsonString(amrFormatName(AmrFormat::MultiChannelWideBand))};
    return names.at(size_t(format));
}

QByteArray numberList(const QVector<qint64> &numbers)
{
    QByteArray text = "[";
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += ',';
        text += QByteArray::number(numbers[i]);
    }
    return text + ']';
}

QByteArray stringList(const QStringList &items)
{
    QByteArray json = "[";
    for (qsizetype i = 0; i < items.size(); ++i)
        json += (i > 0 ? "," : "") + jsonString(items[i]);
    return json + ']';
}

// The message's date in ISO 8601, UTC ("2009-04-29T15:43:08Z"); empty when it has none that
// the form can show.
QString isoDate(const MmsMessage &message)
{
    if (!message.date)
        return {};
    const QDateTime time = QDateTime::fromSecsSinceEpoch(*message.date, Qt::UTC);
    if (!time.isValid() || time.date().year() < 1 || time.date().year() > 9999)
        return {};
    return time.toString(Qt::ISODate);
}

// What names a part for people: its Name, else its Content-Location, else its Content-ID.
QString shownPartName(const MmsPart &part)
{
    for (const QString &name : {part.name, part.location, part.contentId})
        if (!name.trimmed().isEmpty())
            return name;
    return {};
}

QByteArray partJson(const MmsPart &part)
{
    QByteArray json;
    JsonObjectWriter object(json);
    object.fieldIfAny("id", part.contentId);
    object.fieldIfAny("location", part.location);
    object.fieldIfAny("media_type", QString::fromLatin1(part.mediaType));
    object.fieldIfAny("name", part.name);
    object.close();
    return json;
}

// The bytes of a stream, kept in an unnamed file in memory while they are few enough: a
// session of them finds the messages by the code that finds those of a file.
class StreamCopy
{
public:
    StreamCopy() : m_fd(::memfd_create("vocafetch-stream", MFD_CLOEXEC)) {}

    void append(const char *data, qint64 length)
    {
        m_size += length;
        if (m_size > StreamMessageBytes)
            m_fd.reset();
        for (qint64 done = 0; m_fd.valid() && done < length;) {
            const ssize_t written = ::write(m_fd.get(), data + done, size_t(length - done));
            if (written > 0)
                done += written;
            else if (written == 0 || errno != EINTR)
                m_fd.reset();
        }
    }
    // The session of the bytes; null when they were too many or could not be kept (the
    // listing then goes on without messages).
    std::unique_ptr<ContainerSession> session(const QString &path, bool findHeaderless)
    {
        if (!m_fd.valid())
            return nullptr;
        auto session = std::make_unique<ContainerSession>();
        session->setFindHeaderless(findHeaderless);
        const QString failure = failureOf([&] {
            session->openMapped(
                path, std::make_unique<ContainerSource>(bytesFromName(path), std::move(m_fd)));
        });
        return failure.isEmpty() ? std::move(session) : nullptr;
    }

private:
    UniqueFd m_fd;
    qint64 m_size = 0;
};

// The counts of a whole run, for its summary.
struct RunSummary
{
    std::atomic<int> containers{0};
    std::atomic<int> withoutRecordings{0};
    std::atomic<int> failed{0};
    std::atomic<qint64> recordings{0};
};

// What a listing reads of a container, mapped or read as a stream.
struct ListedContainer
{
    qint64 size = 0;
    const vocafetch::ContainerScan *scan = nullptr;
    int count = 0;
    // The analyses of recordings first ... last - 1.
    std::function<QVector<RecordingAnalysis>(int first, int last)> analyses;
    std::function<ByteSpan(int i)> range;
    // The messages around the recordings and which carries recording i; null for a stream too
    // long to be kept for them.
    const QVector<MmsMessage> *messages = nullptr;
    std::function<RecordingMessage(int i)> placement;
};

class ContainerLister
{
public:
    ContainerLister(const CliRequest &request, OrderedOutput &output, Console &console,
                    RunSummary &summary)
        : m_request(request), m_output(output), m_console(console), m_summary(summary)
    {
    }

    void list(int index, const ContainerInput &input);

private:
    void writeOut(int index, const QByteArray &text)
    {
        m_output.write(index, OrderedOutput::Stream::Out, text);
    }
    void listMapped(int index, const ContainerInput &input,
                    std::unique_ptr<vocafetch::ContainerSource> source, bool &entryOpen);
    void listStream(int index, const ContainerInput &input, int fd, bool &entryOpen);
    void writeEntry(int index, const ContainerInput &input, const ListedContainer &container,
                    bool &entryOpen);
    void writeRecordings(int index, const ListedContainer &container);

    const CliRequest &m_request;
    OrderedOutput &m_output;
    Console &m_console;
    RunSummary &m_summary;
};

void ContainerLister::list(int index, const ContainerInput &input)
{
    const QString shown = vocafetch::displayName(input.path);
    bool entryOpen = false;
    const QString failure = vocafetch::failureOf([&] {
        InputSource source = openInput(input);
        if (source.stream.valid())
            listStream(index, input, source.stream.get(), entryOpen);
        else
            listMapped(index, input, std::move(source.mapped), entryOpen);
        m_console.advance(0, 1);
    });
    if (failure.isEmpty())
        return;
    ++m_summary.failed;
    m_output.write(index, OrderedOutput::Stream::Err, errorLine(input.path, failure));
    if (!m_request.json)
        return;
    // A listing cut short still closes its entry, so the document stays whole.
    if (entryOpen)
        writeOut(index, "],\"error\":" + jsonString(failure) + '}');
    else
        m_output.write(index, OrderedOutput::Stream::OutEntry,
                       "\n{\"path\":" + jsonString(shown) + ",\"error\":" + jsonString(failure) +
                           '}');
}

void ContainerLister::listMapped(int index, const ContainerInput &input,
                                 std::unique_ptr<vocafetch::ContainerSource> source,
                                 bool &entryOpen)
{
    vocafetch::ContainerSession session;
    session.setFindHeaderless(m_request.headerless);
    session.openMapped(input.path, std::move(source));
    m_console.advance(session.size());
    ListedContainer container;
    container.size = session.size();
    container.scan = &session.scan();
    container.count = session.recordingCount();
    container.analyses = [&](int first, int last) { return session.analyseRange(first, last); };
    container.range = [&](int i) { return session.range(i); };
    container.messages = &session.messages();
    container.placement = [&](int i) { return session.placementOf(i); };
    writeEntry(index, input, container, entryOpen);
}

// A stream is analysed whole before its entry is written: the entry starts with its size and
// counts. Only the analyses are kept, not the bytes.
void ContainerLister::listStream(int index, const ContainerInput &input, int fd, bool &entryOpen)
{
    vocafetch::StreamAnalysis stream(m_request.headerless);
    StreamCopy copy;
    readStream(fd, input.path, [&](const char *data, qint64 length) {
        stream.feed(data, length);
        copy.append(data, length);
        m_console.advance(length);
    });
    stream.finish();
    const std::unique_ptr<ContainerSession> messages =
        copy.session(input.path, m_request.headerless);
    const QVector<RecordingAnalysis> &recordings = stream.recordings();
    ListedContainer container;
    container.size = stream.size();
    container.scan = &stream.scan();
    container.count = int(recordings.size());
    container.analyses = [&](int first, int last) { return recordings.mid(first, last - first); };
    container.range = [&](int i) {
        if (i >= stream.signedCount())
            return ByteSpan{recordings[i].start, recordings[i].audioEnd};
        return recordingRange(stream.scan().recordingStarts, i, stream.size());
    };
    if (messages && messages->recordingCount() == container.count) {
        container.messages = &messages->messages();
        container.placement = [&](int i) { return messages->placementOf(i); };
    }
    writeEntry(index, input, container, entryOpen);
}

void ContainerLister::writeEntry(int index, const ContainerInput &input,
                                 const ListedContainer &container, bool &entryOpen)
{
    ++m_summary.containers;
    m_summary.recordings += container.count;
    if (container.count == 0) {
        ++m_summary.withoutRecordings;
        // Files found in a folder walk are only counted, unless asked for.
        if (input.foundInFolder && !m_request.verbose)
            return;
    }
    const QVector<qint64> &markers = container.scan->typeMarkers;
    const QVector<MmsMessage> noMessages;
    const QVector<MmsMessage> &messages = container.messages ? *container.messages : noMessages;
    if (m_request.json) {
        QByteArray messageList;
        if (container.messages) {
            messageList = ",\"messages\":[";
            for (qsizetype m = 0; m < messages.size(); ++m)
                messageList += (m > 0 ? "," : "") + messageJson(messages[m]);
            messageList += ']';
        }
        m_output.write(index, OrderedOutput::Stream::OutEntry,
                       "\n{\"path\":" + jsonString(vocafetch::displayName(input.path)) +
                           ",\"size\":" + QByteArray::number(container.size) + ",\"markers\":" +
                           numberList(markers) + messageList + ",\"recordings\":[");
        entryOpen = true;
    } else {
        QByteArray text = shownPath(input.path) + ": " +
                          QStringLiteral("%1, %2, %3\n")
                              .arg(counted(container.size, "byte", "bytes"),
                                   counted(container.count, "recording", "recordings"),
                                   counted(markers.size(), "marker", "markers"))
                              .toUtf8();
        for (qsizetype m = 0; m < messages.size(); ++m)
            text += messageText(int(m + 1), messages[m]) + '\n';
        writeOut(index, text);
    }
    writeRecordings(index, container);
    if (entryOpen)
        writeOut(index, "]}");
}

void ContainerLister::writeRecordings(int index, const ListedContainer &container)
{
    for (int first = 0; first < container.count; first += Stretch) {
        const int last = std::min<int>(container.count, first + Stretch);
        const QVector<RecordingAnalysis> analyses = container.analyses(first, last);
        QByteArray text;
        for (int i = first; i < last; ++i) {
            RecordingListing listing;
            listing.number = i + 1;
            const ByteSpan range = container.range(i);
            listing.offset = range.begin;
            listing.size = range.size();
            listing.analysis = analyses[i - first];
            if (container.placement) {
                const RecordingMessage placed = container.placement(i);
                if (placed.message >= 0 && placed.message < container.messages->size()) {
                    const MmsMessage &message = (*container.messages)[placed.message];
                    listing.message = placed.message;
                    if (placed.part >= 0 && placed.part < message.parts.size())
                        listing.part = &message.parts[placed.part];
                }
            }
            if (m_request.json) {
                if (i > 0)
                    text += ',';
                listing.appendJson(text);
            } else {
                text += listing.toText() + '\n';
            }
        }
        writeOut(index, text);
    }
}

} // namespace

void RecordingListing::appendJson(QByteArray &json) const
{
    // Keys in alphabetical order, as listings have always given them.
    vocafetch::JsonObjectWriter object(json);
    object.field("audio_end", analysis.audioEnd)
        .field("damaged", analysis.damaged())
        .field("duration_ms", analysis.durationMs())
        .rawField("end_from", quotedName(analysis.endFrom))
        .rawField("format", quotedName(analysis.format()))
        .field("frames", analysis.frames())
        .field("headerless", analysis.headerless);
    if (message >= 0)
        object.field("message", message);
    object.field("number", number).field("offset", offset);
    if (part)
        object.rawField("part", partJson(*part));
    object.field("size", size).field("truncated", analysis.truncated());
}

QByteArray RecordingListing::toText() const
{
    // One formatting call into a local buffer: listings of large containers have many
    // thousand lines.
    char line[256];
    int length = std::snprintf(
        line, sizeof line,
        "  %3d  offset %10lld  size %10lld  %-12s  %lld frames  %lld ms  audio end %lld (%s)",
        number, qlonglong(offset), qlonglong(size),
        amrFormatName(analysis.format()).toLatin1().constData(), qlonglong(analysis.frames()),
        qlonglong(analysis.durationMs()), qlonglong(analysis.audioEnd),
        endSourceName(analysis.endFrom).toLatin1().constData());
    if (analysis.damaged() > 0 && length > 0 && length < int(sizeof line))
        length += std::snprintf(line + length, sizeof line - size_t(length), "  %lld damaged",
                                qlonglong(analysis.damaged()));
    QByteArray text(line, std::clamp(length, 0, int(sizeof line) - 1));
    if (message >= 0)
        text += "  message " + QByteArray::number(message + 1);
    if (part) {
        const QString name = shownPartName(*part);
        if (!name.isEmpty())
            text += "  part " + printable(name).toUtf8();
    }
    return text;
}

QByteArray messageText(int number, const MmsMessage &message)
{
    QByteArray text = "  message " + QByteArray::number(number) + "  offset " +
                      QByteArray::number(message.offset);
    const auto add = [&](const char *label, const QString &value) {
        if (value.isEmpty())
            return;
        text += "  ";
        if (label[0] != '\0')
            text += QByteArray(label) + ' ';
        text += printable(value).toUtf8();
    };
    add("", message.type);
    add("date", isoDate(message));
    add("from", message.from);
    add("to", message.to.join(QLatin1String(", ")));
    add("cc", message.cc.join(QLatin1String(", ")));
    add("subject", message.subject);
    return text;
}

QByteArray messageJson(const MmsMessage &message)
{
    QByteArray json;
    JsonObjectWriter object(json);
    if (!message.cc.isEmpty())
        object.rawField("cc", stringList(message.cc));
    object.fieldIfAny("date", isoDate(message));
    object.fieldIfAny("from", message.from);
    object.fieldIfAny("message_id", message.messageId);
    object.field("offset", message.offset);
    object.fieldIfAny("subject", message.subject);
    object.fieldIfAny("text", message.text);
    if (!message.to.isEmpty())
        object.rawField("to", stringList(message.to));
    object.fieldIfAny("type", message.type);
    object.close();
    return json;
}

int runList(const CliRequest &request, Console &console)
{
    WalkOptions walk;
    walk.recursive = request.recursive;
    walk.verbose = request.verbose;
    const ContainerInputs inputs = collectInputs(request.files, walk);
    bool anyFailed = false;
    for (const SkippedInput &skipped : inputs.skipped) {
        console.reportError(skipped.path, skipped.reason);
        anyFailed = anyFailed || skipped.failure;
    }
    qint64 total = 0;
    for (const ContainerInput &input : inputs.containers)
        total += fileSize(input.path);
    console.setTotal(total);

    if (request.json)
        console.writeOut("{\"containers\":[");
    RunSummary summary;
    OrderedOutput output(console, int(inputs.containers.size()));
    ContainerLister lister(request, output, console, summary);
    output.run(jobCount(request.jobs),
               [&](int index) { lister.list(index, inputs.containers[index]); });
    console.clearProgress();

    const int scanned = summary.containers + summary.failed;
    if (request.json) {
        QByteArray skipped = "[";
        for (qsizetype i = 0; i < inputs.skipped.size(); ++i)
            skipped += QByteArray(i > 0 ? "," : "") +
                       "{\"path\":" + jsonString(vocafetch::displayName(inputs.skipped[i].path)) +
                       ",\"reason\":" + jsonString(inputs.skipped[i].reason) + '}';
        console.writeOut(
            "\n],\"summary\":{\"files\":" + QByteArray::number(scanned) +
            ",\"failed\":" + QByteArray::number(int(summary.failed)) +
            ",\"without_recordings\":" + QByteArray::number(int(summary.withoutRecordings)) +
            ",\"recordings\":" + QByteArray::number(qint64(summary.recordings)) +
            ",\"skipped\":" + skipped + "]}}\n");
    } else if (request.recursive) {
        console.writeOut(QStringLiteral("%1 looked at: %2 found, %3 without recordings, %4 "
                                        "failed, %5 skipped\n")
                             .arg(counted(scanned, "file", "files"),
                                  counted(qint64(summary.recordings), "recording", "recordings"),
                                  counted(int(summary.withoutRecordings), "file", "files"))
                             .arg(int(summary.failed))
                             .arg(inputs.skipped.size())
                             .toUtf8());
    }
    return console.finish(anyFailed || summary.failed > 0 ? 1 : 0);
}

} // namespace vocafetch
