#include "extract/analysis/HeaderlessRuns.h"
#include "ExactBuffer.h"
#include "HeaderlessInputs.h"
#include "RecordingGenerator.h"
#include "extract/analysis/AmrDecoder.h"
#include "support/Decoding.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

using namespace RecGen;
using namespace vocafetch;

namespace {

// Real speech through the AMR encoder, in one mode (12.2 kbit/s) throughout.
QList<QByteArray> speech(int frames, bool dtx = false)
{
    return encodedSpeechFrames(frames, {7}, dtx);
}

QVector<RecordingAnalysis> runsIn(const QByteArray &bytes)
{
    const ExactBuffer buffer(bytes);
    return findHeaderlessRuns(buffer.data(), 0, buffer.size());
}

// Checks a found run against the frames placed at begin.
void expectRun(const RecordingAnalysis &run, AmrFormat format, qint64 begin,
               const QList<QByteArray> &frames)
{
    EXPECT_TRUE(run.headerless);
    EXPECT_EQ(run.format(), format);
    EXPECT_EQ(run.walk.header.size, 0);
    EXPECT_EQ(run.start, begin);
    EXPECT_EQ(run.audioEnd, begin + joined(frames).size());
    EXPECT_EQ(run.frames(), frames.size());
    EXPECT_EQ(run.endFrom, EndSource::Frames);
}

} // namespace

TEST(HeaderlessRuns, FindARecordingWhoseSignatureAndFirstBytesAreOverwritten)
{
    Rng rng(61);
    const QList<QByteArray> frames = speech(300);
    const Recording recording = makeRecording(AmrFormat::NarrowBand, 1, frames);
    QByteArray bytes = filler(500, rng);
    const qint64 start = bytes.size();
    bytes += recording.bytes + filler(300, rng);
    // The header and the first three frames become random bytes.
    const int lost = 6 + 3 * frames[0].size();
    bytes.replace(start, lost, filler(lost, rng));

    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> found =
        findHeaderlessRecordings(buffer.data(), bytes.size(), {});
    ASSERT_EQ(found.size(), 1);
    const RecordingAnalysis &run = found[0];
    expectRun(run, AmrFormat::NarrowBand, start + lost, frames.mid(3));
    EXPECT_EQ(run.walk.stop, WalkStop::InvalidHeader); // the filler's 0xFF
    EXPECT_FALSE(run.truncated());

    // A clean cut is a playable file: the canonical header and the whole frames.
    const CleanCut cut = cleanCut(run);
    EXPECT_EQ(cut.header, "#!AMR\n");
    const QByteArray clean = cleanCutBytes(buffer.data(), cut);
    EXPECT_EQ(clean, "#!AMR\n" + joined(frames.mid(3)));
    // ... decoding to what the frames decode to after their header.
    const PcmAudio audio = decodeRecordingToPcm(buffer.data(), run);
    ASSERT_TRUE(audio.ok()) << audio.error.toStdString();
    EXPECT_EQ(audio.sampleRate, 8000);
    EXPECT_EQ(audio.samples, decodeWhole(clean.constData(), clean.size()).samples);
    EXPECT_EQ(audio.sampleCount(), qint64(frames.size() - 3) * 160);
}

TEST(HeaderlessRuns, FindTheRestOfARecordingTheContainerBeginsInside)
{
    Rng rng(62);
    const QList<QByteArray> wide = phoneLikeFrames(true, 400, rng);
    const Recording cutShort = makeRecording(AmrFormat::WideBand, 1, wide);
    const Recording next =
        makeRecording(AmrFormat::NarrowBand, 1, phoneLikeFrames(false, 100, rng));
    // The container begins in the middle of the eleventh frame.
    const qint64 frameTen = 9 + joined(wide.mid(0, 10)).size();
    const QByteArray bytes = cutShort.bytes.mid(frameTen + 5) + next.bytes;
    const qint64 nextStart = bytes.size() - next.bytes.size();

    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> signedOnes =
        analyseRecordings(buffer.data(), buffer.size(), {qint32(nextStart)});
    const QVector<RecordingAnalysis> found =
        findHeaderlessRecordings(buffer.data(), buffer.size(), signedOnes);
    ASSERT_EQ(found.size(), 1);
    const qint64 frameEleven = wide[10].size() - 5;
    expectRun(found[0], AmrFormat::WideBand, frameEleven, wide.mid(11));
    EXPECT_EQ(found[0].limit, nextStart);
    EXPECT_EQ(found[0].walk.stop, WalkStop::Limit);
    EXPECT_EQ(cleanCut(found[0]).header, "#!AMR-WB\n");
}

