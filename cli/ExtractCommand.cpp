#include "cli/ExtractCommand.h"

#include "cli/Console.h"
#include "cli/ContainerInputs.h"
#include "cli/OrderedOutput.h"
#include "extract/ContainerFileScan.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace {

using vocafetch::ContainerSession;
using vocafetch::OutputKind;

OutputKind outputOf(const CliRequest &request)
{
    if (request.format == QLatin1String("wav"))
        return OutputKind::Wav;
    return request.clean ? OutputKind::Clean : OutputKind::Whole;
}

// One container on its way through the run.
struct ContainerJob
{
    ContainerInput input;
    QString outputFolder;
    qint64 size = 0;
    QVector<qint64> starts; // as the first scan found them
    ExtractPlan plan;
    QString error; // set when the container fails; it then writes nothing
};

QString canonicalOutput(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Whether anything is at the name: a file, a folder, or a link (even one leading nowhere,
// which a write would follow).
bool nameTaken(const QString &path)
{
    struct stat info;
    return lstat(vocafetch::bytesFromName(path).constData(), &info) == 0;
}

// Why the plan may not be carried out, or an empty string when it may.
QString refusal(const ExtractPlan &plan, bool force, const QSet<QString> &namedThisRun)
{
    for (const QString &output : plan.outputs) {
        if (namedThisRun.contains(canonicalOutput(output)))
            return QStringLiteral("%1 was just written from another container; nothing written "
                                  "(use --prefix or -o to keep them apart)")
                .arg(vocafetch::displayName(output));
    }
    if (force)
        return {};
    for (const QString &output : plan.outputs) {
        if (nameTaken(output))
            return QStringLiteral("%1 exists; nothing written (use --force to replace it)")
                .arg(vocafetch::displayName(output));
    }
    return {};
}

void scan(ContainerJob &job)
{
    job.error = vocafetch::failureOf([&] {
        const ContainerFileScan found = scanContainerFile(job.input.path);
        job.size = found.size;
        job.starts = found.scan.recordingStarts;
    });
}

// Names every job's files in the order the containers were given.
void planAll(QVector<ContainerJob> &jobs, const CliRequest &request)
{
    QSet<QString> namedThisRun;
    for (ContainerJob &job : jobs) {
        if (!job.error.isEmpty())
            continue;
        job.outputFolder = job.input.relativeFolder.isEmpty()
                               ? request.outputDir
                               : QDir(request.outputDir).filePath(job.input.relativeFolder);
        job.plan = planExtraction(int(job.starts.size()),
                                  chosenNameFor(job.input.path, job.outputFolder, request.prefix),
                                  outputOf(request));
        job.error = refusal(job.plan, request.force, namedThisRun);
        if (!job.error.isEmpty())
            continue;
        for (const QString &output : job.plan.outputs)
            namedThisRun.insert(canonicalOutput(output));
    }
}

// Writes one job's files; returns how many were written before a failure, if any.
int write(ContainerJob &job, Console &console)
{
    int written = 0;
    job.error = vocafetch::failureOf([&] {
        if (!job.plan.outputs.isEmpty() && !QDir().mkpath(job.outputFolder))
            throw ExtractError(QStringLiteral("cannot create the output folder %1")
                                   .arg(vocafetch::displayName(job.outputFolder)));
        ContainerSession session(job.input.path);
        if (session.size() != job.size || session.scan().recordingStarts != job.starts)
            throw ExtractError(QStringLiteral("the container changed while it was read; nothing "
                                              "written"));
        for (int i = 0; i < session.recordingCount(); ++i) {
            session.write(i, job.plan.output, job.plan.outputs.at(i));
            ++written;
            console.advance(0, 1);
        }
    });
    return written;
}

void report(const ContainerJob &job, int written, int index, OrderedOutput &output)
{
    const QByteArray shown = vocafetch::displayName(job.input.path).toUtf8();
    if (!job.error.isEmpty()) {
        QByteArray line = "vocafetch-cli: " + shown + ": " + job.error.toUtf8();
        if (written > 0)
            line += " (" + QByteArray::number(written) + " recordings written before)";
        output.write(index, OrderedOutput::Stream::Err, line + '\n');
        return;
    }
    if (written == 0)
        output.write(index, OrderedOutput::Stream::Out, shown + ": no recordings found\n");
    else
        output.write(
            index, OrderedOutput::Stream::Out,
            shown + ": " + QByteArray::number(written) + " recordings written to " +
                vocafetch::displayName(QDir::toNativeSeparators(job.outputFolder)).toUtf8() + '\n');
}

} // namespace

QString chosenNameFor(const QString &containerPath, const QString &outputDir, const QString &prefix)
{
    const QString name = prefix.isEmpty() ? QFileInfo(containerPath).completeBaseName() : prefix;
    return QDir(outputDir).filePath(name);
}

ExtractPlan planExtraction(int recordingCount, const QString &chosenName, OutputKind output)
{
    ExtractPlan plan;
    plan.chosenName = chosenName;
    plan.output = output;
    for (int i = 0; i < recordingCount; ++i)
        plan.outputs.append(vocafetch::outputFileName(chosenName, i + 1, output));
    return plan;
}

int runExtract(const CliRequest &request, Console &console)
{
    const ContainerInputs inputs = collectInputs(request.files, request.recursive);
    bool anyFailed = false;
    for (const SkippedInput &skipped : inputs.skipped) {
        console.reportError(skipped.path, skipped.reason);
        anyFailed = anyFailed || skipped.failure;
    }
    if (!QDir().mkpath(request.outputDir)) {
        console.reportError(request.outputDir, QStringLiteral("cannot create the output folder"));
        return 1;
    }
    QVector<ContainerJob> jobs;
    qint64 total = 0;
    for (const ContainerInput &input : inputs.containers) {
        ContainerJob job;
        job.input = input;
        jobs.append(job);
        total += fileSize(input.path);
    }
    console.setTotal(total);
    const int threads = jobCount(request.jobs);

    OrderedOutput scanning(console, int(jobs.size()));
    scanning.run(threads, [&](int index) {
        scan(jobs[index]);
        console.advance(jobs[index].size);
    });
    planAll(jobs, request);
    OrderedOutput writing(console, int(jobs.size()));
    writing.run(threads, [&](int index) {
        ContainerJob &job = jobs[index];
        const int written = job.error.isEmpty() ? write(job, console) : 0;
        report(job, written, index, writing);
    });
    console.clearProgress();
    for (const ContainerJob &job : jobs)
        anyFailed = anyFailed || !job.error.isEmpty();
    return anyFailed ? 1 : 0;
}
