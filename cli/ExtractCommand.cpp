#include "cli/ExtractCommand.h"

#include "cli/Console.h"
#include "cli/ContainerInputs.h"
#include "cli/OrderedOutput.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"
#include "extract/SaveRun.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

using vocafetch::ContainerSession;
using vocafetch::OutputKind;

// The command line checked the format's name.
OutputKind outputOf(const CliRequest &request)
{
    return *OutputKind::named(request.format, request.clean);
}

// Creates the folder the user chose and its parents, as mkdir -p does (links on the way are
// the user's choice). Throws ExtractError when it cannot.
void makeFolders(const QByteArray &path)
{
    for (qsizetype at = path.indexOf('/', 1);; at = path.indexOf('/', at + 1)) {
        const QByteArray part = at < 0 ? path : path.left(at);
        struct stat info;
        if (!part.isEmpty() && stat(part.constData(), &info) != 0 &&
            ::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            throw ExtractError(QStringLiteral("cannot create the output folder %1: %2")
                                   .arg(vocafetch::displayName(vocafetch::nameFromBytes(part)),
                                        QString::fromLocal8Bit(std::strerror(errno))));
        if (at < 0)
            return;
    }
}

// One container on its way through the run.
struct ContainerJob
{
    ContainerInput input;
    QString outputFolder;
    qint64 size = 0;
    QVector<qint64> starts; // as the first scan found them
    int recordings = 0;     // the signed ones and, when asked for, the headerless ones
    int signedRecordings = 0;
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

void open(ContainerSession &session, const ContainerJob &job, const CliRequest &request)
{
    session.setFindHeaderless(request.headerless);
    session.openMapped(job.input.path);
}

void scan(ContainerJob &job, const CliRequest &request)
{
    job.error = vocafetch::failureOf([&] {
        ContainerSession session;
        open(session, job, request);
        job.size = session.size();
        job.starts = session.scan().recordingStarts;
        job.recordings = session.recordingCount();
        job.signedRecordings = session.scan().recordingCount();
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
        job.plan = planExtraction(job.recordings, job.signedRecordings,
                                  chosenNameFor(job.input.path, job.outputFolder, request.prefix),
                                  outputOf(request));
        job.error = refusal(job.plan, request.force, namedThisRun);
        if (!job.error.isEmpty())
            continue;
        for (const QString &output : job.plan.outputs)
            namedThisRun.insert(canonicalOutput(output));
    }
}

// The plan of a job as the save loop takes it: the folder, the names, the placement.
vocafetch::SavePlan savePlanOf(const ContainerJob &job, const CliRequest &request)
{
    vocafetch::SavePlan plan;
    plan.kind = job.plan.output;
    plan.folder = vocafetch::bytesFromName(request.outputDir);
    plan.subfolder = vocafetch::bytesFromName(job.input.relativeFolder);
    plan.placement =
        request.force ? vocafetch::Placement::ReplaceExisting : vocafetch::Placement::KeepExisting;
    for (int i = 0; i < job.plan.outputs.size(); ++i) {
        plan.recordings.append(i);
        plan.names.append(vocafetch::bytesFromName(QFileInfo(job.plan.outputs.at(i)).fileName()));
    }
    return plan;
}

QString skippedText(const vocafetch::SkippedRecording &skipped)
{
    return skipped.reason + (skipped.kind == vocafetch::ErrorKind::NothingToConvert
                                 ? QStringLiteral("; nothing to convert, not written")
                                 : QStringLiteral("; not written"));
}

// Writes one job's files (the save loop: one batch made durable together, then named without
// replacing anything unless --force). Returns how many were placed.
int write(ContainerJob &job, const CliRequest &request, Console &console)
{
    int placed = 0;
    QStringList problems;
    job.error = vocafetch::failureOf([&] {
        ContainerSession session;
        open(session, job, request);
        if (session.size() != job.size || session.scan().recordingStarts != job.starts ||
            session.recordingCount() != job.recordings)
            throw ExtractError(QStringLiteral("the container changed while it was read; nothing "
                                              "written"),
                               vocafetch::ErrorKind::ContainerChanged);
        vocafetch::SaveControl control;
        int shown = 0;
        control.progress = [&](int written, int) {
            console.advance(0, written - shown);
            shown = written;
        };
        const vocafetch::SaveOutcome outcome =
            vocafetch::saveRecordings(session, savePlanOf(job, request), control);
        placed = outcome.placed;
        for (const vocafetch::SkippedRecording &skipped : outcome.skipped)
            problems << skippedText(skipped);
        problems << outcome.problems;
    });
    if (job.error.isEmpty() && !problems.isEmpty())
        job.error = problems.join(QLatin1String("; "));
    return placed;
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

ExtractPlan planExtraction(int recordingCount, int signedCount, const QString &chosenName,
                           OutputKind output)
{
    ExtractPlan plan;
    plan.chosenName = chosenName;
    plan.output = output;
    for (int i = 0; i < recordingCount; ++i)
        plan.outputs.append(vocafetch::savedFileName(chosenName, i, signedCount, output));
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
    const QString folderFailure =
        vocafetch::failureOf([&] { makeFolders(vocafetch::bytesFromName(request.outputDir)); });
    if (!folderFailure.isEmpty()) {
        console.writeErr("vocafetch-cli: " + folderFailure.toUtf8() + '\n');
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
        scan(jobs[index], request);
        console.advance(jobs[index].size);
    });
    planAll(jobs, request);
    OrderedOutput writing(console, int(jobs.size()));
    writing.run(threads, [&](int index) {
        ContainerJob &job = jobs[index];
        const int written = job.error.isEmpty() ? write(job, request, console) : 0;
        report(job, written, index, writing);
    });
    console.clearProgress();
    for (const ContainerJob &job : jobs)
        anyFailed = anyFailed || !job.error.isEmpty();
    return anyFailed ? 1 : 0;
}
