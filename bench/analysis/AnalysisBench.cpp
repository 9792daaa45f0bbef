// Analysing every recording of a large container, next to the container scan that finds them,
// so that the analysis can be kept a small addition to listing a container.
#include "InProcessClipboard.h"
#include "RecordingAnalysis.h"
#include "RecordingGenerator.h"
#include "RecordingScan.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

// Arguments: the container's size in MiB, and 1 for recordings in multipart parts, 0 for plain
// recordings (no part headers: the part-header search finds nothing anywhere).
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

void BM_AnalyseAllRecordings(benchmark::State &state)
{
    const RecGen::ContainerBuilder &builder = container(state);
    const QVector<qint32> starts = builder.starts();
    qint64 frames = 0;
    for (auto _ : state) {
        const QVector<RecordingAnalysis> analyses = analyseRecordings(builder.data(), starts);
        frames = 0;
        for (const RecordingAnalysis &analysis : analyses)
            frames += analysis.frames();
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(state.iterations() * builder.data().size());
    state.counters["recordings"] = double(starts.size());
    state.counters["frames"] = double(frames);
}

// The scan the analysis follows: both search passes over the same container.
void BM_ScanRecordings(benchmark::State &state)
{
    const RecGen::ContainerBuilder &builder = container(state);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.drf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(builder.data()) != builder.data().size()) {
        state.SkipWithError("cannot write the container");
        return;
    }
    file.close();
    InProcessClipboard clipboard;
    TByteBuffer buffer(clipboard);
    buffer.LoadFromFile(path);
    for (auto _ : state) {
        buffer.SetSelStart(0);
        const ScanResult scan = scanRecordings(buffer);
        benchmark::DoNotOptimize(scan.AmrStartList.size());
    }
    state.SetBytesProcessed(state.iterations() * builder.data().size());
}

} // namespace

BENCHMARK(BM_ScanRecordings)->Args({256, 1})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AnalyseAllRecordings)
    ->Args({256, 1})
    ->Args({256, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
