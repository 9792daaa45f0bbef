// Throughput of the two scan passes over a 256 MiB container of random bytes with a
// recording (and its content-type marker) every 64 KiB. Target: at least 1 GB/s per pass.
#include "SampleContainer.h"
#include "extract/ByteBuffer.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingScan.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace vocafetch;

namespace {

constexpr qint64 ContainerBytes = 256LL * 1024 * 1024;
constexpr qint64 Spacing = 64 * 1024;
constexpr int RecordingBytes = 4096;

// The container, loaded once into a buffer the way the window loads it.
struct Fixture
{
    InProcessClipboard clipboard;
    TByteBuffer buffer{clipboard};
    qsizetype expectedRecordings = 0;

    Fixture()
    {
        SampleGen::Layout layout =
            SampleGen::sprinkledContainer(ContainerBytes, Spacing, RecordingBytes, 42);
        expectedRecordings = layout.recordingStarts.size();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bench.drf"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(layout.bytes) != layout.bytes.size()) {
            std::fprintf(stderr, "cannot write the benchmark container\n");
            std::exit(1);
        }
        file.close();
        layout.bytes.clear();
        buffer.LoadFromFile(path);
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void runPass(benchmark::State &state, const QByteArray &text)
{
    Fixture &f = fixture();
    qsizetype found = 0;
    for (auto _ : state) {
        f.buffer.SetSelStart(0);
        QVector<qint64> offsets;
        vocafetch::findAllOccurrences(f.buffer, text, offsets);
        found = offsets.size();
        benchmark::DoNotOptimize(found);
    }
    if (found < f.expectedRecordings)
        state.SkipWithError("a signature was missed");
    state.SetBytesProcessed(state.iterations() * f.buffer.DataSize());
    state.counters["found"] = static_cast<double>(found);
}

void RecordingStartPass(benchmark::State &state)
{
    runPass(state, RecordingScan::RecordingStartText);
}

void TypeMarkerPass(benchmark::State &state)
{
    runPass(state, RecordingScan::TypeMarkerText);
}

void WholeScan(benchmark::State &state)
{
    Fixture &f = fixture();
    qsizetype found = 0;
    for (auto _ : state) {
        f.buffer.SetSelStart(0); // where a fresh load leaves the cursor
        const vocafetch::ContainerScan result = vocafetch::scanRecordings(f.buffer);
        found = result.recordingStarts.size() + result.typeMarkers.size();
        benchmark::DoNotOptimize(result);
    }
    if (found < 2 * f.expectedRecordings)
        state.SkipWithError("a signature was missed");
    state.SetBytesProcessed(state.iterations() * f.buffer.DataSize());
}

BENCHMARK(RecordingStartPass)->Unit(benchmark::kMillisecond);
BENCHMARK(TypeMarkerPass)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeScan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
