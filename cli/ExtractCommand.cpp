#include "cli/ExtractCommand.h"

#include "cli/ScannedContainer.h"
#include "extract/ExtractError.h"
#include "extract/RecordingExport.h"
#include "extract/analysis/WavFile.h"

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

ExtractOutput outputOf(const CliRequest &request)
{
    if (request.wav)
        return ExtractOutput::Wav;
    return request.clean ? ExtractOutput::Clean : ExtractOutput::Whole;
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

QString wavFileName(const QString &chosenName, int k)
{
    return chosenName + QLatin1Char('_') + QString::number(k) + QStringLiteral(".wav");
}

ExtractPlan planExtraction(const ScannedContainer &container, const QString &chosenName,
                           ExtractOutput output)
{
    ExtractPlan plan;
    plan.chosenName = chosenName;
    plan.output = output;
    for (int i = 0; i < container.recordingCount(); ++i)
        plan.outputs.append(output == ExtractOutput::Wav ? wavFileName(chosenName, i + 1)
                                                         : recordingFileName(chosenName, i + 1));
    if (output != ExtractOutput::Whole)
        plan.analyses =
            analyseRecordings(container.source().Data(), offsetsOf(container.scan().AmrStartList));
    return plan;
}

void writeRecording(ScannedContainer &container, TByteBuffer &output, const ExtractPlan &plan,
                    int i)
{
    switch (plan.output) {
    case ExtractOutput::Whole:
        ExportRecording(container.source(), output, container.scan().AmrStartList, i,
                        plan.chosenName);
        return;
    case ExtractOutput::Clean: {
        const ByteSpan span = cleanRange(plan.analyses.at(i));
        ExportRange(container.source(), output, qint32(span.begin), qint32(span.end - 1),
                    plan.outputs.at(i));
        return;
    }
    case ExtractOutput::Wav: {
        const RecordingAnalysis &analysis = plan.analyses.at(i);
        if (!analysis.recognised())
            throw ExtractError(QStringLiteral("recording %1 does not start with a known AMR "
                                              "header; %2 not written")
                                   .arg(i + 1)
                                   .arg(plan.outputs.at(i)));
        const ByteSpan span = cleanRange(analysis);
        writeAmrAsWav(plan.outputs.at(i), container.source().Data().constData(), span.begin,
                      span.end);
        return;
    }
    }
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
            auto container = std::make_unique<ScannedContainer>(path);
            const ExtractPlan plan =
                planExtraction(*container, chosenNameFor(path, request.outputDir, request.prefix),
                               outputOf(request));
            const QString refused = refusal(plan, request.force, writtenThisRun);
            if (!refused.isEmpty())
                throw ExtractError(refused);
            TByteBuffer output(container->clipboard());
            for (int i = 0; i < container->recordingCount(); ++i) {
                writeRecording(*container, output, plan, i);
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
            err << "vocafetch-cli: " << path << ": " << oneLine(error.message());
            if (written > 0)
                err << " (" << written << " recordings written before)";
            err << Qt::endl;
        }
    }
    return anyFailed ? 1 : 0;
}
