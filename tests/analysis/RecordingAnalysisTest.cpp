#include "extract/analysis/RecordingAnalysis.h"
#include "ExactBuffer.h"
#include "SampleContainers.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingScan.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vocafetch;

using namespace RecGen;

namespace {

QVector<RecordingAnalysis> analyse(const ExactBuffer &buffer, const ContainerBuilder &builder)
{
    return analyseRecordings(buffer.data(), buffer.size(), builder.starts());
}

QByteArray cleanBytes(const QByteArray &container, const RecordingAnalysis &recording)
{
    const ByteSpan span = cleanRange(recording);
    return container.mid(span.begin, span.size());
}

// Checks every recording's analysis against what the generator placed.
void expectAsPlaced(const ContainerBuilder &builder)
{
    const ExactBuffer buffer(builder.data());
    const QVector<RecordingAnalysis> analyses = analyse(buffer, builder);
    ASSERT_EQ(analyses.size(), builder.recordings().size());
    for (int i = 0; i < analyses.size(); ++i) {
        const RecordingAnalysis &got = analyses[i];
        const PlacedRecording &placed = builder.recordings()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.start, placed.start);
        EXPECT_EQ(got.audioEnd, placed.audioEnd);
        EXPECT_EQ(got.endFrom, placed.inPart ? EndSource::PartHeader : EndSource::Frames);
        EXPECT_EQ(got.format(), placed.recording.format);
        EXPECT_EQ(got.channels(), placed.recording.channels);
        EXPECT_EQ(got.frames(), placed.recording.frames);
        EXPECT_EQ(got.durationMs(), placed.recording.frames * 20);
        EXPECT_EQ(got.damaged(), placed.recording.damaged);
        EXPECT_EQ(got.walk.frameTypesSeen, placed.recording.frameTypes);
        // The clean cut is exactly the recording's own bytes.
        EXPECT_EQ(cleanBytes(builder.data(), got), placed.recording.bytes);
    }
}

Recording narrowRecording(int frames, Rng &rng)
{
    return makeRecording(AmrFormat::NarrowBand, 1,
                         randomFrames(false, frames, {7, 7, 5, 8, 15}, 0, rng));
}

} // namespace

TEST(RecordingAnalysis, FindsTheTrueEndOfEverySampleRecording)
{
    {
        SCOPED_TRACE("multipart");
        expectAsPlaced(multipartSample());
    }
    {
        SCOPED_TRACE("mixed");
        expectAsPlaced(mixedSample());
    }
    const ContainerBuilder mixed = mixedSample();
    const ExactBuffer buffer(mixed.data());
    const RecordingAnalysis last = analyse(buffer, mixed).last();
    EXPECT_EQ(last.walk.stop, WalkStop::CrossesLimit);
    EXPECT_EQ(amrFormatName(analyse(buffer, mixed)[2].format()), "multichannel");
}

TEST(RecordingAnalysis, PartHeaderEndsAWalkThatWouldRunOn)
{
    Rng rng(21);
    const Recording recording = narrowRecording(50, rng);
    // After the part: bytes that read as eight more frames, then a part for something else.
    QByteArray frameLike;
    for (int i = 0; i < 8; ++i)
        frameLike += randomFrame(false, 15, true, rng);
    ContainerBuilder builder;
    builder.entryCount(2).recordingPart(recording).bytes(frameLike).imagePart(500, rng);
    expectAsPlaced(builder);

    // Without the part header the same bytes are taken for audio.
    const ExactBuffer buffer(builder.data());
    const qint64 start = builder.recordings().first().start;
    EXPECT_EQ(walkAmrFrames(buffer.data(), start, buffer.size()).frames, 58);
}

TEST(RecordingAnalysis, PartHeaderThatDoesNotAddUpFallsBackToTheFrames)
{
    Rng rng(22);
    const Recording recording = narrowRecording(60, rng);
    const qint64 size = recording.bytes.size();
    struct Case
    {
        const char *what;
        qint64 dataLength;
    };
    const Case cases[] = {
        {"inside a frame", size - 10},
        {"on a frame boundary, long before the end", 6 + 4 * (32 + 32 + 21 + 6 + 1)},
        {"into the next part", size + 40},
        {"past the container's end", size + 100000},
        {"shorter than the header", 3},
    };
    for (const Case &c : cases) {
        ContainerBuilder builder;
        builder.entryCount(2).recordingPart(recording, c.dataLength).imagePart(500, rng);
        const ExactBuffer buffer(builder.data());
        const RecordingAnalysis got = analyse(buffer, builder).first();
        EXPECT_TRUE(got.hasPartHeader) << c.what;
        EXPECT_EQ(got.endFrom, EndSource::Frames) << c.what;
        EXPECT_EQ(got.audioEnd, builder.recordings().first().audioEnd) << c.what;
        EXPECT_EQ(got.frames(), 60) << c.what;
    }
}

