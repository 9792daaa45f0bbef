// The headerless search over a container reached a window at a time, its signed recordings
// analysed a stretch at a time: the same runs as a search of the whole container, runs across
// a window's edge included, whatever the window.
#include "extract/analysis/HeaderlessContainerSearch.h"
#include "ExactBuffer.h"
#include "HeaderlessInputs.h"
#include "RecordingGenerator.h"
#include "extract/analysis/ByteStretches.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace RecGen;
using namespace vocafetch;

namespace {

struct Searched
{
    QVector<RecordingAnalysis> runs;
    qsizetype largestStretch = 0; // signed recordings analysed at once, at most
    qint64 largestView = 0;       // bytes asked for at once, at most
    QVector<ByteSpan> views;      // the bytes asked for, in order
};

// The search through windows of window bytes, as the session runs it on a mapped container,
// regions cut into pieces of piece bytes searched on threads threads.
Searched searchInWindows(const ExactBuffer &buffer, const QVector<qint64> &starts, qint64 window,
                         qint64 piece = qint64(16) << 20, int threads = 0, qint64 largestWindow = 0)
{
    Searched searched;
    HeaderlessContainer container;
    container.size = buffer.size();
    container.window = window;
    container.signedCount = starts.size();
    container.analyses = [&](qsizetype first, qsizetype last) {
        searched.largestStretch = std::max(searched.largestStretch, last - first);
        return analyseRecordingRange(buffer.data(), buffer.size(), starts, first, last);
    };
    container.largestWindow = std::max(window, largestWindow);
    container.piece = piece;
    container.threads = threads;
    std::mutex views;
    container.bytes = [&](qint64 begin, qint64 length, QByteArray &) {
        const std::lock_guard<std::mutex> lock(views);
        searched.largestView = std::max(searched.largestView, length);
        searched.views.append({begin, begin + length});
        return buffer.data() + begin;
    };
    searched.runs = findContainerHeaderless(container);
    return searched;
}

void expectSameRuns(const QVector<RecordingAnalysis> &found,
                    const QVector<RecordingAnalysis> &expected)
{
    ASSERT_EQ(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].start, expected[i].start) << i;
        EXPECT_EQ(found[i].audioEnd, expected[i].audioEnd) << i;
        EXPECT_EQ(found[i].limit, expected[i].limit) << i;
        EXPECT_EQ(found[i].frames(), expected[i].frames()) << i;
        EXPECT_EQ(found[i].walk.stop, expected[i].walk.stop) << i;
    }
}

} // namespace

// Runs across the edges of 64 KiB windows, one of them starting mid-frame just before an edge,
// and signed recordings between: found whole, as in one pass over the container.
TEST(HeaderlessContainerSearch, RunsAcrossWindowEdgesAreFoundWhole)
{
    constexpr qint64 Window = 64 << 10;
    Rng rng(81);
    const QList<QByteArray> across = phoneLikeFrames(false, 700, rng);
    const QList<QByteArray> midFrame = phoneLikeFrames(true, 500, rng);
    const Recording signedOne =
        makeRecording(AmrFormat::NarrowBand, 1, phoneLikeFrames(false, 200, rng));
    QByteArray bytes = filler(Window - 6000, rng);
    const qint64 acrossStart = bytes.size();
    bytes += joined(across);
    bytes += filler(2 * Window - 400 - bytes.size(), rng);
    // Begins with the last 11 bytes of its first frame, 400 bytes before the second edge.
    const qint64 secondFrame = bytes.size() + 11;
    bytes += joined(midFrame).mid(midFrame[0].size() - 11);
    bytes += filler(3000, rng);
    const qint64 signedStart = bytes.size();
    bytes += signedOne.bytes + filler(5 * Window, rng);
    ASSERT_GT(acrossStart + joined(across).size(), Window);

    const ExactBuffer buffer(bytes);
    const QVector<qint64> starts{signedStart};
    const QVector<RecordingAnalysis> whole = findHeaderlessRecordings(
        buffer.data(), buffer.size(), analyseRecordings(buffer.data(), buffer.size(), starts));
    ASSERT_EQ(whole.size(), 2);
    EXPECT_EQ(whole[0].start, acrossStart);
    EXPECT_EQ(whole[0].frames(), across.size());
    EXPECT_EQ(whole[1].start, secondFrame);
    EXPECT_EQ(whole[1].frames(), midFrame.size() - 1);
    EXPECT_GT(whole[1].audioEnd, 2 * Window);
    for (const qint64 window : {Window, Window + 4097, qint64(1) << 30}) {
        const Searched searched = searchInWindows(buffer, starts, window);
        expectSameRuns(searched.runs, whole);
        EXPECT_LE(searched.largestView, window);
    }
    // Pieces searched apart, on three threads, their edges inside runs and between them.
    for (const qint64 piece : {qint64(5000), Window - 5000, Window, 2 * Window - 200}) {
        SCOPED_TRACE(piece);
        expectSameRuns(searchInWindows(buffer, starts, Window, piece, 3).runs, whole);
    }
}

