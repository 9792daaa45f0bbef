#include "cli/ExtractCommand.h"

#include "cli/Console.h"
#include "cli/ContainerInputs.h"
#include "cli/InputSource.h"
#include "cli/OrderedOutput.h"
#include "cli/TextOutput.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"
#include "extract/SaveRun.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace vocafetch {

namespace {

using vocafetch::ContainerSession;
using vocafetch::ContainerSource;
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
    // The container as it was scanned: the files are written only from the same state.
    vocafetch::ContainerSource::Stamp stamp;
    // A stream's bytes, kept in an unnamed file in the output folder until its files are
    // written; the system removes it with its last descriptor.
    std::shared_ptr<vocafetch::UniqueFd> spool;
    // With --name: the messages around the recordings and which carries each (empty when
    // none does), for the names.
    QVector<vocafetch::MmsMessage> messages;
    QVector<vocafetch::RecordingMessage> placements;
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

QByteArray pathBytes(const ContainerJob &job)
{
    return vocafetch::bytesFromName(job.input.path);
}

// The container for its scan: mapped where it lies, or a stream first kept whole in the output
// folder (extract reads a container twice).
std::unique_ptr<ContainerSource> openForScan(ContainerJob &job, Console &console)
{
    InputSource source = openInput(job.input);
    if (!source.stream.valid())
        return std::move(source.mapped);
    job.spool = std::make_shared<vocafetch::UniqueFd>(
        spoolStream(source.stream.get(), job.input.path, vocafetch::bytesFromName(job.outputFolder),
                    [&](qint64 length) { console.advance(length); }));
    return std::make_unique<ContainerSource>(pathBytes(job), duplicate(job.spool->get()));
}

ExtractError changedSinceScanned()
{
    return ExtractError(QStringLiteral("the container changed after it was looked at; nothing "
                                       "written"),
                        vocafetch::ErrorKind::ContainerChanged);
}

// The container for its files: the same state the scan saw, or an error.
std::unique_ptr<ContainerSource> openForWrite(const ContainerJob &job)
{
    if (job.spool)
        return std::make_unique<ContainerSource>(pathBytes(job), duplicate(job.spool->get()));
    InputSource source = openInput(job.input);
    if (!source.mapped || source.mapped->stamp() != job.stamp)
        throw changedSinceScanned();
    return std::move(source.mapped);
}

void scan(ContainerJob &job, const CliRequest &request, Console &console)
{
    job.error = vocafetch::failureOf([&] {
        std::unique_ptr<ContainerSource> source = openForScan(job, console);
        job.stamp = source->stamp();
        ContainerSession session;
        session.setFindHeaderless(request.headerless);
        session.openMapped(job.input.path, std::move(source));
        job.size = session.size();
        job.starts = session.scan().recordingStarts;
        job.recordings = session.recordingCount();
        job.signedRecordings = session.scan().recordingCount();
        if (request.names && !session.messages().isEmpty()) {
            job.messages = session.messages();
            job.placements.reserve(job.recordings);
            for (int i = 0; i < job.recordings; ++i)
                job.placements.append(session.placementOf(i));
        }
        if (!job.spool)
            console.advance(job.size);
    });
    if (!job.error.isEmpty())
        job.spool.reset();
}

// The fields of recording i's name with --name: the message and part carrying it.
vocafetch::RecordingNameFields nameFields(const ContainerJob &job, int i)
{
    vocafetch::RecordingNameFields fields;
    const vocafetch::RecordingMessage placed = job.placements.value(i);
    if (placed.message < 0 || placed.message >= job.messages.size())
        return fields;
    fields.message = &job.messages[placed.message];
    if (placed.part >= 0 && placed.part < fields.message->parts.size())
        fields.part = &fields.message->parts[placed.part];
    return fields;
}

// The plan's files named by the template instead, numbered as the plan numbers them.
void nameByTemplate(ContainerJob &job, const vocafetch::NameTemplate &names, int firstNumber,
                    int firstHeaderless)
{
    const QDir folder(job.outputFolder);
    const QString name = QFileInfo(job.plan.chosenName).fileName();
    for (int i = 0; i < job.plan.outputs.size(); ++i) {
        vocafetch::RecordingNameFields fields = nameFields(job, i);
        fields.name = name;
        fields.number =
            vocafetch::recordingNumber(i, job.signedRecordings, firstNumber, firstHeaderless);
        job.plan.outputs[i] =
            folder.filePath(vocafetch::templatedFileName(names, fields, job.plan.output));
    }
}

// Why the plan names two recordings alike, or an empty string.
QString sameNames(const ExtractPlan &plan)
{
    QHash<QString, int> first;
    first.reserve(plan.outputs.size());
    for (int i = 0; i < plan.outputs.size(); ++i) {
        const auto taken = first.constFind(plan.outputs[i]);
        if (taken != first.constEnd())
            return QStringLiteral("%1 would be the name of recordings %2 and %3; nothing "
                                  "written (add {k} to --name to keep them apart)")
                .arg(vocafetch::displayName(plan.outputs[i]))
                .arg(*taken + 1)
                .arg(i + 1);
        first.insert(plan.outputs[i], i);
    }
    return {};
}

// Names every job's files in the order the containers were given. A prefix shared by several
// containers numbers on across them, folder by folder.
void planAll(QVector<ContainerJob> &jobs, const CliRequest &request)
{
    QSet<QString> namedThisRun;
    QHash<QString, QPair<int, int>> numbersUsed; // per folder: signed, headerless
    for (ContainerJob &job : jobs) {
        if (!job.error.isEmpty())
            continue;
        QPair<int, int> &used = numbersUsed[canonicalOutput(job.outputFolder)];
        const bool numberOn = !request.prefix.isEmpty();
        job.plan = planExtraction(job.recordings, job.signedRecordings,
                                  chosenNameFor(job.input, job.outputFolder, request.prefix),
                                  outputOf(request), numberOn ? used.first + 1 : 1,
                                  numberOn ? used.second + 1 : 1);
        if (request.names) {
            nameByTemplate(job, *request.names, numberOn ? used.first + 1 : 1,
                           numberOn ? used.second + 1 : 1);
            job.error = sameNames(job.plan);
        }
        if (job.error.isEmpty())
            job.error = refusal(job.plan, request.force, namedThisRun);
        if (!job.error.isEmpty()) {
            job.spool.reset();
            continue;
        }
        used.first += job.signedRecordings;
        used.second += job.recordings - job.signedRecordings;
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
    plan.restoreTimes = request.restoreTimes;
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

// What writing one job's files came to.
struct Written
{
    int placed = 0;
    QStringList problems; // recordings skipped, files not placed; the others were written
};

// Writes one job's files (the save loop: one batch made durable together, then named without
// replacing anything unless --force), from the container as it was scanned.
Written write(ContainerJob &job, const CliRequest &request, Console &console)
{
    Written written;
    job.error = vocafetch::failureOf([&] {
        ContainerSession session;
        session.setFindHeaderless(request.headerless);
        session.openMapped(job.input.path, openForWrite(job));
        if (session.size() != job.size || session.scan().recordingStarts != job.starts ||
            session.recordingCount() != job.recordings)
            throw changedSinceScanned();
        vocafetch::SaveControl control;
        int shown = 0;
        control.progress = [&](int files, int) {
            console.advance(0, files - shown);
            shown = files;
        };
        const vocafetch::SaveOutcome outcome =
            vocafetch::saveRecordings(session, savePlanOf(job, request), control);
        written.placed = outcome.placed;
        for (const vocafetch::SkippedRecording &skipped : outcome.skipped)
            written.problems << skippedText(skipped);
        written.problems << outcome.problems;
    });
    job.spool.reset();
    return written;
}

QByteArray shownFolder(const ContainerJob &job)
{
    return shownPath(QDir::toNativeSeparators(job.outputFolder));
}

// One line on stdout for what was written, and on stderr what failed: a container that failed
// as a whole, or each recording or file that was not written while the others were.
void report(const ContainerJob &job, const Written &written, int index, OrderedOutput &output)
{
    const QByteArray shown = shownPath(job.input.path);
    if (!job.error.isEmpty()) {
        QString message = job.error;
        if (written.placed > 0)
            message += QStringLiteral(" (%1 written before)")
                           .arg(counted(written.placed, "recording", "recordings"));
        output.write(index, OrderedOutput::Stream::Err, errorLine(job.input.path, message));
        return;
    }
    const int planned = int(job.plan.outputs.size());
    if (planned == 0) {
        output.write(index, OrderedOutput::Stream::Out, shown + ": no recordings found\n");
        return;
    }
    const QString count = written.placed == planned
                              ? counted(planned, "recording", "recordings")
                              : QStringLiteral("%1 of %2")
                                    .arg(written.placed)
                                    .arg(counted(planned, "recording", "recordings"));
    output.write(index, OrderedOutput::Stream::Out,
                 shown + ": " + count.toUtf8() + " written to " + shownFolder(job) + '\n');
    for (const QString &problem : written.problems)
        output.write(index, OrderedOutput::Stream::Err, errorLine(job.input.path, problem));
}

} // namespace

QString chosenNameFor(const ContainerInput &input, const QString &outputDir, const QString &prefix)
{
    QString name = prefix;
    if (name.isEmpty())
        name = input.standardInput ? QStringLiteral("stdin")
                                   : QFileInfo(input.path).completeBaseName();
    return QDir(outputDir).filePath(name);
}

ExtractPlan planExtraction(int recordingCount, int signedCount, const QString &chosenName,
                           OutputKind output, int firstNumber, int firstHeaderless)
{
    ExtractPlan plan;
    plan.chosenName = chosenName;
    plan.output = output;
    // The one naming rule, its numbers moved on: NAME_k for the signed, NAME_lost_j after them.
    for (int i = 0; i < recordingCount; ++i)
        plan.outputs.append(
            i < signedCount
                ? vocafetch::savedFileName(chosenName, firstNumber - 1 + i, INT_MAX, output)
                : vocafetch::savedFileName(chosenName, firstHeaderless - 1 + i - signedCount, 0,
                                           output));
    return plan;
}

int runExtract(const CliRequest &request, Console &console)
{
    // The output folder is made first, so that a folder walk can leave it out.
    const QString folderFailure =
        vocafetch::failureOf([&] { makeFolders(vocafetch::bytesFromName(request.outputDir)); });
    if (!folderFailure.isEmpty()) {
        console.writeErr(errorLine(folderFailure));
        return console.finish(1);
    }
    WalkOptions walk;
    walk.recursive = request.recursive;
    walk.verbose = request.verbose;
    walk.excludedFolder = vocafetch::bytesFromName(request.outputDir);
    const ContainerInputs inputs = collectInputs(request.files, walk);
    std::atomic<bool> anyFailed{false};
    for (const SkippedInput &skipped : inputs.skipped) {
        console.reportError(skipped.path, skipped.reason);
        if (skipped.failure)
            anyFailed = true;
    }
    QVector<ContainerJob> jobs;
    qint64 total = 0;
    for (const ContainerInput &input : inputs.containers) {
        ContainerJob job;
        job.input = input;
        job.outputFolder = input.relativeFolder.isEmpty()
                               ? request.outputDir
                               : QDir(request.outputDir).filePath(input.relativeFolder);
        jobs.append(job);
        total += fileSize(input.path);
    }
    console.setTotal(total);
    const int threads = jobCount(request.jobs);

    OrderedOutput scanning(console, int(jobs.size()));
    scanning.run(threads, [&](int index) { scan(jobs[index], request, console); });
    planAll(jobs, request);
    OrderedOutput writing(console, int(jobs.size()));
    writing.run(threads, [&](int index) {
        ContainerJob &job = jobs[index];
        const Written written = job.error.isEmpty() ? write(job, request, console) : Written{};
        report(job, written, index, writing);
        if (!job.error.isEmpty() || !written.problems.isEmpty())
            anyFailed = true;
    });
    console.clearProgress();
    return console.finish(anyFailed ? 1 : 0);
}

} // namespace vocafetch
