// The headerless search in process over what memory cards and containers hold between
// recordings: blank space (zeros, 0xFF), random bytes, short repeating patterns, a library's
// bytes, and silence, each 256 MiB unless said. Target: at least 2 GB/s over each filler.
// Also the case that once took quadratic time: a long chain of SID and NO_DATA frames (DTX
// silence) with no speech, which must take time linear in its length.
#include "RecordingGenerator.h"
#include "extract/analysis/HeaderlessRuns.h"

#include <QByteArray>
#include <QFile>

#include <benchmark/benchmark.h>

#include <map>

using namespace vocafetch;

namespace {

constexpr qint64 FillerBytes = qint64(256) << 20;
QString programPath;

enum Filler
{
    Zeros,
    Ones,
    Random,
    Pattern,
    Library,
};

QByteArray makeFiller(Filler filler)
{
    switch (filler) {
    case Zeros:
        return QByteArray(FillerBytes, '\0');
    case Ones:
        return QByteArray(FillerBytes, char(0xFF));
    case Random:
        return RecGen::Rng(7).bytes(int(FillerBytes));
    case Pattern: {
        // UTF-16 text's spaces and a 0x00FF stripe, as formatted media and images hold.
        QByteArray bytes(FillerBytes, '\0');
        for (qint64 i = 0; i < bytes.size(); ++i)
            bytes[i] = i % 2 == 0 ? char(i / 4096 % 2 == 0 ? 0x20 : 0xFF) : char(0);
        return bytes;
    }
    case Library: {
        // The benchmark's own executable repeated: code, tables, strings and zeros.
        QFile file(programPath);
        const QByteArray program = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QByteArray bytes;
        while (!program.isEmpty() && bytes.size() < FillerBytes)
            bytes += program;
        return bytes.left(FillerBytes);
    }
    }
    return {};
}

const QByteArray &filler(Filler kind)
{
    static std::map<Filler, QByteArray> made;
    auto found = made.find(kind);
    if (found == made.end())
        found = made.emplace(kind, makeFiller(kind)).first;
    return found->second;
}

void BM_SearchFiller(benchmark::State &state)
{
    const QByteArray &bytes = filler(Filler(state.range(0)));
    qint64 runs = 0;
    for (auto _ : state) {
        runs = vocafetch::findHeaderlessRuns(bytes.constData(), 0, bytes.size()).size();
        benchmark::DoNotOptimize(runs);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["runs"] = double(runs);
}

// SID frames each followed by seven NO_DATA frames, as a pause in a DTX recording, over
// state.range(0) KiB, with no speech: no run, found in time linear in the length.
void BM_SearchDtxSilence(benchmark::State &state)
{
    RecGen::Rng rng(11);
    QByteArray bytes(1, char(0xFF));
    while (bytes.size() < state.range(0) << 10) {
        bytes += RecGen::randomFrame(false, 8, true, rng);
        bytes += QByteArray(7, char(RecGen::frameHeaderByte(15, true)));
    }
    qint64 runs = 0;
    for (auto _ : state) {
        runs = vocafetch::findHeaderlessRuns(bytes.constData(), 0, bytes.size()).size();
        benchmark::DoNotOptimize(runs);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["runs"] = double(runs);
}

// The search over 2 MiB of random bytes, as the session reads a mapped container into a buffer
// that stays in the processor's caches.
void BM_SearchRandomInCache(benchmark::State &state)
{
    static const QByteArray bytes = RecGen::Rng(9).bytes(2 << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            vocafetch::findHeaderlessRuns(bytes.constData(), 0, bytes.size()).size());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_SearchRandomInCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchFiller)
    ->ArgName("filler")
    ->Arg(Zeros)
    ->Arg(Ones)
    ->Arg(Random)
    ->Arg(Pattern)
    ->Arg(Library)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchDtxSilence)
    ->ArgName("KiB")
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    programPath = QString::fromLocal8Bit(argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
