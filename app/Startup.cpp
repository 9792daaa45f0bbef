#include "app/Startup.h"

#include "app/AboutBox.h"
#include "app/AppInfo.h"
#include "app/ImageList.h"
#include "app/Localization.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QLocale>

namespace Startup {

vocafetch::Language chooseLanguage(std::optional<vocafetch::Language> named)
{
    return named ? *named : Localization::systemLanguage(QLocale::system().uiLanguages());
}

void prepareApplication(QApplication &app, vocafetch::Language language)
{
    // The name only: a display name would be appended to every other window's caption.
    app.setApplicationName(AppInfo::Title);
    app.setDesktopFileName(QStringLiteral("vocafetch"));
    Localization::installTranslations(app, language);
    Localization::registerStandInFonts();
    app.setWindowIcon(ImageList::containerIcons().icon(0));
}

Windows createWindows(Dialogs &dialogs)
{
    Windows windows;
    windows.Form1 = std::make_unique<TForm1>(dialogs);
    windows.Form2 = std::make_unique<TForm2>(windows.Form1.get());
    windows.Form1->setAboutBox(windows.Form2.get());
    return windows;
}

} // namespace Startup
