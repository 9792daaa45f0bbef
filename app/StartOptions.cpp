#include "app/StartOptions.h"

namespace vocafetch {

namespace {

const QString LangOption = QStringLiteral("--lang");

Language languageNamed(const QString &name)
{
    if (name == QLatin1String("ru"))
        return Language::Russian;
    if (name == QLatin1String("en"))
        return Language::English;
    throw StartOptionError("unknown language '" + name.toStdString() +
                           "' for --lang: use ru or en");
}

} // namespace

StartOptions parseStartOptions(const QStringList &arguments)
{
    StartOptions options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded) {
            options.files << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == LangOption) {
            if (i + 1 == arguments.size())
                throw StartOptionError("--lang needs a language: ru or en");
            options.language = languageNamed(arguments.at(++i));
        } else if (argument.startsWith(LangOption + QLatin1Char('='))) {
            options.language = languageNamed(argument.mid(LangOption.size() + 1));
        } else {
            options.files << argument;
        }
    }
    return options;
}

QString startHelpText()
{
    return QStringLiteral(
        "Usage: vocafetch [--lang ru|en] [FILE|FOLDER]...\n"
        "Shows the voice recordings of recording containers in a window and saves them.\n"
        "The files named, and every file below the folders named, are listed in the window.\n"
        "\n"
        "Options:\n"
        "  --lang ru|en  the window's language (default: Russian on a Russian or C system,\n"
        "                English on any other)\n"
        "  -h, --help    show this help and end\n"
        "  --version     show the program's version and end\n"
        "  --            every argument after it is a file name\n"
        "\n"
        "vocafetch-cli lists and extracts recordings without a window.\n");
}

} // namespace vocafetch