// Frames that chain on past the largest window: each window holds a part of the run, judged on
// that window's bytes as if the container ended there, and the next part is searched from where
// it ends (a last part too short to look like speech on its own is not a run); one pass over the
// whole container finds the run whole.
TEST(HeaderlessContainerSearch, ARunLongerThanTheLargestWindowIsFoundAPartPerWindow)
{
    constexpr qint64 Largest = 4096;
    Rng rng(84);
    QByteArray bytes = filler(1000, rng);
    const qint64 runStart = bytes.size();
    bytes += joined(phoneLikeFrames(false, 2000, rng));
    const qint64 runEnd = bytes.size();
    bytes += filler(1000, rng);
    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> whole =
        findHeaderlessRecordings(buffer.data(), buffer.size(), {});
    ASSERT_EQ(whole.size(), 1);
    EXPECT_EQ(whole[0].start, runStart);
    EXPECT_EQ(whole[0].audioEnd, runEnd);

    for (const int threads : {1, 3}) {
        const Searched searched =
            searchInWindows(buffer, {}, Largest / 4, Largest + 1000, threads, Largest);
        EXPECT_LE(searched.largestView, Largest);
        const QVector<RecordingAnalysis> &parts = searched.runs;
        ASSERT_GE(parts.size(), (runEnd - runStart) / Largest);
        EXPECT_EQ(parts.front().start, runStart);
        EXPECT_LE(parts.back().audioEnd, runEnd);
        EXPECT_GT(parts.back().audioEnd, runEnd - Largest);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            EXPECT_LE(parts[i].audioEnd - parts[i].start, Largest) << i;
            EXPECT_GE(parts[i].audioEnd - parts[i].start, Largest - 32) << i;
            if (i > 0) {
                EXPECT_GE(parts[i].start, parts[i - 1].audioEnd) << i;
            }
        }
    }
}

// DTX silence longer than the largest window, with no speech after it: no run. The frames from
// every offset the search has to stop at go on to its window's end, so each window asked for
// ends past the one before: one that ends no later could not decide them either.
TEST(HeaderlessContainerSearch, SilenceLongerThanTheLargestWindowAsksForEachWindowOnce)
{
    constexpr qint64 Largest = 2048;
    Rng rng(85);
    const QList<QByteArray> silence = dtxSilence(3000, rng);
    const ExactBuffer buffer(filler(20, rng) + joined(silence) + filler(20, rng));
    ASSERT_TRUE(findHeaderlessRuns(buffer.data(), 0, buffer.size()).isEmpty());
    const Searched searched = searchInWindows(buffer, {}, Largest / 4, buffer.size(), 1, Largest);
    EXPECT_TRUE(searched.runs.isEmpty());
    ASSERT_GT(searched.views.size(), 1);
    for (qsizetype i = 1; i < searched.views.size(); ++i)
        EXPECT_GT(searched.views[i].end, searched.views[i - 1].end)
            << i << ": " << searched.views[i].begin << " after " << searched.views[i - 1].begin;
}

