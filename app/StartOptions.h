#pragma once

#include <QStringList>

#include <optional>
#include <stdexcept>

namespace vocafetch {

// What the window program is told on its command line: the language of its texts and the
// containers to list.

enum class Language
{
    Russian,
    English,
};

struct StartOptions
{
    std::optional<Language> language; // set by "--lang ru|en" or "--lang=ru|en"
    QStringList files;                // every other argument, in order
    bool help = false;                // "--help" or "-h": print startHelpText() and end
    bool version = false;             // "--version": print the version and end
};

// The usage the window program prints for --help, in English as the command-line tool's.
QString startHelpText();

// A command line the program refuses, with a message for the user.
class StartOptionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. "--" ends the options: what follows is a
// file name even if it starts with "--lang" or is "--help". Any other argument is passed on as a
// file name, as a file manager's "open with" hands the program containers. Throws StartOptionError
// for a missing or unknown language.
StartOptions parseStartOptions(const QStringList &arguments);

} // namespace vocafetch
