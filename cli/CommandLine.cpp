#include "cli/CommandLine.h"

#include "extract/RawFileName.h"
#include "extract/encode/OutputFormat.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace vocafetch {

namespace {

const QString Description = QStringLiteral(
    "Finds the AMR voice recordings in phone recording containers (.drf files) and lists them\n"
    "or saves each one as a stand-alone .amr file. Containers are only read.\n"
    "\n"
    "Commands:\n"
    "  list [--json] [-r] FILE...                     show the recordings of each container\n"
    "  extract [-o DIR] [--prefix NAME] [--force] [--clean] [--format FORMAT] [-r] FILE...\n"
    "                                                 write DIR/NAME_k.amr for each recording k\n"
    "                                                 (--format wav: DIR/NAME_k.wav, ...)\n"
    "\n"
    "Recordings inside multimedia messages (MMS) are listed with the message's date, sender,\n"
    "recipients and subject and the name of their part; extract gives each file the message's\n"
    "date as its time, and --name names the files after the message.\n"
    "\n"
    "A FILE may be a file, a block device (a memory card, a disk image on a loop device) or a\n"
    "pipe; - reads standard input (extract names its files stdin_k). With -r a FILE may be a\n"
    "folder: every file below it is looked at, and extract mirrors the folders below DIR.");

// The options of one command; in the help of every command their descriptions start with
// the command's name (command), elsewhere command is empty.
QString describedFor(const QString &command, const QString &description)
{
    return command.isEmpty() ? description : command + QLatin1String(": ") + description;
}

void addCommonOptions(QCommandLineParser &parser)
{
    parser.addOption({{QStringLiteral("r"), QStringLiteral("recursive")},
                      QStringLiteral("Look at every file below the folders given, each folder "
                                     "under its own name (links are followed only to files "
                                     "inside the folder given).")});
    parser.addOption({{QStringLiteral("j"), QStringLiteral("jobs")},
                      QStringLiteral("Work on <n> containers at once (default: one per core); "
                                     "the output is the same whatever <n>."),
                      QStringLiteral("n")});
    parser.addOption({{QStringLiteral("q"), QStringLiteral("quiet")},
                      QStringLiteral("No progress line on the terminal.")});
    parser.addOption({QStringLiteral("verbose"),
                      QStringLiteral("Also name the files in which no recording was found, and "
                                     "what a folder walk leaves out on purpose.")});
    parser.addOption({QStringLiteral("headerless"),
                      QStringLiteral("Also find recordings whose \"#!AMR\" header is lost: long "
                                     "runs of AMR speech frames that no header precedes.")});
}

void addListOptions(QCommandLineParser &parser, const QString &command = {})
{
    parser.addOption({QStringLiteral("json"),
                      describedFor(command, QStringLiteral("Print the listing as JSON."))});
}

void addExtractOptions(QCommandLineParser &parser, const QString &command = {})
{
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      describedFor(command, QStringLiteral("Write the recordings into <dir> "
                                                           "(default: the current folder; "
                                                           "created when missing).")),
                      QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("prefix"),
         describedFor(command,
                      QStringLiteral("Name the files <name>_1.amr, <name>_2.amr, ... (default: "
                                     "the container's file name without its extension). Several "
                                     "containers number on: <name>_1 ... <name>_n from the first, "
                                     "<name>_n+1 ... from the next, in the order given.")),
         QStringLiteral("name")});
    parser.addOption({QStringLiteral("force"),
                      describedFor(command, QStringLiteral("Replace files that exist."))});
    parser.addOption(
        {QStringLiteral("clean"),
         describedFor(command, QStringLiteral("Write each recording from its \"#!AMR\" up to "
                                              "the end of its audio only, without the container "
                                              "bytes after it."))});
    const QStringList formats = vocafetch::outputFormatNames();
    parser.addOption(
        {QStringLiteral("format"),
         describedFor(command, QStringLiteral("%1 (default: the recording's bytes), or decode "
                                              "the audio and write it as %2: NAME_k.%3, ...")
                                   .arg(formats.first(), formats.mid(1).join(QLatin1String(", ")),
                                        formats.value(1))),
         QStringLiteral("format"), formats.first()});
    parser.addOption({QStringLiteral("wav"),
                      describedFor(command, QStringLiteral("The same as --format wav."))});
    parser.addOption(
        {QStringLiteral("name"),
         describedFor(command,
                      QStringLiteral("Name each file by <template> of the fields {name} (the "
                                     "prefix or the container's name), {k}, and from the message "
                                     "around the recording {date} (YYYY-MM-DD, UTC), {time} "
                                     "(HH-MM-SS), {from}, {subject}, {part} (the part's name "
                                     "without extension); a field the recording lacks is "
                                     "\"unknown\". Default: {name}_{k}. Slashes, control "
                                     "characters and a leading dot or dash become _, names are "
                                     "cut to 200 bytes, and a container two of whose recordings "
                                     "would get one name writes nothing.")),
         QStringLiteral("template")});
    parser.addOption({QStringLiteral("no-times"),
                      describedFor(command, QStringLiteral("Give the files the time they are "
                                                           "written, not the date of their "
                                                           "message."))});
}

