// vocafetch-cli: lists the recordings in recording containers and extracts them to files.
#include "cli/CommandLine.h"
#include "cli/ExtractCommand.h"
#include "cli/ListCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocafetch-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VOCAFETCH_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const CliRequest request = parseCommandLine(QCoreApplication::arguments());
    switch (request.action) {
    case CliRequest::Action::ShowHelp:
    case CliRequest::Action::ShowVersion:
        out << request.text << Qt::endl;
        return 0;
    case CliRequest::Action::UsageError:
        err << "vocafetch-cli: " << request.text << "\n"
            << "Try 'vocafetch-cli --help' for more information." << Qt::endl;
        return 2;
    case CliRequest::Action::List:
        return runList(request, out, err);
    case CliRequest::Action::Extract:
        return runExtract(request, out, err);
    }
    return 2;
}
