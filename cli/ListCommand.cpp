#include "cli/ListCommand.h"

#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/ContainerInputs.h"
#include "cli/OrderedOutput.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"
#include "extract/RecordingExport.h"


#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

using vocafetch::jsonString;

// Recordings analysed and written at a time.
constexpr qsizetype Stretch = 16384;

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

// The counts of a whole run, for its summary.
struct RunSummary
{
    std::atomic<int> containers{0};
    std::atomic<int> withoutRecordings{0};
    std::atomic<int> failed{0};
    std::atomic<qint64> recordings{0};
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
    void writeRecordings(int index, vocafetch::ContainerSession &session);

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
        vocafetch::ContainerSession session;
        session.setFindHeaderless(m_request.headerless);
        session.openMapped(input.path);
        ++m_summary.containers;
        m_console.advance(session.size());
        const int count = session.recordingCount();
        m_summary.recordings += count;
        if (count == 0) {
            ++m_summary.withoutRecordings;
            // Files found in a folder walk are only counted, unless asked for.
            if (input.foundInFolder && !m_request.verbose)
                return;
        }
        if (m_request.json) {
            m_output.write(index, OrderedOutput::Stream::OutEntry,
                           "\n{\"path\":" + jsonString(shown) +
                               ",\"size\":" + QByteArray::number(session.size()) + ",\"markers\":" +
                               numberList(session.scan().typeMarkers) + ",\"recordings\":[");
            entryOpen = true;
        } else {
            char line[160];
            std::snprintf(line, sizeof line, ": %lld bytes, %d recordings, %lld markers\n",
                          qlonglong(session.size()), count,
                          qlonglong(session.scan().typeMarkers.size()));
            writeOut(index, shown.toUtf8() + line);
        }
        writeRecordings(index, session);
        if (entryOpen)
            writeOut(index, "]}");
    });
    if (failure.isEmpty())
        return;
    ++m_summary.failed;
    m_output.write(index, OrderedOutput::Stream::Err,
                   "vocafetch-cli: " + shown.toUtf8() + ": " + failure.toUtf8() + '\n');
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

void ContainerLister::writeRecordings(int index, vocafetch::ContainerSession &session)
{
    for (int first = 0; first < session.recordingCount(); first += Stretch) {
        const int last = std::min<int>(session.recordingCount(), first + Stretch);
        const QVector<RecordingAnalysis> analyses = session.analyseRange(first, last);
        QByteArray text;
        for (int i = first; i < last; ++i) {
            RecordingListing listing;
            listing.number = i + 1;
            const RecordingRange range = session.range(i);
            listing.offset = range.first;
            listing.size = range.size();
            listing.analysis = analyses[i - first];
            if (m_request.json) {
                if (i > 0)
                    text += ',';
                text += listing.toJson();
            } else {
                text += listing.toText() + '\n';
            }
        }
        writeOut(index, text);
    }
}

} // namespace

QByteArray RecordingListing::toJson() const
{
    // Keys in alphabetical order, as listings have always given them.
    QByteArray json;
    vocafetch::JsonObjectWriter(json)
        .field("audio_end", analysis.audioEnd)
        .field("damaged", analysis.damaged())
        .field("duration_ms", analysis.durationMs())
        .field("end_from", endSourceName(analysis.endFrom))
        .field("format", amrFormatName(analysis.format()))
        .field("frames", analysis.frames())
        .field("headerless", analysis.headerless)
        .field("number", number)
        .field("offset", offset)
        .field("size", size)
        .field("truncated", analysis.truncated());
    return json;
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
    return QByteArray(line, std::clamp(length, 0, int(sizeof line) - 1));
}

int runList(const CliRequest &request, Console &console)
{
    const ContainerInputs inputs = collectInputs(request.files, request.recursive);
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
        console.writeOut(QStringLiteral("%1 files looked at: %2 recordings found, %3 files "
                                        "without recordings, %4 failed, %5 skipped\n")
                             .arg(scanned)
                             .arg(qint64(summary.recordings))
                             .arg(int(summary.withoutRecordings))
                             .arg(int(summary.failed))
                             .arg(inputs.skipped.size())
                             .toUtf8());
    }
    return anyFailed || summary.failed > 0 ? 1 : 0;
}
