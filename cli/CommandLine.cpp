#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString Description = QStringLiteral(
    "Finds the AMR voice recordings in phone recording containers (.drf files) and lists them\n"
    "or saves each one as a stand-alone .amr file. Containers are only read.\n"
    "\n"
    "Commands:\n"
    "  list [--json] FILE...                          show the recordings of each container\n"
    "  extract [-o DIR] [--prefix NAME] [--force] [--clean | --wav] FILE...\n"
    "                                                 write DIR/NAME_k.amr for each recording k\n"
    "                                                 (--wav: DIR/NAME_k.wav)");

void addListOptions(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print the listing as JSON.")});
}

void addExtractOptions(QCommandLineParser &parser)
{
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Write the recordings into <dir> (default: the current "
                                     "folder; created when missing)."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("prefix"),
                      QStringLiteral("Name the files <name>_1.amr, <name>_2.amr, ... (default: "
                                     "the container's file name without its extension)."),
                      QStringLiteral("name")});
    parser.addOption({QStringLiteral("force"), QStringLiteral("Replace files that exist.")});
    parser.addOption({QStringLiteral("clean"),
                      QStringLiteral("Write each recording from its \"#!AMR\" up to the end of "
                                     "its audio only, without the container bytes after it.")});
    parser.addOption({QStringLiteral("wav"),
                      QStringLiteral("Decode each recording's audio and write it as NAME_k.wav "
                                     "(16-bit mono PCM, 8 kHz narrow band, 16 kHz wide band).")});
}

CliRequest usageError(const QString &text)
{
    CliRequest request;
    request.action = CliRequest::Action::UsageError;
    request.text = text;
    return request;
}

} // namespace

CliRequest parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list or extract"));
    parser.parse(arguments); // a first look, only to find the command

    const QString command = parser.positionalArguments().value(0);
    CliRequest request;
    parser.clearPositionalArguments();
    if (command == QLatin1String("list")) {
        request.action = CliRequest::Action::List;
        parser.addPositionalArgument(QStringLiteral("list"), QStringLiteral("List recordings."),
                                     QStringLiteral("list [--json]"));
        addListOptions(parser);
    } else if (command == QLatin1String("extract")) {
        request.action = CliRequest::Action::Extract;
        parser.addPositionalArgument(QStringLiteral("extract"),
                                     QStringLiteral("Write every recording to a file."),
                                     QStringLiteral("extract [options]"));
        addExtractOptions(parser);
    } else {
        parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list or extract"));
    }
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Recording containers."),
                                 QStringLiteral("FILE..."));
    const bool parsed = parser.parse(arguments);

    if (parser.isSet(version)) {
        request.action = CliRequest::Action::ShowVersion;
        request.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                       QCoreApplication::applicationVersion();
        return request;
    }
    if (parser.isSet(help)) {
        request.action = CliRequest::Action::ShowHelp;
        request.text = parser.helpText();
        return request;
    }
    if (!parsed)
        return usageError(parser.errorText());
    if (command.isEmpty())
        return usageError(QStringLiteral("no command given (list or extract)"));
    if (request.action == CliRequest::Action::UsageError)
        return usageError(QStringLiteral("unknown command '%1' (list or extract)").arg(command));

    request.files = parser.positionalArguments().mid(1);
    if (request.files.isEmpty())
        return usageError(QStringLiteral("no container file given"));
    if (request.action == CliRequest::Action::List) {
        request.json = parser.isSet(QStringLiteral("json"));
    } else {
        request.outputDir = parser.isSet(QStringLiteral("output"))
                                ? parser.value(QStringLiteral("output"))
                                : QStringLiteral(".");
        request.prefix = parser.value(QStringLiteral("prefix"));
        request.force = parser.isSet(QStringLiteral("force"));
        request.clean = parser.isSet(QStringLiteral("clean"));
        request.wav = parser.isSet(QStringLiteral("wav"));
        if (request.outputDir.isEmpty())
            return usageError(QStringLiteral("the output folder name is empty"));
        if (parser.isSet(QStringLiteral("prefix")) && request.prefix.isEmpty())
            return usageError(QStringLiteral("the prefix is empty"));
    }
    return request;
}