// Bytes fuzzers found, searched in pieces begun anywhere: the pieces must find what one pass
// finds. In the first, a walk from an early offset stops with too few frames past the band's
// shortest run, where a walk from a later offset, of smaller frames, has enough; in the second,
// a piece's search tries a run from before where the run ending in the piece before ends, and
// leaves out its leading frames, so that its run starts past a run the region's search finds.
TEST(HeaderlessContainerSearch, PiecesBegunAnywhereFindWhatOnePassFinds)
{
    const QByteArray inputs[] = {
        QByteArray::fromHex(
            "04040404040404040404acd627487c7c7c7c7c7c44c88e1230dc7c7c7c7c7c443e8c9b2c68281000"
            "5472590b298d7bb837d7d3807f3437e7bd4e24aaf317f88c354e5a0d502e5aab9b45c1f83c3624a2"
            "5dba3d3d7ed57a23f5681b96e1853280f108247939e142066c14c50e89ffc73dee19f987e26f24ce"
            "2288691449cdcf5eb7d81256457362d53e0a24b651fa1a1c6e477737f2234271922fa7474c46246c"
            "0bafed4363eeaf74b40c6d240404040404040404040404040d0079cf8d9e03244bf3f08683db29f3"
            "02459abdca2da42d11a34424caf989bf08fea71f33fe78fad9fde0f9446b7c04a6e144384fd7af45"
            "a394a5177c048e7f66d73a26e5c1b7d286d37c0435dea2f746e70bd7daa0c37d7c04b758793a7211"
            "622cd6e315ea7c042654040404048da39404040404e979cf8d3a26e5c1b7d286d37c0435dea2f746"
            "e70bd7daa07d7c04b758793a7211622cd6e315ea7c042654040404040404e979cf8d0435dea2f746"
            "e70bd7daa0c37d7c04b758793a7211622cd6e315ea7c042654040404040404e979cf8d0426540404"
            "04040404e979cf8d0435dea2f746e70bd7daa0c37d7c04b758793a7211622cd6e315ea7c04265404"
            "0404040404e979cf8d"),
        QByteArray::fromHex(
            "b17c04a344db6564154c245e84e34c7c042037408988d27c0430d884447c04a344db6564154c245e"
            "84e34c7c044cb2d99fe42d2037408988d27c0430d8824a71b89e36e41aa79f7c04be114a7acb4f7e"
            "9029feb8b87c04e06468512332f94c559a82a47c048e4234e81744c34851d24de87c044e9a8585e9"
            "7c793a230a759d7c04ebb072b0a26e7551fbaa72db7c04bc66fd3509a2e90c2e48217a7c04794ea4"
            "dbed96cf7acc35da9c7c0497750b5eac1bf5ee090304747c049166278dde8a58b1137e18aa7c0431"
            "63d6b1c5668e3bb94b0f267c048ad9ea7632ad89a28b43997c04dd2ee44fe46f5c11bb1c94fb7c04"
            "3b6181189f1f1b3d02f4df0e7c0413b133fe78fad9fde0f9446b7c04a6e144384fd7af45a394a517"
            "7c048e7f66d73a26e5c1b7d286d37c0435dea2f746e70bd7daa0c37d7c04b758793a7211622cd6e3"
            "15ea7c042654f7cb037c048e4234e81744c34894a5177c048e7fd73a26256600000000000000e42d"
            "20374089880430d8db7ba5c2383a2b81affa9f7c04be114a7acb4f7e9029feb8b87c04e064685123"
            "32f94c559a82a47c048e4232e81744c34851d24de87c044e9a8585e97c793a230a757c04ebb072b0"
            "a26e7551fbaa72db7c04bc66fd3509a2e90c2e48217a7c04794ea4dbed96cf7acc35da9c7c049775"
            "0b5eac1bf5ee090304747c049166278dde8a58b1137e18aa7c043163d6b1c5668e3bb94b0f267c04"
            "8ad9ece75b40ad89a28b43997c04dd2ee44fe46f5c11bb1c94fb7c043b6181189f1f1b3d02f4df0e"
            "7c0413b133fe78fad9fde0f9446b7c04a6e144384fd7af45a394a5177c048e7f66d73a26e5c1b7d2"
            "86d37c0435dea2f746e70bd7daa0c37d7c04b75879010011622cd6e315ea7c042654f7cb039144e3"
            "2366704d7c048e4234e81744c34851d24de87c044e9a8585e9797c3a230a759d7c04ebb072b0a26e"
            "7551fbaa72db7c04bc660c2e48217acccccc35da9c7c0497750b5eac1bf5ee090304747c04fbb37a"
            "7014ff832e1f2ba6e27c"),
    };
    for (const QByteArray &input : inputs) {
        const ExactBuffer buffer(input);
        const QVector<RecordingAnalysis> whole =
            findHeaderlessRuns(buffer.data(), 0, buffer.size());
        for (const qint64 window : {256, 448}) {
            for (qint64 piece = 32; piece < buffer.size(); piece += 7) {
                SCOPED_TRACE(piece);
                expectSameRuns(searchInWindows(buffer, {}, window, piece, 1, 4 * window).runs,
                               whole);
            }
        }
    }
}

