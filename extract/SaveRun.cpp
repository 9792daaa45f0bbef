#include "extract/SaveRun.h"

#include "extract/ContainerSession.h"
#include "extract/RawFileName.h"
#include "extract/io/IoErrors.h"
#include "extract/io/OutputBatch.h"
#include "extract/io/OutputFolder.h"

#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace vocafetch {

namespace {

// Recordings analysed (for clean cuts and decoding) and written at a time.
constexpr int Stretch = 4096;

bool skippable(ErrorKind kind)
{
    return kind == ErrorKind::Undecodable || kind == ErrorKind::NothingToConvert;
}

OutputFolder openFolder(const SavePlan &plan)
{
    const OutputFolder chosen = OutputFolder::open(plan.folder);
    return plan.subfolder.isEmpty() ? chosen : chosen.makePath(plan.subfolder);
}

void collect(const std::vector<OutputResult> &results, SaveOutcome &outcome)
{
    for (const OutputResult &result : results) {
        switch (result.outcome) {
        case OutputOutcome::Placed:
            ++outcome.placed;
            break;
        case OutputOutcome::NameTaken:
            outcome.problems << QStringLiteral("%1 appeared meanwhile and was kept; not written")
                                    .arg(displayName(nameFromBytes(result.path)));
            break;
        case OutputOutcome::Failed:
            outcome.problems << result.message;
            if (outcome.failedPath.isEmpty()) {
                outcome.failedPath = nameFromBytes(result.path);
                outcome.failedReason = result.reason.isEmpty() ? result.message : result.reason;
            }
            break;
        }
    }
}

SavePlan emptyPlan(OutputKind kind, const QString &chosenName)
{
    SavePlan plan;
    plan.kind = kind;
    plan.folder = bytesFromName(QFileInfo(chosenName).absolutePath());
    return plan;
}

void addRecording(SavePlan &plan, const ContainerSession &session, int i, const QString &chosenName)
{
    const QString name = savedFileName(chosenName, i, session.scan().recordingCount(), plan.kind);
    plan.recordings.append(i);
    plan.names.append(bytesFromName(QFileInfo(name).fileName()));
}

// Set on the temporary before it is named, so that the file never shows another time.
void setModificationTime(OutputFile &file, qint64 secondsSinceEpoch)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(secondsSinceEpoch), 0}};
    if (::futimens(file.descriptor(), times) != 0)
        throw systemError("set the time of", file.path(), errno);
}

} // namespace

QString savedFileName(const QString &chosenName, int i, int signedCount, OutputKind kind)
{
    if (i < signedCount)
        return outputFileName(chosenName, i + 1, kind);
    return outputFileName(chosenName + QStringLiteral("_lost"), i - signedCount + 1, kind);
}

QString recordingNumber(int i, int signedCount, int firstNumber, int firstHeaderless)
{
    if (i < signedCount)
        return QString::number(firstNumber + i);
    return QStringLiteral("lost_") + QString::number(firstHeaderless + i - signedCount);
}

QString templatedFileName(const NameTemplate &names, const RecordingNameFields &fields,
                          OutputKind kind)
{
    return names.expand(fields) + QLatin1Char('.') + kind.info().extension;
}

SavePlan planSaveAll(const ContainerSession &session, OutputKind kind, const QString &chosenName)
{
    SavePlan plan = emptyPlan(kind, chosenName);
    for (int i = 0; i < session.recordingCount(); ++i)
        addRecording(plan, session, i, chosenName);
    return plan;
}

SavePlan planSaveOne(const ContainerSession &session, int i, OutputKind kind,
                     const QString &chosenName)
{
    SavePlan plan = emptyPlan(kind, chosenName);
    addRecording(plan, session, i, chosenName);
    return plan;
}

SaveOutcome saveRecordings(ContainerSession &session, const SavePlan &plan,
                           const SaveControl &control)
{
    SaveOutcome outcome;
    const OutputFolder folder = openFolder(plan);
    OutputBatch batch(plan.placement);
    const int total = int(plan.recordings.size());
    int written = 0;
    for (int first = 0; first < total && !outcome.cancelled; first += Stretch) {
        const int last = std::min(total, first + Stretch);
        // Whole files need no analysis: their bytes are the recording's range. The plan's
        // recordings are ascending, so a stretch is analysed in one go.
        QVector<RecordingAnalysis> analyses;
        const int low = plan.recordings[first];
        if (!plan.kind.isWhole())
            analyses = session.analyseRange(low, plan.recordings[last - 1] + 1);
        for (int at = first; at < last; ++at) {
            if (control.cancel && control.cancel->load()) {
                outcome.cancelled = true;
                break;
            }
            const int i = plan.recordings[at];
            const qsizetype a = i - low;
            OutputFile file(folder, plan.names[at]);
            try {
                session.ExportRecording(i, plan.kind, file,
                                        a >= 0 && a < analyses.size() ? &analyses[a] : nullptr);
            } catch (const ExtractError &error) {
                if (!skippable(error.kind()))
                    throw;
                outcome.skipped.append({i, error.kind(), error.message()});
                continue;
            }
            if (plan.restoreTimes) {
                if (const std::optional<qint64> time = session.fileTimeOf(i))
                    setModificationTime(file, *time);
            }
            batch.add(std::move(file));
            ++written;
            if (control.progress)
                control.progress(written, total);
        }
    }
    collect(batch.commit(), outcome);
    return outcome;
}

} // namespace vocafetch
