#include "app/Localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

namespace vocafetch {

namespace Localization {

namespace {

// Marks the translators installTranslations owns, so that a later call can take them away.
const char *const OwnTranslatorName = "vocafetch-translator";

void removeOwnTranslators(QCoreApplication &app)
{
    const QList<QTranslator *> own = app.findChildren<QTranslator *>(
        QLatin1String(OwnTranslatorName), Qt::FindDirectChildrenOnly);
    for (QTranslator *translator : own) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// Loads path into a translator the application owns; false when it cannot be loaded.
bool installTranslator(QCoreApplication &app, const QString &path)
{
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QLatin1String(OwnTranslatorName));
    if (!translator->load(path)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace

vocafetch::Language systemLanguage(const QStringList &uiLanguages)
{
    bool namesALanguage = false;
    for (const QString &name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::English)
            return vocafetch::Language::English;
        if (language == QLocale::Russian)
            return vocafetch::Language::Russian;
        namesALanguage |= language != QLocale::C && language != QLocale::AnyLanguage;
    }
    return namesALanguage ? vocafetch::Language::English : vocafetch::Language::Russian;
}

bool installTranslations(QCoreApplication &app, vocafetch::Language language)
{
    removeOwnTranslators(app);
    if (language == vocafetch::Language::English) {
        // Qt's own texts are written in English.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return installTranslator(app, QStringLiteral(":/i18n/vocafetch_en.qm"));
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return installTranslator(app, QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                                      .filePath(QStringLiteral("qtbase_ru.qm")));
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

} // namespace vocafetch
