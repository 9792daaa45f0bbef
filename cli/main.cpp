// vocafetch-cli: lists the recordings in recording containers and extracts them to files.
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExtractCommand.h"
#include "cli/ListCommand.h"
#include "cli/TextOutput.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace vocafetch;

int main(int argc, char **argv)
{
    // Past a file size limit a write fails with EFBIG, reported for its container, instead of
    // the signal ending the program with temporary files behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocafetch-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VOCAFETCH_VERSION));

    const CliRequest request = parseCommandLine(argumentsFromArgv(argc, argv));
    switch (request.action) {
    case CliRequest::Action::ShowHelp:
    case CliRequest::Action::ShowVersion: {
        Console console(stdout, stderr, false);
        const QByteArray text = request.text.toUtf8();
        console.writeOut(text.endsWith('\n') ? text : text + '\n');
        return console.finish(0);
    }
    case CliRequest::Action::UsageError: {
        Console console(stdout, stderr, false);
        console.writeErr(errorLine(request.text) +
                         "Try 'vocafetch-cli --help' for more information.\n");
        return 2;
    }
    case CliRequest::Action::List: {
        Console console(stdout, stderr, !request.quiet, {"container listed", "containers listed"});
        return runList(request, console);
    }
    case CliRequest::Action::Extract: {
        Console console(stdout, stderr, !request.quiet);
        return runExtract(request, console);
    }
    }
    return 2;
}