TEST(HeaderlessRuns, FindTwoRunsBetweenSignedRecordings)
{
    Rng rng(63);
    const Recording first =
        makeRecording(AmrFormat::NarrowBand, 1, phoneLikeFrames(false, 120, rng));
    const QList<QByteArray> narrow = speech(200, true);
    const QList<QByteArray> wide = phoneLikeFrames(true, 150, rng);
    const Recording last = makeRecording(AmrFormat::WideBand, 1, phoneLikeFrames(true, 80, rng));
    QByteArray bytes = filler(100, rng);
    const qint64 firstStart = bytes.size();
    bytes += first.bytes + filler(700, rng);
    const qint64 narrowStart = bytes.size();
    bytes += joined(narrow) + filler(900, rng);
    const qint64 wideStart = bytes.size();
    bytes += joined(wide) + filler(40, rng);
    const qint64 lastStart = bytes.size();
    bytes += last.bytes + filler(50, rng);

    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> signedOnes =
        analyseRecordings(buffer.data(), buffer.size(), {qint32(firstStart), qint32(lastStart)});
    ASSERT_EQ(signedOnes[0].audioEnd, firstStart + first.bytes.size());
    const QVector<RecordingAnalysis> found =
        findHeaderlessRecordings(buffer.data(), buffer.size(), signedOnes);
    ASSERT_EQ(found.size(), 2);
    expectRun(found[0], AmrFormat::NarrowBand, narrowStart, narrow);
    expectRun(found[1], AmrFormat::WideBand, wideStart, wide);
    EXPECT_EQ(found[1].limit, lastStart);
}

TEST(HeaderlessRuns, SearchWhereNoSignatureCovers)
{
    Rng rng(64);
    const Recording recording =
        makeRecording(AmrFormat::NarrowBand, 1, phoneLikeFrames(false, 60, rng));
    QByteArray bytes =
        filler(30, rng) + recording.bytes + filler(20, rng) + "#!AMRx" + filler(40, rng);
    const qint64 unknownStart = bytes.indexOf("#!AMRx");
    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> signedOnes =
        analyseRecordings(buffer.data(), buffer.size(), {30, qint32(unknownStart)});
    const QVector<ByteSpan> regions = uncoveredRegions(bytes.size(), signedOnes);
    ASSERT_EQ(regions.size(), 3);
    EXPECT_EQ(regions[0].begin, 0);
    EXPECT_EQ(regions[0].end, 30);
    EXPECT_EQ(regions[1].begin, 30 + recording.bytes.size());
    EXPECT_EQ(regions[1].end, unknownStart);
    // An unknown header covers its signature only.
    EXPECT_EQ(regions[2].begin, unknownStart + 5);
    EXPECT_EQ(regions[2].end, bytes.size());
    const QVector<ByteSpan> whole = uncoveredRegions(bytes.size(), {});
    ASSERT_EQ(whole.size(), 1);
    EXPECT_EQ(whole[0].size(), bytes.size());
}

TEST(HeaderlessRuns, ARunCutShortByTheRegionEndIsTruncated)
{
    Rng rng(65);
    const QList<QByteArray> frames = speech(80);
    const QByteArray bytes = filler(10, rng) + joined(frames) + frames[0].left(7);
    const QVector<RecordingAnalysis> found = runsIn(bytes);
    ASSERT_EQ(found.size(), 1);
    expectRun(found[0], AmrFormat::NarrowBand, 10, frames);
    EXPECT_TRUE(found[0].truncated());
    EXPECT_EQ(found[0].limit, bytes.size());
}

TEST(HeaderlessRuns, OneSecondOfSpeechIsTheLeastThatCounts)
{
    Rng rng(66);
    const QList<QByteArray> frames = speech(HeaderlessLimits().minFrames);
    EXPECT_EQ(runsIn(filler(20, rng) + joined(frames) + filler(20, rng)).size(), 1);
    EXPECT_TRUE(runsIn(filler(20, rng) + joined(frames.mid(1)) + filler(20, rng)).isEmpty());
}

