#pragma once

#include "app/StartOptions.h"

#include <QFont>
#include <QStringList>

class QCoreApplication;

namespace vocafetch {

// The window's language, for its own texts and Qt's (file dialogs, message-box buttons), and
// the fonts the window is drawn with, so that everything on screen speaks one language in the
// intended faces.
namespace Localization {

// The language for a system whose preferred languages are uiLanguages, best first
// (QLocale::uiLanguages(), e.g. "en-US"): the first the window speaks; English when the system
// names only other languages (German, French, ...); Russian, the window's source language,
// when it names none ("C", "POSIX", nothing).
vocafetch::Language systemLanguage(const QStringList &uiLanguages);

// Makes the window's texts, Qt's own texts and the default locale speak language, replacing
// the translations an earlier call installed. Russian is the window's source language, so
// only Qt's texts are translated for it; English loads the translation built into the
// program. False when a translation could not be loaded (the texts then stay as written).
bool installTranslations(QCoreApplication &app, vocafetch::Language language);

// Registers the look-alikes of the window's fonts that Wine ships ("MS Sans Serif", "Tahoma")
// when the system has no font of that family. Returns how many font files were added.
int registerStandInFonts();

// "MS Sans Serif", 11 pixels high (8 points at 96 dpi): the window's font.
QFont windowFont();
// "Times New Roman", 13 pixels high: the two lists' font.
QFont listFont();

} // namespace Localization

} // namespace vocafetch
