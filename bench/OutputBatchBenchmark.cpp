// Saving the recordings of a 64 MiB container (2,824 files of about 23 KiB): flushed once per
// run through an OutputBatch, against one fdatasync per file. Run it on the disk that matters
// (a USB stick shows the gap best): VOCAFETCH_BENCH_DIR names the folder to write in, by default
// a temporary folder in the current one (a tmpfs folder would make every sync free).
#include "extract/io/OutputBatch.h"
#include "extract/io/OutputFile.h"
#include "extract/io/SyncCalls.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using namespace vocafetch;

constexpr int FileCount = 2824;
constexpr int FileSize = 23 * 1024;

QString benchFolder()
{
    const QByteArray chosen = qgetenv("VOCAFETCH_BENCH_DIR");
    return chosen.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(chosen);
}

QByteArray fileName(int i)
{
    return "rec_" + QByteArray::number(i + 1) + ".amr";
}

// Runs save once per iteration into a fresh folder, timing only the saving.
void runSaves(benchmark::State &state, const std::function<void(const OutputFolder &)> &save)
{
    std::uint64_t syncs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir(benchFolder() + QStringLiteral("/vocafetch-bench-XXXXXX"));
        if (!dir.isValid()) {
            state.SkipWithError("cannot create the benchmark folder");
            return;
        }
        const OutputFolder folder = OutputFolder::open(QFile::encodeName(dir.path()));
        const std::uint64_t before = syncCallCount();
        state.ResumeTiming();
        save(folder);
        state.PauseTiming();
        syncs = syncCallCount() - before;
        dir.remove();
        state.ResumeTiming();
    }
    state.counters["sync_calls"] = double(syncs);
    state.counters["files"] = FileCount;
    state.SetBytesProcessed(state.iterations() * qint64(FileCount) * FileSize);
}

void BM_SaveThroughOneBatch(benchmark::State &state)
{
    const QByteArray recording(FileSize, '\x3c');
    runSaves(state, [&](const OutputFolder &folder) {
        OutputBatch batch;
        for (int i = 0; i < FileCount; ++i) {
            OutputFile file(folder, fileName(i));
            file.write(recording);
            batch.add(std::move(file));
        }
        batch.commit();
    });
}

void BM_SaveWithOneSyncPerFile(benchmark::State &state)
{
    const QByteArray recording(FileSize, '\x3c');
    runSaves(state, [&](const OutputFolder &folder) {
        for (int i = 0; i < FileCount; ++i) {
            OutputFile file(folder, fileName(i));
            file.write(recording);
            file.syncData();
            file.place(Placement::KeepExisting);
        }
    });
}

} // namespace

BENCHMARK(BM_SaveThroughOneBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SaveWithOneSyncPerFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
