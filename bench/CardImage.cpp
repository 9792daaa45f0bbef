// vocafetch_card_image: writes a memory card image for measuring the headerless search: blank
// space (zeros or 0xFF) or random bytes, with a few signed recordings and a few that lost their
// signature spread over it; --across puts one more without a signature across an offset (the
// edge of a mapping window). Prints where each recording lies.
// Usage: vocafetch_card_image --fill zeros|ones|random --size-mib N [--across MIB] OUTPUT
#include "RecordingGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>

using namespace vocafetch;

namespace {

constexpr int Recordings = 4; // of each kind
constexpr int FramesEach = 1500;

QByteArray joined(const QList<QByteArray> &frames)
{
    QByteArray bytes;
    for (const QByteArray &frame : frames)
        bytes += frame;
    return bytes;
}

struct Placed
{
    qint64 offset;
    QByteArray bytes;
    bool headerless;
};

bool writeImage(const QString &path, qint64 size, char fill, bool random,
                const QVector<Placed> &recordings)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    RecGen::Rng rng(5);
    constexpr qint64 Chunk = qint64(1) << 20;
    for (qint64 at = 0; at < size; at += Chunk) {
        QByteArray chunk = random ? rng.bytes(int(std::min(Chunk, size - at)))
                                  : QByteArray(int(std::min(Chunk, size - at)), fill);
        // Random bytes hold no signature by chance.
        if (random)
            chunk.replace('#', '~');
        for (const Placed &placed : recordings) {
            const qint64 from = std::max(placed.offset, at);
            const qint64 to = std::min(placed.offset + placed.bytes.size(), at + chunk.size());
            if (from < to)
                chunk.replace(int(from - at), int(to - from),
                              placed.bytes.mid(from - placed.offset, to - from));
        }
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a card image of blank space or random bytes with recordings."));
    parser.addHelpOption();
    const QCommandLineOption fillOption(QStringLiteral("fill"),
                                        QStringLiteral("zeros, ones (0xFF) or random."),
                                        QStringLiteral("kind"), QStringLiteral("zeros"));
    const QCommandLineOption sizeOption(QStringLiteral("size-mib"),
                                        QStringLiteral("The image's size in MiB."),
                                        QStringLiteral("n"), QStringLiteral("256"));
    const QCommandLineOption acrossOption(
        QStringLiteral("across"),
        QStringLiteral("Also a recording without its signature across this offset in MiB."),
        QStringLiteral("mib"));
    parser.addOptions({fillOption, sizeOption, acrossOption});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The image to write."));
    parser.process(app);
    const QString fill = parser.value(fillOption);
    const qint64 size = parser.value(sizeOption).toLongLong() << 20;
    if (parser.positionalArguments().size() != 1 || size < (qint64(8) << 20) ||
        (fill != QLatin1String("zeros") && fill != QLatin1String("ones") &&
         fill != QLatin1String("random")))
        parser.showHelp(2);

    RecGen::Rng rng(3);
    QVector<Placed> recordings;
    for (int i = 0; i < 2 * Recordings; ++i) {
        const bool headerless = i % 2 == 1;
        const bool wideBand = i % 4 >= 2;
        const QList<QByteArray> frames = RecGen::phoneLikeFrames(wideBand, FramesEach, rng);
        const QByteArray bytes =
            headerless ? joined(frames)
                       : RecGen::makeRecording(
                             wideBand ? AmrFormat::WideBand : AmrFormat::NarrowBand, 1, frames)
                             .bytes;
        recordings.append({size / (2 * Recordings + 1) * (i + 1), bytes, headerless});
    }
    if (parser.isSet(acrossOption)) {
        const QByteArray bytes = joined(RecGen::phoneLikeFrames(false, FramesEach, rng));
        const qint64 edge = parser.value(acrossOption).toLongLong() << 20;
        if (edge <= bytes.size() || edge + bytes.size() >= size)
            parser.showHelp(2);
        recordings.append({edge - bytes.size() / 2, bytes, true});
    }
    const QString path = parser.positionalArguments().constFirst();
    if (!writeImage(path, size, fill == QLatin1String("ones") ? char(0xFF) : '\0',
                    fill == QLatin1String("random"), recordings)) {
        std::fprintf(stderr, "vocafetch_card_image: cannot write %s\n", qPrintable(path));
        return 1;
    }
    for (const Placed &placed : recordings)
        std::printf("%s at %lld, %lld bytes\n", placed.headerless ? "headerless" : "signed",
                    placed.offset, qint64(placed.bytes.size()));
    return 0;
}