TEST(HeaderlessRuns, FramesThatAreNotSpeechAreNoRun)
{
    Rng rng(67);
    const QByteArray oneFrame = randomFrame(false, 7, true, rng);
    QList<QByteArray> constant, repeated, noData, silence, damaged, foreign, table, floats;
    const QByteArray columns = rng.bytes(2 * 17);
    for (int i = 0; i < 400; ++i) {
        // A table of 16-bit counters, 18-byte records read as wide-band 6.60 kbit/s frames: two
        // series of records interleaved, each counting up by one.
        QByteArray record(1, char(frameHeaderByte(0, true)));
        for (int b = 0; b < 17; ++b)
            record.append(char(columns[(i % 2) * 17 + b] + (b % 2 == 0 ? i / 2 : 0)));
        table.append(record);
        // A table of 32-bit numbers that share their top byte, read as 12.2 kbit/s frames.
        QByteArray numbers = rng.bytes(32);
        for (int b = 0; b < 32; b += 4)
            numbers[b] = char(frameHeaderByte(7, true));
        floats.append(numbers);
        // 12.2 kbit/s frames of one byte over and over, as in a table or a blank image.
        constant.append(char(frameHeaderByte(7, true)) + QByteArray(31, char(0x55)));
        // The same frame again and again.
        repeated.append(oneFrame);
        noData.append(QByteArray(1, char(frameHeaderByte(15, true))));
        // A pause only: a SID frame, then seven NO_DATA frames.
        silence.append(i % 8 == 0 ? randomFrame(false, 8, true, rng)
                                  : QByteArray(1, char(frameHeaderByte(15, true))));
        // Live payloads, but damaged every other frame, as chance gives the quality bit.
        damaged.append(randomFrame(false, 7, i % 2 == 0, rng));
        foreign.append(randomFrame(false, 9 + i % 3, true, rng));
    }
    for (const auto &[what, frames] :
         {std::pair("constant payload", constant), std::pair("repeated frame", repeated),
          std::pair("NO_DATA only", noData), std::pair("SID and NO_DATA only", silence),
          std::pair("half damaged", damaged), std::pair("other codecs' SID", foreign),
          std::pair("table of counters", table), std::pair("table of numbers", floats)})
        EXPECT_TRUE(runsIn(filler(16, rng) + joined(frames) + filler(16, rng)).isEmpty()) << what;
}

