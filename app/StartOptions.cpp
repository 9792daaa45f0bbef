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

} // namespace vocafetch
