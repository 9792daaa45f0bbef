#pragma once

#include <memory>

class Dialogs;
class QApplication;
class TForm1;
class TForm2;

// The program's start-up: the application's title, language and fonts, then its two windows
// in their fixed order.
namespace Startup {

// Titles the application "Vocafetch", installs Qt's Russian texts and the stand-in fonts.
void prepareApplication(QApplication &app);

// The main window, created first so that closing it ends the program, and the About box,
// created second and hidden. Form2 is destroyed before Form1.
struct Windows
{
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
};
Windows createWindows(Dialogs &dialogs);

} // namespace Startup
