// Draws every skin bitmap of the built-in styles and writes them, with the resource file listing
// them and the program icon's desktop sizes, into a folder; or renders a contact sheet of the
// bitmaps in such a folder.
#include "ArtKit.h"
#include "ContactSheet.h"
#include "ProgramIcon.h"
#include "SampleTheme.h"
#include "StyleArt.h"
#include "skin/style/BuiltinStyleTable.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

using namespace vocafetch;

namespace {

art::ArtSet generateAll()
{
    art::ArtSet out;
    for (TsuiUIStyle style : BuiltinStyleTable::styles()) {
        art::addTitleArt(style, out);
        art::addControlArt(art::controlLook(style), out);
    }
    art::addSharedArt(out);
    return out;
}

bool writeQrc(const QDir &dir, const art::ArtSet &set, QString *error)
{
    QSaveFile file(dir.filePath(QStringLiteral("skin.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    QTextStream s(&file);
    s << "<!DOCTYPE RCC>\n<!-- Written by vocafetch-artgen; do not edit by hand. -->\n"
      << "<RCC version=\"1.0\">\n<qresource prefix=\"/skin\">\n";
    for (const auto &[name, img] : set)
        s << "    <file>" << name << ".png</file>\n";
    s << "</qresource>\n</RCC>\n";
    s.flush();
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// The program icon at the sizes a desktop's icon theme and software centres ask for, beside the
// window's own sizes: bitmaps and an SVG that are installed, not compiled into the program.
bool writeDesktopIcons(const QDir &dir)
{
    for (int size : {64, 128, 256}) {
        const QString path = dir.filePath(QStringLiteral("MAINICON_%1.png").arg(size));
        if (!art::programIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    QSaveFile svg(dir.filePath(QStringLiteral("MAINICON.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(art::programIconSvg()) < 0 || !svg.commit()) {
        std::fprintf(stderr, "Cannot write %s: %s\n", qPrintable(svg.fileName()),
                     qPrintable(svg.errorString()));
        return false;
    }
    return true;
}

int writeArt(const QString &outDir)
{
    QDir dir(outDir);
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "Cannot create folder %s\n", qPrintable(outDir));
        return 1;
    }
    const art::ArtSet set = generateAll();
    for (const auto &[name, img] : set) {
        const QString path = dir.filePath(name + QStringLiteral(".png"));
        if (!img.save(path, "PNG")) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QString error;
    if (!writeQrc(dir, set, &error)) {
        std::fprintf(stderr, "Cannot write skin.qrc: %s\n", qPrintable(error));
        return 1;
    }
    if (!writeDesktopIcons(dir))
        return 1;
    std::printf("Wrote %d bitmaps to %s\n", int(set.size()), qPrintable(dir.absolutePath()));
    return 0;
}

int writeSheet(const QString &sheetPath, const QString &fromDir)
{
    art::ArtSet set = generateAll();
    if (!fromDir.isEmpty()) {
        // Show what is stored, not what would be drawn now.
        for (auto &[name, img] : set) {
            const QString path = QDir(fromDir).filePath(name + QStringLiteral(".png"));
            img = QImage(path);
            if (img.isNull()) {
                std::fprintf(stderr, "Cannot read %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    const QImage sheet = art::renderContactSheet(set);
    if (!sheet.save(sheetPath, "PNG")) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(sheetPath));
        return 1;
    }
    std::printf("Wrote %s (%dx%d)\n", qPrintable(sheetPath), sheet.width(), sheet.height());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocafetch-artgen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws the skin bitmaps of every built-in style."));
    parser.addHelpOption();
    const QCommandLineOption outOption(
        QStringLiteral("out"),
        QStringLiteral("Write every bitmap, skin.qrc and the desktop icons into <folder>."),
        QStringLiteral("folder"));
    const QCommandLineOption sheetOption(QStringLiteral("contact-sheet"),
                                         QStringLiteral("Render a contact sheet to <file>."),
                                         QStringLiteral("file"));
    const QCommandLineOption fromOption(
        QStringLiteral("from"),
        QStringLiteral("With --contact-sheet: show the bitmaps stored in <folder>."),
        QStringLiteral("folder"));
    const QCommandLineOption themeOption(QStringLiteral("theme"),
                                         QStringLiteral("Write the sample theme into <folder>."),
                                         QStringLiteral("folder"));
    parser.addOptions({outOption, sheetOption, fromOption, themeOption});
    parser.process(app);

    if (!parser.isSet(outOption) && !parser.isSet(sheetOption) && !parser.isSet(themeOption)) {
        std::fprintf(stderr, "Nothing to do: give --out <folder>, --theme <folder> or "
                             "--contact-sheet <file>.\n");
        return 2;
    }
    if (parser.isSet(outOption)) {
        if (const int rc = writeArt(parser.value(outOption)))
            return rc;
    }
    if (parser.isSet(themeOption)) {
        QString error;
        if (!art::writeSampleTheme(parser.value(themeOption), &error)) {
            std::fprintf(stderr, "Cannot write the sample theme: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("Wrote the sample theme to %s\n", qPrintable(parser.value(themeOption)));
    }
    if (parser.isSet(sheetOption))
        return writeSheet(parser.value(sheetOption), parser.value(fromOption));
    return 0;
}
