#pragma once

#include <QFont>

class QCoreApplication;

// Russian for Qt's own texts (file dialogs, message-box buttons) and the fonts the window is
// drawn with, so that everything on screen speaks one language in the intended faces.
namespace Localization {

// Installs Qt's Russian translations on the application; false when they are not installed.
bool installRussianTranslations(QCoreApplication &app);

// Registers the look-alikes of the window's fonts that Wine ships ("MS Sans Serif", "Tahoma")
// when the system has no font of that family. Returns how many font files were added.
int registerStandInFonts();

// "MS Sans Serif", 11 pixels high (8 points at 96 dpi): the window's font.
QFont windowFont();
// "Times New Roman", 13 pixels high: the two lists' font.
QFont listFont();

} // namespace Localization
