#include "app/Localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

namespace Localization {

bool installRussianTranslations(QCoreApplication &app)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    auto *translator = new QTranslator(&app);
    if (!translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

int registerStandInFonts()
{
    struct StandIn
    {
        const char *family;
        const char *file;
    };
    static const StandIn standIns[] = {
        {"MS Sans Serif", "ms_sans_serif.ttf"},
        {"Tahoma", "tahoma.ttf"},
        {"Tahoma", "tahomabd.ttf"},
    };
    const QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("wine/fonts"),
                                  QStandardPaths::LocateDirectory);
    // Decide before adding anything, so that a family's bold file follows its regular one.
    QStringList present;
    for (const StandIn &standIn : standIns) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(standIn.family)))
            present << QString::fromLatin1(standIn.family);
    }
    int added = 0;
    for (const StandIn &standIn : standIns) {
        if (present.contains(QString::fromLatin1(standIn.family)))
            continue;
        for (const QString &folder : folders) {
            const QString path = QDir(folder).filePath(QString::fromLatin1(standIn.file));
            if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) {
                ++added;
                break;
            }
        }
    }
    return added;
}

QFont windowFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

QFont listFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    return font;
}

} // namespace Localization