TEST(RecordingAnalysis, AHeaderItCannotReadKeepsTheWholeRange)
{
    Rng rng(23);
    ContainerBuilder builder;
    builder.bytes("head").recording(narrowRecording(10, rng)).randomBytes(20, rng);
    QByteArray bytes = builder.data();
    const qint64 start = builder.recordings().first().start;
    bytes[start + 5] = 'x'; // "#!AMRx": found by the scan, but no storage header
    const ExactBuffer buffer(bytes);
    const RecordingAnalysis got =
        analyseRecordings(buffer.data(), buffer.size(), {qint32(start)})[0];
    EXPECT_FALSE(got.recognised());
    EXPECT_EQ(got.endFrom, EndSource::None);
    EXPECT_EQ(endSourceName(got.endFrom), "none");
    EXPECT_EQ(amrFormatName(got.format()), "unknown");
    EXPECT_EQ(cleanRange(got).begin, start);
    EXPECT_EQ(cleanRange(got).end, bytes.size());
    // Its clean cut adds no header and keeps the whole range too.
    const vocafetch::CleanCut cut = vocafetch::cleanCut(got);
    EXPECT_TRUE(cut.header.isEmpty());
    EXPECT_EQ(cut.frames.begin, start);
    EXPECT_EQ(cut.frames.end, bytes.size());
}