void addFileArgument(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Recording containers: files, block devices, "
                                                "pipes; - is standard input."),
                                 QStringLiteral("FILE..."));
}

// The help that names every option of both commands.
QString helpOfEveryCommand(const QCommandLineOption &help, const QCommandLineOption &helpAll)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.addOption(help);
    parser.addOption(helpAll);
    parser.addVersionOption();
    addListOptions(parser, QStringLiteral("list"));
    addExtractOptions(parser, QStringLiteral("extract"));
    addCommonOptions(parser);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list or extract"));
    addFileArgument(parser);
    return parser.helpText();
}

// A file-name stem: a path separator would place the files outside the output folder.
bool isFileNameStem(const QString &prefix)
{
    return !prefix.contains(QLatin1Char('/')) && prefix != QLatin1String(".") &&
           prefix != QLatin1String("..") && !prefix.contains(QChar(0));
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
    const QCommandLineOption help(
        {QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Show this help (after a command: that command's options)."));
    const QCommandLineOption helpAll(QStringLiteral("help-all"),
                                     QStringLiteral("Show the options of every command."));
    parser.addOption(help);
    parser.addOption(helpAll);
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
        addCommonOptions(parser);
    } else if (command == QLatin1String("extract")) {
        request.action = CliRequest::Action::Extract;
        parser.addPositionalArgument(QStringLiteral("extract"),
                                     QStringLiteral("Write every recording to a file."),
                                     QStringLiteral("extract [options]"));
        addExtractOptions(parser);
        addCommonOptions(parser);
    } else {
        // Every option is known, so that the help names them all and a misplaced one is
        // reported as the missing command it is.
        parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list or extract"));
        addListOptions(parser, QStringLiteral("list"));
        addExtractOptions(parser, QStringLiteral("extract"));
        addCommonOptions(parser);
    }
    addFileArgument(parser);
    const bool parsed = parser.parse(arguments);

    if (parser.isSet(version)) {
        request.action = CliRequest::Action::ShowVersion;
        request.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                       QCoreApplication::applicationVersion();
        return request;
    }
    if (parser.isSet(helpAll)) {
        request.action = CliRequest::Action::ShowHelp;
        request.text = helpOfEveryCommand(help, helpAll);
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
    request.recursive = parser.isSet(QStringLiteral("recursive"));
    request.quiet = parser.isSet(QStringLiteral("quiet"));
    request.verbose = parser.isSet(QStringLiteral("verbose"));
    request.headerless = parser.isSet(QStringLiteral("headerless"));
    if (parser.isSet(QStringLiteral("jobs"))) {
        bool ok = false;
        request.jobs = parser.value(QStringLiteral("jobs")).toInt(&ok);
        if (!ok || request.jobs < 1 || request.jobs > 1024)
            return usageError(QStringLiteral("--jobs takes a count from 1 to 1024"));
    }
    if (request.action == CliRequest::Action::List) {
        request.json = parser.isSet(QStringLiteral("json"));
    } else {
        request.outputDir = parser.isSet(QStringLiteral("output"))
                                ? parser.value(QStringLiteral("output"))
                                : QStringLiteral(".");
        request.prefix = parser.value(QStringLiteral("prefix"));
        request.force = parser.isSet(QStringLiteral("force"));
        request.clean = parser.isSet(QStringLiteral("clean"));
        request.format = parser.value(QStringLiteral("format")).toLower();
        if (parser.isSet(QStringLiteral("wav"))) {
            if (parser.isSet(QStringLiteral("format")) && request.format != QLatin1String("wav"))
                return usageError(QStringLiteral("--wav and --format %1 contradict each other")
                                      .arg(request.format));
            request.format = QStringLiteral("wav");
        }
        request.restoreTimes = !parser.isSet(QStringLiteral("no-times"));
        if (parser.isSet(QStringLiteral("name"))) {
            QString problem;
            request.names = NameTemplate::parse(parser.value(QStringLiteral("name")), problem);
            if (!request.names)
                return usageError(problem);
        }
        if (!vocafetch::outputFormatNamed(request.format))
            return usageError(QStringLiteral("unknown format '%1' (%2)")
                                  .arg(parser.value(QStringLiteral("format")),
                                       vocafetch::outputFormatNames().join(QLatin1String(", "))));
        if (request.outputDir.isEmpty())
            return usageError(QStringLiteral("the output folder name is empty"));
        if (parser.isSet(QStringLiteral("prefix")) && request.prefix.isEmpty())
            return usageError(QStringLiteral("the prefix is empty"));
        if (!isFileNameStem(request.prefix))
            return usageError(QStringLiteral("the prefix '%1' is not a file name (use -o for "
                                             "the folder)")
                                  .arg(vocafetch::displayName(request.prefix)));
    }
    return request;
}

QStringList argumentsFromArgv(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(vocafetch::nameFromBytes(QByteArray(argv[i])));
    return arguments;
}

} // namespace vocafetch
