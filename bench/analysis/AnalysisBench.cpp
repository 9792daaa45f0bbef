// Analysing every recording of a large container, next to loading and scanning it as
// "vocafetch-cli list" does, so that the analysis can be kept a small addition to a listing.
#include "RecordingGenerator.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingScan.h"
#include "extract/analysis/HeaderlessRuns.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace vocafetch;

namespace {

// Arguments: the container's size in MiB, and 1 for recordings in multipart parts, 0 for plain
// recordings (no part headers: the part-header search finds nothing anywhere); for the analysis
// alone also the thread count (0: the analysis picks it).
const RecGen::ContainerBuilder &container(const benchmark::State &state)
{
    static std::map<std::pair<qint64, qint64>, RecGen::ContainerBuilder> built;
    const auto key = std::make_pair(state.range(0), state.range(1));
    auto found = built.find(key);
    if (found == built.end())
        found =
            built.emplace(key, RecGen::largeContainer(key.first << 20, 42, key.second != 0)).first;
    return found->second;
}

// The container written to a temporary file, for the runs that load it as the listing does.
QString containerFile(const benchmark::State &state)
{
    static std::unique_ptr<QTemporaryDir> dir;
    static std::map<std::pair<qint64, qint64>, QString> written;
    const auto key = std::make_pair(state.range(0), state.range(1));
    if (written.count(key) != 0)
        return written[key];
    if (!dir)
        dir = std::make_unique<QTemporaryDir>();
    const QString path = dir->filePath(QStringLiteral("%1-%2.drf").arg(key.first).arg(key.second));
    QFile file(path);
    const QByteArray &bytes = container(state).data();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    written[key] = path;
    return path;
}

void BM_AnalyseAllRecordings(benchmark::State &state)
{
    const RecGen::ContainerBuilder &builder = container(state);
    const QVector<qint64> starts = builder.starts();
    qint64 frames = 0;
    for (auto _ : state) {
        const QVector<RecordingAnalysis> analyses =
            analyseRecordings(builder.data(), starts, int(state.range(2)));
        frames = 0;
        for (const RecordingAnalysis &analysis : analyses)
            frames += analysis.frames();
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(state.iterations() * builder.data().size());
    state.counters["recordings"] = double(starts.size());
    state.counters["frames"] = double(frames);
}

// What the listing does with a container: load it and scan it, with analyse also analyse every
// recording, and with headerless also search the rest for headerless runs. The times give what
// each step adds.
void loadAndScan(benchmark::State &state, bool analyse, bool headerless = false)
{
    const QString path = containerFile(state);
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the container");
        return;
    }
    for (auto _ : state) {
        InProcessClipboard clipboard;
        TByteBuffer buffer(clipboard);
        buffer.LoadFromFile(path);
        const vocafetch::ContainerScan scan = vocafetch::scanRecordings(buffer);
        if (analyse) {
            const QVector<RecordingAnalysis> analyses =
                analyseRecordings(buffer.Data(), scan.recordingStarts);
            if (headerless)
                benchmark::DoNotOptimize(
                    vocafetch::findHeaderlessRecordings(buffer.Data().constData(),
                                                        buffer.Data().size(), analyses)
                        .size());
            benchmark::DoNotOptimize(analyses.size());
        }
        benchmark::DoNotOptimize(scan.recordingStarts.size());
    }
    state.SetBytesProcessed(state.iterations() * container(state).data().size());
}

void BM_LoadAndScan(benchmark::State &state)
{
    loadAndScan(state, false);
}

void BM_LoadScanAndAnalyse(benchmark::State &state)
{
    loadAndScan(state, true);
}

void BM_LoadScanAnalyseAndFindHeaderless(benchmark::State &state)
{
    loadAndScan(state, true, true);
}

// The headerless search over one region of random bytes (argument: MiB), the worst case of a
// container with no signature: every offset is looked at.
void BM_FindHeaderlessRunsInRandomBytes(benchmark::State &state)
{
    static const QByteArray bytes = RecGen::Rng(7).bytes(int(state.range(0) << 20));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vocafetch::findHeaderlessRuns(bytes.constData(), 0, bytes.size()).size());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The headerless search of a generated container, its recordings analysed beforehand; bytes
// processed count the whole container.
void BM_FindHeaderlessRecordings(benchmark::State &state)
{
    const RecGen::ContainerBuilder &builder = container(state);
    const QVector<RecordingAnalysis> analyses = analyseRecordings(builder.data(), builder.starts());
    for (auto _ : state)
        benchmark::DoNotOptimize(vocafetch::findHeaderlessRecordings(
                                     builder.data().constData(), builder.data().size(), analyses)
                                     .size());
    state.SetBytesProcessed(state.iterations() * builder.data().size());
}

} // namespace

BENCHMARK(BM_FindHeaderlessRunsInRandomBytes)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FindHeaderlessRecordings)
    ->Args({256, 1})
    ->Args({256, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AnalyseAllRecordings)
    ->Args({256, 1, 1})
    ->Args({256, 1, 0})
    ->Args({256, 0, 1})
    ->Args({256, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadAndScan)
    ->Args({512, 1})
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadScanAndAnalyse)
    ->Args({512, 1})
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_LoadScanAnalyseAndFindHeaderless)
    ->Args({512, 1})
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