TEST(HeaderlessRuns, NoneInRandomOrProgramBytes)
{
    Rng rng(68);
    EXPECT_TRUE(runsIn(rng.bytes(8 << 20)).isEmpty());
    // This test's own executable: code, tables, strings and zeros.
    QFile program(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    EXPECT_TRUE(runsIn(program.readAll()).isEmpty());
}

// Probing skips stretches a run cannot start in; it must find exactly what trying every offset
// finds, the shortest runs the limits allow and runs at either end of the region included.
TEST(HeaderlessRuns, ProbingFindsWhatTryingEveryOffsetFinds)
{
    Rng rng(69);
    HeaderlessLimits everyOffset;
    everyOffset.probe = false;
    int shortestFound = 0;
    for (int round = 0; round < 60; ++round) {
        QByteArray bytes = round % 3 == 0 ? QByteArray() : filler(int(rng.below(600)), rng);
        for (int piece = 0; piece < 4; ++piece) {
            // The shortest run there is: half of its frames the smallest speech frame, the
            // others NO_DATA frames of one byte.
            QList<QByteArray> frames;
            const int count = HeaderlessLimits().minFrames + int(rng.below(3));
            for (int i = 0; i < count; ++i)
                frames.append(i % 2 == 0 ? randomFrame(false, 0, true, rng)
                                         : QByteArray(1, char(frameHeaderByte(15, true))));
            bytes += piece % 2 == 0 ? joined(frames) : joined(phoneLikeFrames(piece == 3, 80, rng));
            bytes += filler(int(rng.below(400)) + 1, rng);
        }
        if (round % 4 == 1)
            bytes.chop(int(rng.below(300)));
        const ExactBuffer buffer(bytes);
        const qint64 begin = round % 5 == 2 ? qint64(rng.below(200)) : 0;
        const QVector<RecordingAnalysis> probed =
            findHeaderlessRuns(buffer.data(), begin, buffer.size());
        const QVector<RecordingAnalysis> tried =
            findHeaderlessRuns(buffer.data(), begin, buffer.size(), everyOffset);
        ASSERT_EQ(probed.size(), tried.size()) << round;
        for (int i = 0; i < probed.size(); ++i) {
            EXPECT_EQ(probed[i].start, tried[i].start) << round;
            EXPECT_EQ(probed[i].audioEnd, tried[i].audioEnd) << round;
            EXPECT_EQ(probed[i].walk.stop, tried[i].walk.stop) << round;
            shortestFound += probed[i].audioEnd - probed[i].start < 400 ? 1 : 0;
        }
    }
    EXPECT_GT(shortestFound, 20) << "the shortest runs must be among those compared";
}

// A bit error in a frame header: the run goes on once frames resume a frame's length later,
// counting the damaged frame as the signed walk counts a damaged one. So early in a run that
// it might as well be container bytes passing for frames, the run starts after it.
TEST(HeaderlessRuns, ARunGoesOnAcrossADamagedHeader)
{
    Rng rng(70);
    const QList<QByteArray> frames = speech(300);
    for (const int damagedFrame : {150, 2}) {
        QByteArray recording = joined(frames);
        recording[int(joined(frames.mid(0, damagedFrame)).size())] = char(0xFF);
        const QByteArray bytes = filler(40, rng) + recording + filler(40, rng);
        const QVector<RecordingAnalysis> found = runsIn(bytes);
        ASSERT_EQ(found.size(), 1) << damagedFrame;
        if (damagedFrame == 2) {
            expectRun(found[0], AmrFormat::NarrowBand, 40 + joined(frames.mid(0, 3)).size(),
                      frames.mid(3));
            EXPECT_EQ(found[0].damaged(), 0);
            continue;
        }
        expectRun(found[0], AmrFormat::NarrowBand, 40, frames);
        EXPECT_EQ(found[0].damaged(), 1);
        EXPECT_EQ(cleanCutBytes(ExactBuffer(bytes).data(), cleanCut(found[0])),
                  "#!AMR\n" + recording);
    }
}

// Encoded digital silence (one frame over and over) before and after the speech belongs to the
// recording: the run keeps it, as a frame walk after a signature does.
TEST(HeaderlessRuns, QuietFramesAtEitherEndStay)
{
    Rng rng(71);
    const QList<QByteArray> talk = speech(150);
    QList<QByteArray> frames;
    for (int i = 0; i < 80; ++i)
        frames.append(talk[0]);
    frames += talk;
    for (int i = 0; i < 60; ++i)
        frames.append(talk[149]);
    const QVector<RecordingAnalysis> found =
        runsIn(filler(30, rng) + joined(frames) + filler(30, rng));
    ASSERT_EQ(found.size(), 1);
    expectRun(found[0], AmrFormat::NarrowBand, 30, frames);
}

// DTX silence, a SID frame and seven NO_DATA frames over and over, is judged alike from every
// frame it could start at: with no speech after it, no run (found in time linear in its
// length, which the benchmark measures); with speech after it, one run holding it all.
TEST(HeaderlessRuns, LongDtxSilenceIsJudgedAlikeFromEveryStart)
{
    Rng rng(72);
    const QList<QByteArray> silence = dtxSilence(24000, rng);
    const QByteArray quiet = filler(20, rng) + joined(silence) + filler(20, rng);
    EXPECT_TRUE(runsIn(quiet).isEmpty());
    const QList<QByteArray> talk = phoneLikeFrames(false, 300, rng);
    const QByteArray bytes = filler(20, rng) + joined(silence + talk) + filler(20, rng);
    HeaderlessLimits everyOffset;
    everyOffset.probe = false;
    const ExactBuffer buffer(bytes);
    for (const HeaderlessLimits &limits : {HeaderlessLimits(), everyOffset}) {
        const QVector<RecordingAnalysis> found =
            findHeaderlessRuns(buffer.data(), 0, buffer.size(), limits);
        ASSERT_EQ(found.size(), 1);
        expectRun(found[0], AmrFormat::NarrowBand, 20, silence + talk);
    }
}
