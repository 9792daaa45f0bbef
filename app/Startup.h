#pragma once

#include "app/StartOptions.h"

#include <memory>
#include <optional>

class QApplication;
class QWidget;

namespace vocafetch {

class Dialogs;
class TForm1;
class TForm2;

// The program's start-up: the application's title, language and fonts, then its two windows
// in their fixed order.
namespace Startup {

// The language the command line names, else the one the system's locale asks for.
vocafetch::Language chooseLanguage(std::optional<vocafetch::Language> named);

// Titles the application "Vocafetch", installs the texts of language and the stand-in fonts.
void prepareApplication(QApplication &app, vocafetch::Language language);

// The main window, created first so that closing it ends the program, and the About box,
// created second and hidden. Form2 is destroyed before Form1.
struct Windows
{
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
};
Windows createWindows(Dialogs &dialogs);

// Closes `window` the normal way, its close handler included, when the process is told to end:
// SIGTERM (shutdown), SIGHUP (logout, the terminal gone) or SIGINT (Ctrl+C); then every event
// loop ends, a modal dialog's too. A signal ignored at start (nohup) stays ignored, and the
// same signal a second time ends the process at once, should closing hang.
void closeOnTerminationSignals(QWidget &window);

} // namespace Startup

} // namespace vocafetch