// A container full of signatures: its signed recordings are analysed a bounded stretch at a
// time, and the runs between them are those of one pass.
TEST(HeaderlessContainerSearch, SignedRecordingsAreAnalysedAStretchAtATime)
{
    Rng rng(82);
    const QByteArray oneFrame = randomFrame(false, 7, true, rng);
    QByteArray bytes;
    QVector<qint64> starts;
    for (int i = 0; i < 10000; ++i) {
        if (i == 5000) {
            bytes += filler(100, rng);
            bytes += joined(phoneLikeFrames(false, 200, rng));
            bytes += filler(100, rng);
        }
        starts.append(bytes.size());
        bytes += "#!AMR\n" + oneFrame;
    }
    const ExactBuffer buffer(bytes);
    const QVector<RecordingAnalysis> whole = findHeaderlessRecordings(
        buffer.data(), buffer.size(), analyseRecordings(buffer.data(), buffer.size(), starts));
    ASSERT_EQ(whole.size(), 1);
    const Searched searched = searchInWindows(buffer, starts, 64 << 10);
    expectSameRuns(searched.runs, whole);
    EXPECT_LE(searched.largestStretch, 4096);
}

// The bulk checks give what the frame rules give, byte by byte.
TEST(HeaderlessContainerSearch, BulkChecksAgreeWithTheFrameRules)
{
    QByteArray bytes(64 + 256, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 % 256);
    for (int at = 0; at + 64 <= bytes.size(); at += 37) {
        const FrameHeaderMasks masks = frameHeaderMasks(bytes.constData() + at, false);
        for (int i = 0; i < 64; ++i) {
            const quint8 byte = quint8(bytes[at + i]);
            EXPECT_EQ((masks.narrowBand >> i & 1) != 0, frameSizeTable(false)[byte] != 0) << byte;
            EXPECT_EQ((masks.wideBand >> i & 1) != 0, frameSizeTable(true)[byte] != 0) << byte;
        }
    }
    // The wide permutes, where the processor has them, give what sixteen bytes at a time give.
    Rng rng(83);
    for (int round = 0; round < 200; ++round) {
        QByteArray block = rng.bytes(128);
        if (round % 3 == 0)
            block.fill(char(frameHeaderByte(int(rng.below(16)), true)), int(rng.below(128)));
        for (const bool chained : {false, true}) {
            const FrameHeaderMasks wide = frameHeaderMasks(block.constData(), chained);
            const FrameHeaderMasks narrow = frameHeaderMasksSixteen(block.constData(), chained);
            EXPECT_EQ(wide.narrowBand, narrow.narrowBand);
            EXPECT_EQ(wide.wideBand, narrow.wideBand);
            EXPECT_EQ(wide.narrowChained, narrow.narrowChained);
            EXPECT_EQ(wide.wideChained, narrow.wideChained);
            EXPECT_EQ(wide.zero, narrow.zero);
            EXPECT_EQ(wide.periodTwo, narrow.periodTwo);
        }
    }
    const QByteArray pattern =
        QByteArray(5, 'x') + QByteArray(100, 'a') + "ab" + QByteArray("ba").repeated(40) + "c";
    // "xxxxx", a hundred 'a', then "ab" + "ba" over and over (one stretch from the 'b'), "c".
    EXPECT_EQ(periodTwoEnd(pattern.constData(), 0, pattern.size()), 5);
    EXPECT_EQ(periodTwoEnd(pattern.constData(), 5, pattern.size()), 106);
    EXPECT_EQ(periodTwoEnd(pattern.constData(), 107, pattern.size()), pattern.size() - 1);
    EXPECT_EQ(periodTwoEnd(pattern.constData(), 107, 150), 150);
}
