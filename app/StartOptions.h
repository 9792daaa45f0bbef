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
};

// A command line the program refuses, with a message for the user.
class StartOptionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. "--" ends the options: what follows is a
// file name even if it starts with "--lang". Any other argument is passed on as a file name,
// as a file manager's "open with" hands the program containers. Throws StartOptionError for a
// missing or unknown language.
StartOptions parseStartOptions(const QStringList &arguments);

} // namespace vocafetch
