// vocafetch_headerless_probe FILE...: the headerless runs found where no signature covers each
// file, under the shipped limits and under looser ones, to measure how far chance data stays
// from them. Files with no recording in them should show no run under the shipped limits.
#include "extract/analysis/HeaderlessRuns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace vocafetch;

namespace {

// The offsets of "#!AMR" in any letter case, as the recording scan finds them.
QVector<qint64> signatureStarts(const char *data, qint64 size)
{
    QVector<qint64> starts;
    static const char Upper[] = "#!AMR";
    for (qint64 pos = 0; pos + 5 <= size; ++pos) {
        qint64 i = 0;
        while (i < 5 && (data[pos + i] == Upper[i] ||
                         (Upper[i] >= 'A' && data[pos + i] == Upper[i] - 'A' + 'a')))
            ++i;
        if (i == 5)
            starts.append(pos);
    }
    return starts;
}

void printRuns(const char *label, const QVector<RecordingAnalysis> &runs)
{
    qint64 longest = 0;
    for (const RecordingAnalysis &run : runs)
        longest = std::max(longest, run.frames());
    std::printf("  %-26s runs %lld, longest %lld frames\n", label, qint64(runs.size()), longest);
    for (int i = 0; i < std::min<int>(runs.size(), 3); ++i)
        std::printf("    at %lld: %s, %lld frames\n", runs[i].start,
                    qPrintable(amrFormatName(runs[i].format())), runs[i].frames());
}

bool probe(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const qint64 size = file.size();
    const uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    if (size > 0 && mapped == nullptr) {
        std::fprintf(stderr, "%s: cannot be mapped\n", qPrintable(path));
        return false;
    }
    const char *data = reinterpret_cast<const char *>(mapped);
    const QVector<RecordingAnalysis> signedRecordings =
        analyseRecordings(data, size, signatureStarts(data, size));
    qint64 uncovered = 0;
    for (const ByteSpan &region : uncoveredRegions(size, signedRecordings))
        uncovered += region.size();

    // Processor time as well: the machine may be shared.
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    const QVector<RecordingAnalysis> runs = findHeaderlessRecordings(data, size, signedRecordings);
    const double cpuSeconds = std::max(1.0, double(std::clock() - cpuStart)) / CLOCKS_PER_SEC;
    const double seconds = std::max<qint64>(timer.nsecsElapsed(), 1) / 1e9;
    std::printf("%s: %lld bytes, %lld signatures, %lld bytes searched at %.0f MB/s (%.0f MB/s "
                "of processor time)\n",
                qPrintable(path), size, qint64(signedRecordings.size()), uncovered,
                uncovered / seconds / 1e6, uncovered / cpuSeconds / 1e6);
    printRuns("shipped limits:", runs);

    HeaderlessLimits loose;
    loose.minFrames = 10;
    loose.minSpeechFrames = 5;
    printRuns("10 frames, 5 speech:",
              findHeaderlessRecordings(data, size, signedRecordings, loose));
    loose.minFrames = 20;
    loose.minSpeechFrames = 0;
    loose.maxBadFrames = loose.minFrames;
    loose.maxNearByteShare = loose.maxNearAtOnePlace = loose.maxZeroByteShare = 1.0;
    printRuns("20 frames, any payload:",
              findHeaderlessRecordings(data, size, signedRecordings, loose));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: vocafetch_headerless_probe FILE...\n");
        return 2;
    }
    bool ok = true;
    for (const QString &path : files)
        ok = probe(path) && ok;
    return ok ? 0 : 1;
}
