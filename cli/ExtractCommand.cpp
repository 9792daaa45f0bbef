#include "cli/ExtractCommand.h"

#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// "[2/5] calls.drf" on the terminal's last line, rewritten for each container.
class Progress
{
public:
    Progress(QTextStream &err, int total)
        : m_err(err), m_total(total), m_enabled(total > 1 && isatty(STDERR_FILENO))
    {
    }
    ~Progress() { clear(); }

    void show(int index, const QString &path)
    {
        if (!m_enabled)
            return;
        m_err << "\r\x1b[K[" << index + 1 << '/' << m_total << "] " << path << Qt::flush;
        m_shown = true;
    }
    void clear()
    {
        if (m_shown)
            m_err << "\r\x1b[K" << Qt::flush;
        m_shown = false;
    }

private:
    QTextStream &m_err;
    int m_total;
    bool m_enabled;
    bool m_shown = false;
};

using vocafetch::ContainerSession;
using vocafetch::OutputKind;

OutputKind outputOf(const CliRequest &request)
{
    if (request.wav)
        return OutputKind::Wav;
    return request.clean ? OutputKind::Clean : OutputKind::Whole;
}

QString canonicalOutput(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Why the plan may not be carried out, or an empty string when it may.
QString refusal(const ExtractPlan &plan, bool force, const QSet<QString> &writtenThisRun)
{
    for (const QString &output : plan.outputs) {
        if (writtenThisRun.contains(canonicalOutput(output)))
            return QStringLiteral("%1 was just written from another container; nothing written "
                                  "(use --prefix or -o to keep them apart)")
                .arg(output);
    }
    if (force)
        return {};
    for (const QString &output : plan.outputs) {
        if (QFileInfo::exists(output))
            return QStringLiteral("%1 exists; nothing written (use --force to replace it)")
                .arg(output);
    }
    return {};
}

} // namespace

QString chosenNameFor(const QString &containerPath, const QString &outputDir, const QString &prefix)
{
    const QString name = prefix.isEmpty() ? QFileInfo(containerPath).completeBaseName() : prefix;
    return QDir(outputDir).filePath(name);
}

ExtractPlan planExtraction(const ContainerSession &container, const QString &chosenName,
                           OutputKind output)
{
    ExtractPlan plan;
    plan.chosenName = chosenName;
    plan.output = output;
    for (int i = 0; i < container.recordingCount(); ++i)
        plan.outputs.append(vocafetch::outputFileName(chosenName, i + 1, output));
    return plan;
}

int runExtract(const CliRequest &request, QTextStream &out, QTextStream &err)
{
    if (!QDir().mkpath(request.outputDir)) {
        err << "vocafetch-cli: " << request.outputDir << ": cannot create the output folder"
            << Qt::endl;
        return 1;
    }
    bool anyFailed = false;
    QSet<QString> writtenThisRun;
    Progress progress(err, static_cast<int>(request.files.size()));
    for (int index = 0; index < request.files.size(); ++index) {
        const QString &path = request.files.at(index);
        progress.show(index, path);
        int written = 0;
        try {
            auto container = std::make_unique<ContainerSession>(path);
            const ExtractPlan plan =
                planExtraction(*container, chosenNameFor(path, request.outputDir, request.prefix),
                               outputOf(request));
            const QString refused = refusal(plan, request.force, writtenThisRun);
            if (!refused.isEmpty())
                throw ExtractError(refused);
            for (int i = 0; i < container->recordingCount(); ++i) {
                container->write(i, plan.output, plan.outputs.at(i));
                writtenThisRun.insert(canonicalOutput(plan.outputs.at(i)));
                ++written;
            }
            progress.clear();
            if (written == 0)
                out << path << ": no recordings found" << Qt::endl;
            else
                out << path << ": " << written << " recordings written to "
                    << QDir::toNativeSeparators(request.outputDir) << Qt::endl;
        } catch (const ExtractError &error) {
            anyFailed = true;
            progress.clear();
            err << "vocafetch-cli: " << path << ": " << vocafetch::oneLine(error.message());
            if (written > 0)
                err << " (" << written << " recordings written before)";
            err << Qt::endl;
        }
    }
    return anyFailed ? 1 : 0;
}
