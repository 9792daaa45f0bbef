// Writes the sample recording container shipped in samples/, or, with --size-mib, a large
// container of random bytes with recordings sprinkled in, for measurements.
#include "SampleContainer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocafetch-samplegen"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a recording container with four AMR-NB recordings."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(
        QStringLiteral("size-mib"),
        QStringLiteral("Write <n> MiB of random bytes with recordings sprinkled in instead."),
        QStringLiteral("n"));
    const QCommandLineOption spacingOption(
        QStringLiteral("spacing-kib"),
        QStringLiteral("With --size-mib: a recording every <n> KiB (default 64)."),
        QStringLiteral("n"), QStringLiteral("64"));
    parser.addOption(sizeOption);
    parser.addOption(spacingOption);
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The .drf to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    SampleGen::Layout layout;
    if (parser.isSet(sizeOption)) {
        const qint64 mib = parser.value(sizeOption).toLongLong();
        const qint64 spacingKib = parser.value(spacingOption).toLongLong();
        if (mib <= 0 || mib >= 2048 || spacingKib <= 0) {
            std::fprintf(stderr, "vocafetch-samplegen: give a size of 1 to 2047 MiB and a "
                                 "positive spacing\n");
            return 2;
        }
        layout = SampleGen::sprinkledContainer(mib << 20, spacingKib << 10, 4096, 42);
    } else {
        layout = SampleGen::sampleContainer();
    }

    const QString path = parser.positionalArguments().constFirst();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(layout.bytes) != layout.bytes.size() ||
        !file.commit()) {
        std::fprintf(stderr, "vocafetch-samplegen: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return 1;
    }
    std::printf("%s: %lld bytes, %lld recordings\n", qPrintable(path),
                static_cast<long long>(layout.bytes.size()),
                static_cast<long long>(layout.recordingStarts.size()));
    return 0;
}
