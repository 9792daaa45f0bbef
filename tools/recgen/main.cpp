// vocafetch-recgen: writes sample recording containers for trying and measuring the analysis.
#include "SampleContainers.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

#include <cstdio>

namespace {

bool writeContainer(const QDir &dir, const QString &name, const RecGen::ContainerBuilder &builder)
{
    const QString path = dir.filePath(name);
    QSaveFile file(path);
    const QByteArray &bytes = builder.data();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "vocafetch-recgen: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    std::printf("%s: %lld bytes, %lld recordings\n", qPrintable(path), qint64(bytes.size()),
                qint64(builder.recordings().size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocafetch-recgen"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes sample recording containers: multipart.drf and mixed.drf, and "
                       "with --large a big container for measuring."));
    parser.addHelpOption();
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("Folder to write into."),
                                          QStringLiteral("DIR"), QStringLiteral("."));
    const QCommandLineOption largeOption(
        QStringLiteral("large"), QStringLiteral("Also write large.drf of about MIB mebibytes."),
        QStringLiteral("MIB"));
    parser.addOption(outputOption);
    parser.addOption(largeOption);
    parser.process(app);

    int mebibytes = 0;
    if (parser.isSet(largeOption)) {
        bool valid = false;
        mebibytes = parser.value(largeOption).toInt(&valid);
        if (!valid || mebibytes < 1 || mebibytes > 2000) {
            std::fprintf(stderr, "vocafetch-recgen: --large needs a size of 1 ... 2000 MiB\n");
            return 2;
        }
    }
    const QDir dir(parser.value(outputOption));
    if (!dir.exists()) {
        std::fprintf(stderr, "vocafetch-recgen: %s: no such folder\n", qPrintable(dir.path()));
        return 1;
    }
    bool ok = writeContainer(dir, QStringLiteral("multipart.drf"), RecGen::multipartSample()) &&
              writeContainer(dir, QStringLiteral("mixed.drf"), RecGen::mixedSample());
    if (ok && mebibytes > 0)
        ok = writeContainer(dir, QStringLiteral("large.drf"),
                            RecGen::largeContainer(qint64(mebibytes) << 20, 1));
    return ok ? 0 : 1;
}