TEST(RecordingAnalysis, ReadsSignaturesInAnyLetterCaseAndCutsThemCanonical)
{
    Rng rng(25);
    struct Case
    {
        QByteArray stored;
        AmrFormat format;
        int channels;
    };
    const Case cases[] = {
        {"#!amr\n", AmrFormat::NarrowBand, 1},
        {"#!AmR\n", AmrFormat::NarrowBand, 1},
        {"#!amr-wb\n", AmrFormat::WideBand, 1},
        {"#!AmR-wB\n", AmrFormat::WideBand, 1},
        {"#!amr_mc1.0\n" + QByteArray("\0\0\0\x02", 4), AmrFormat::MultiChannelNarrowBand, 2},
        {"#!Amr-Wb_mC1.0\n" + QByteArray("\xff\0\0\x02", 4), AmrFormat::MultiChannelWideBand, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        const bool wide = isWideBand(c.format);
        const Recording exact = makeRecording(
            c.format, c.channels, randomFrames(wide, 40, {2, 2, wide ? 9 : 8, 15}, 0, rng));
        QByteArray stored = exact.bytes;
        stored.replace(0, c.stored.size(), c.stored);
        const QByteArray bytes = "head" + stored + QByteArray(1, char(0xFF));
        const ExactBuffer buffer(bytes);
        const RecordingAnalysis got = analyseRecordings(buffer.data(), buffer.size(), {4})[0];
        EXPECT_EQ(got.format(), c.format);
        EXPECT_FALSE(got.walk.header.exactCase);
        EXPECT_EQ(got.channels(), c.channels);
        EXPECT_EQ(got.frames(), exact.frames);
        EXPECT_EQ(got.audioEnd, 4 + stored.size());
        // The clean file is the recording with its canonical header, reserved bits cleared.
        const vocafetch::CleanCut cut = vocafetch::cleanCut(got);
        EXPECT_EQ(cut.header, amrHeader(c.format, c.channels));
        EXPECT_EQ(cut.size(), exact.bytes.size());
        EXPECT_EQ(vocafetch::cleanCutBytes(buffer.data(), cut), exact.bytes);
    }
    // An exact header is its own canonical header: the clean cut is the clean range.
    const Recording exact = narrowRecording(20, rng);
    const ExactBuffer buffer(exact.bytes);
    const RecordingAnalysis got = analyseRecordings(buffer.data(), buffer.size(), {0})[0];
    EXPECT_TRUE(got.walk.header.exactCase);
    EXPECT_EQ(vocafetch::cleanCutBytes(buffer.data(), vocafetch::cleanCut(got)), exact.bytes);
}

TEST(RecordingAnalysis, SaysWhenTheLastFrameIsCutShort)
{
    Rng rng(26);
    const Recording recording = narrowRecording(30, rng);
    ContainerBuilder atEnd, beforeNext, whole;
    atEnd.recording(recording).truncatedFrame(false, 7, 11, rng);
    beforeNext.recording(recording).truncatedFrame(false, 7, 11, rng).recording(recording);
    whole.recording(recording).randomBytes(30, rng);
    for (const ContainerBuilder *builder : {&atEnd, &beforeNext, &whole}) {
        const ExactBuffer buffer(builder->data());
        const RecordingAnalysis got = analyse(buffer, *builder)[0];
        const bool cutShort = builder != &whole;
        EXPECT_EQ(got.truncated(), cutShort);
        // The clean cut ends at the last whole frame.
        EXPECT_EQ(got.audioEnd, recording.bytes.size());
        EXPECT_EQ(got.frames(), recording.frames);
        EXPECT_FALSE(got.headerless);
    }
}

TEST(RecordingAnalysis, EachRecordingEndsAtTheNextStart)
{
    Rng rng(24);
    const Recording recording = narrowRecording(20, rng);
    // Back to back, the second cut off after ten frames by a third start.
    ContainerBuilder builder;
    builder.recording(recording).recording(recording);
    QByteArray bytes = builder.data() + recording.bytes;
    const qint32 second = qint32(recording.bytes.size());
    const qint32 third = qint32(second + 6 + 10 * 32 + 5);
    const ExactBuffer buffer(bytes);
    const auto analyses =
        analyseRecordings(buffer.data(), buffer.size(), {0, second, third, qint32(bytes.size())});
    ASSERT_EQ(analyses.size(), 4);
    EXPECT_EQ(analyses[0].audioEnd, second);
    EXPECT_EQ(analyses[1].limit, third);
    EXPECT_LE(analyses[1].audioEnd, third);
    EXPECT_EQ(analyses[1].walk.stop, WalkStop::CrossesLimit);
    // An offset past the container gives an empty, unrecognised entry in its place.
    EXPECT_FALSE(analyses[3].recognised());
    EXPECT_EQ(cleanRange(analyses[3]).size(), 0);
}

TEST(RecordingAnalysis, GivesTheSameResultOnSeveralThreads)
{
    const ContainerBuilder builder = largeContainer(3 << 20, 5);
    const ExactBuffer buffer(builder.data());
    QVector<qint64> starts = builder.starts();
    starts.append(qint32(buffer.size() + 10)); // outside: still an entry of its own
    const auto one = analyseRecordings(buffer.data(), buffer.size(), starts, 1);
    ASSERT_EQ(one.size(), starts.size());
    for (int threads : {2, 3, 64}) {
        const auto several = analyseRecordings(buffer.data(), buffer.size(), starts, threads);
        ASSERT_EQ(several.size(), one.size()) << threads;
        for (int i = 0; i < one.size(); ++i) {
            EXPECT_EQ(several[i].start, one[i].start) << threads << " " << i;
            EXPECT_EQ(several[i].audioEnd, one[i].audioEnd) << threads << " " << i;
            EXPECT_EQ(several[i].endFrom, one[i].endFrom) << threads << " " << i;
            EXPECT_EQ(several[i].frames(), one[i].frames()) << threads << " " << i;
            EXPECT_EQ(several[i].damaged(), one[i].damaged()) << threads << " " << i;
        }
    }
    for (int i = 0; i + 1 < one.size(); ++i)
        EXPECT_EQ(one[i].audioEnd, builder.recordings()[i].audioEnd) << i;
}

TEST(RecordingAnalysis, WorksOnTheOffsetsOfTheContainerScan)
{
    const ContainerBuilder builder = multipartSample();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sample.drf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(builder.data());
    file.close();

    InProcessClipboard clipboard;
    TByteBuffer source(clipboard);
    source.LoadFromFile(path);
    const QVector<qint64> starts = vocafetch::scanRecordings(source).recordingStarts;
    EXPECT_EQ(starts, builder.starts());
    const auto analyses = analyseRecordings(source.Data(), starts);
    ASSERT_EQ(analyses.size(), 2);

    const RecordingAnalysis &got = analyses[1];
    const Recording &wide = builder.recordings()[1].recording;
    EXPECT_EQ(amrFormatName(got.format()), "amr-wb");
    EXPECT_EQ(got.frames(), wide.frames);
    EXPECT_EQ(got.durationMs(), wide.frames * 20);
    EXPECT_EQ(got.audioEnd, builder.recordings()[1].audioEnd);
    EXPECT_EQ(got.endFrom, EndSource::PartHeader);
    EXPECT_EQ(got.damaged(), 0);
}
