// Writes the sample recording container shipped in samples/.
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
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The .drf to write."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QString path = parser.positionalArguments().constFirst();
    const SampleGen::Layout layout = SampleGen::sampleContainer();
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
