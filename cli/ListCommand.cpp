#include "cli/ListCommand.h"

#include "cli/FileAnalysis.h"
#include "extract/ContainerFileScan.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RecordingExport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

QJsonObject RecordingListing::toJson() const
{
    QJsonObject object{{QStringLiteral("number"), number},
                       {QStringLiteral("offset"), offset},
                       {QStringLiteral("size"), size}};
    addAnalysisFields(object, analysis);
    return object;
}

QString RecordingListing::toText() const
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
    return QString::fromLatin1(line, std::clamp(length, 0, int(sizeof line) - 1));
}

QJsonObject ContainerListing::toJson() const
{
    if (failed())
        return {{QStringLiteral("path"), path}, {QStringLiteral("error"), error}};
    QJsonArray markerArray;
    for (qint64 marker : markers)
        markerArray.append(marker);
    QJsonArray recordingArray;
    for (const RecordingListing &recording : recordings)
        recordingArray.append(recording.toJson());
    return {{QStringLiteral("path"), path},
            {QStringLiteral("size"), size},
            {QStringLiteral("markers"), markerArray},
            {QStringLiteral("recordings"), recordingArray}};
}

QString ContainerListing::toText() const
{
    QString text = QStringLiteral("%1: %2 bytes, %3 recordings, %4 markers\n")
                       .arg(path)
                       .arg(size)
                       .arg(recordings.size())
                       .arg(markers.size());
    for (const RecordingListing &recording : recordings)
        text += recording.toText() + QLatin1Char('\n');
    return text;
}

RecordingListing describeRecording(const ContainerFileScan &container, int i,
                                   const RecordingAnalysis &analysis)
{
    const RecordingRange range = recordingRange(container.scan.recordingStarts, i, container.size);
    RecordingListing listing;
    listing.number = i + 1;
    listing.offset = range.first;
    listing.size = range.size();
    listing.analysis = analysis;
    return listing;
}

ContainerListing listContainer(const QString &path)
{
    ContainerListing listing;
    listing.path = path;
    try {
        RecordingAnalysisAhead analysis(path);
        const ContainerFileScan container = scanContainerFile(path);
        listing.size = container.size;
        listing.markers = container.scan.typeMarkers;
        const QVector<RecordingAnalysis> analyses =
            analysis.results(container.size, container.scan.recordingStarts);
        for (int i = 0; i < container.scan.recordingCount(); ++i)
            listing.recordings.append(describeRecording(container, i, analyses.at(i)));
    } catch (const ExtractError &error) {
        listing.error = vocafetch::oneLine(error.message());
    }
    return listing;
}

int runList(const CliRequest &request, QTextStream &out, QTextStream &err)
{
    bool anyFailed = false;
    QJsonArray containers;
    for (const QString &path : request.files) {
        const ContainerListing listing = listContainer(path);
        if (listing.failed()) {
            anyFailed = true;
            err << "vocafetch-cli: " << path << ": " << listing.error << Qt::endl;
        }
        if (request.json)
            containers.append(listing.toJson());
        else if (!listing.failed())
            out << listing.toText() << Qt::flush;
    }
    if (request.json) {
        const QJsonObject root{{QStringLiteral("containers"), containers}};
        out << QJsonDocument(root).toJson(QJsonDocument::Indented) << Qt::flush;
    }
    return anyFailed ? 1 : 0;
}
