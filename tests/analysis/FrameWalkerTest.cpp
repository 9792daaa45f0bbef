#include "ExactBuffer.h"
#include "RecordingGenerator.h"
#include "extract/analysis/AmrFrameWalker.h"

#include <gtest/gtest.h>

using namespace vocafetch;

using namespace RecGen;

namespace {

FrameWalk walk(const QByteArray &bytes)
{
    const ExactBuffer buffer(bytes);
    return walkAmrFrames(buffer.data(), 0, buffer.size());
}

QByteArray frameOfSize(int frameType, int size, bool good = true)
{
    QByteArray frame(size, '\x55');
    frame[0] = char(frameHeaderByte(frameType, good));
    return frame;
}

// Sizes from the codec's bit counts: speech (or comfort-noise) bits in whole bytes, plus the
// header byte.
int sizeFromBits(int bits)
{
    return (bits + 7) / 8 + 1;
}

} // namespace

TEST(FrameWalker, FrameSizesFollowTheCodecBitCounts)
{
    const int narrowBits[] = {95, 103, 118, 134, 148, 159, 204, 244, 39, 43, 38, 37};
    const int wideBits[] = {132, 177, 253, 285, 317, 365, 397, 461, 477, 40};
    for (int type = 0; type < 12; ++type)
        EXPECT_EQ(amrFrameSize(false, type), sizeFromBits(narrowBits[type])) << "NB " << type;
    for (int type = 0; type < 10; ++type)
        EXPECT_EQ(amrFrameSize(true, type), sizeFromBits(wideBits[type])) << "WB " << type;
    for (int type : {12, 13, 14})
        EXPECT_EQ(amrFrameSize(false, type), 0) << "NB " << type;
    for (int type : {10, 11, 12, 13})
        EXPECT_EQ(amrFrameSize(true, type), 0) << "WB " << type;
    EXPECT_EQ(amrFrameSize(false, 15), 1);
    EXPECT_EQ(amrFrameSize(true, 14), 1);
    EXPECT_EQ(amrFrameSize(true, 15), 1);
}

TEST(FrameWalker, WalksEveryValidTypeToTheExactEnd)
{
    for (bool wideBand : {false, true}) {
        QByteArray bytes = amrHeader(wideBand ? AmrFormat::WideBand : AmrFormat::NarrowBand);
        int frames = 0;
        for (int type = 0; type < 16; ++type) {
            const int size = amrFrameSize(wideBand, type);
            if (size > 0) {
                bytes += frameOfSize(type, size);
                ++frames;
            }
        }
        const FrameWalk result = walk(bytes);
        EXPECT_EQ(result.stop, WalkStop::Limit);
        EXPECT_EQ(result.audioEnd, bytes.size());
        EXPECT_EQ(result.frames, frames);
        EXPECT_EQ(result.durationMs(), frames * 20);
        EXPECT_EQ(result.damaged, 0);
        EXPECT_EQ(result.foreignSid, wideBand ? 0 : 3);
        EXPECT_EQ(result.frameTypesSeen, wideBand ? 0xC3FF : 0x8FFF);
    }
}

TEST(FrameWalker, RecognisesEveryStorageHeader)
{
    struct Case
    {
        QByteArray header;
        AmrFormat format;
        int size;
        int channels;
    };
    const QByteArray stereo("\x00\x00\x00\x02", 4);
    const QByteArray reservedSet("\xFF\xFF\xFF\xF6", 4); // reserved bits ignored: 6 channels
    const Case cases[] = {
        {"#!AMR\n", AmrFormat::NarrowBand, 6, 1},
        {"#!AMR-WB\n", AmrFormat::WideBand, 9, 1},
        {"#!AMR_MC1.0\n" + stereo, AmrFormat::MultiChannelNarrowBand, 16, 2},
        {"#!AMR-WB_MC1.0\n" + reservedSet, AmrFormat::MultiChannelWideBand, 19, 6},
        {"#!amr\n", AmrFormat::NarrowBand, 6, 1},
        {"#!AMR-wb\n", AmrFormat::WideBand, 9, 1},
        {"#!AMR!\n", AmrFormat::Unknown, 0, 0},
        {"#!AMR", AmrFormat::Unknown, 0, 0},
        {"#!AMR-WB", AmrFormat::Unknown, 0, 0},
        {"#!AMR\r\n", AmrFormat::Unknown, 0, 0},
        {"#!AMR_MC1.0\n" + QByteArray(4, '\0'), AmrFormat::Unknown, 0, 0},
        {"#!AMR_MC1.0\n" + QByteArray("\x00\x00\x00\x07", 4), AmrFormat::Unknown, 0, 0},
        {QByteArray("#!AMR_MC1.0\n\x00\x00\x00", 15), AmrFormat::Unknown, 0, 0},
    };
    for (const Case &c : cases) {
        const ExactBuffer buffer(c.header);
        const AmrHeader header = readAmrHeader(buffer.data(), 0, buffer.size());
        EXPECT_EQ(header.format, c.format) << c.header.toHex().constData();
        EXPECT_EQ(header.size, c.size) << c.header.toHex().constData();
        EXPECT_EQ(header.channels, c.channels) << c.header.toHex().constData();
        EXPECT_EQ(header.exactCase, c.header.left(5) == "#!AMR" && !c.header.contains("wb"))
            << c.header.toHex().constData();
    }
    const FrameWalk unknown = walk("#!AMR!\n" + frameOfSize(7, 32));
    EXPECT_EQ(unknown.stop, WalkStop::NoHeader);
    EXPECT_EQ(unknown.audioEnd, 0);
    EXPECT_EQ(unknown.frames, 0);
}

TEST(FrameWalker, StopsWhereTheAudioEnds)
{
    const QByteArray nb = amrHeader(AmrFormat::NarrowBand);
    const QByteArray audio = nb + frameOfSize(7, 32) + frameOfSize(8, 6) + frameOfSize(15, 1);
    const qint64 end = audio.size();
    struct Case
    {
        const char *what;
        QByteArray tail;
        WalkStop stop;
    };
    const Case cases[] = {
        {"padding bit P0", QByteArray(1, char(0x80 | frameHeaderByte(7, true))) + QByteArray(40, 1),
         WalkStop::InvalidHeader},
        {"padding bits", QByteArray(1, char(frameHeaderByte(7, true) | 0x01)) + QByteArray(40, 1),
         WalkStop::InvalidHeader},
        {"unused type 12", frameOfSize(12, 40), WalkStop::InvalidHeader},
        {"type 14 is wide band only", frameOfSize(14, 40), WalkStop::InvalidHeader},
        {"four zero bytes", QByteArray(40, '\0'), WalkStop::ZeroRun},
        {"truncated last frame", frameOfSize(7, 31), WalkStop::CrossesLimit},
        {"a lone zero byte", QByteArray(1, '\0'), WalkStop::CrossesLimit},
    };
    for (const Case &c : cases) {
        const FrameWalk result = walk(audio + c.tail);
        EXPECT_EQ(result.stop, c.stop) << c.what;
        EXPECT_EQ(result.audioEnd, end) << c.what;
        EXPECT_EQ(result.frames, 3) << c.what;
    }
    // Damaged 4.75 kbit/s frames have the header byte 0: four zero bytes still stop the walk.
    QByteArray damagedRun = nb;
    for (int i = 0; i < 9; ++i)
        damagedRun += frameOfSize(0, 13, false);
    const FrameWalk zeroAfterRun =
        walk(damagedRun + QByteArray(13, '\0') + frameOfSize(0, 13, false).repeated(8));
    EXPECT_EQ(zeroAfterRun.stop, WalkStop::ZeroRun);
    EXPECT_EQ(zeroAfterRun.frames, 9);
    EXPECT_EQ(zeroAfterRun.damaged, 9);

    // Three zero bytes are a damaged 4.75 kbit/s frame's start, not a stop.
    const FrameWalk zeros = walk(audio + QByteArray(3, '\0') + QByteArray(10, 1));
    EXPECT_EQ(zeros.frames, 4);
    EXPECT_EQ(zeros.damaged, 1);
    EXPECT_EQ(zeros.stop, WalkStop::Limit);

    // Wide band: 10 is unused, 14 (speech lost) is a one-byte frame.
    const QByteArray wb = amrHeader(AmrFormat::WideBand) + frameOfSize(14, 1) + frameOfSize(10, 9);
    const FrameWalk wide = walk(wb);
    EXPECT_EQ(wide.frames, 1);
    EXPECT_EQ(wide.stop, WalkStop::InvalidHeader);
    EXPECT_EQ(wide.audioEnd, 9 + 1);
}

TEST(FrameWalker, MultichannelCountsFrameBlocks)
{
    Rng rng(5);
    // Three channels; the fifth frame (second block) damaged.
    QList<QByteArray> frames = randomFrames(true, 3 * 40, {2, 8, 9}, 0, rng);
    frames[4][0] = char(frameHeaderByte(8, false));
    const Recording recording = makeRecording(AmrFormat::MultiChannelWideBand, 3, frames);
    const FrameWalk result = walk(recording.bytes);
    EXPECT_EQ(result.header.channels, 3);
    EXPECT_EQ(result.frames, 40);
    EXPECT_EQ(result.durationMs(), 800);
    EXPECT_EQ(result.damaged, 1);
    EXPECT_EQ(result.audioEnd, recording.bytes.size());

    // An incomplete last block is not audio.
    const QByteArray partial =
        recording.bytes + randomFrame(true, 2, true, rng) + randomFrame(true, 2, true, rng);
    const FrameWalk cut = walk(partial);
    EXPECT_EQ(cut.frames, 40);
    EXPECT_EQ(cut.stop, WalkStop::CrossesLimit);
    EXPECT_EQ(cut.audioEnd, recording.bytes.size());
}

// The walk skips along runs of equal headers; it must count exactly what a frame-by-frame walk
// counts, wherever a run is cut by the limit, broken by another mode or ended by zero bytes.
TEST(FrameWalker, RunsOfOneModeCountLikeSingleFrames)
{
    Rng rng(77);
    for (int round = 0; round < 200; ++round) {
        const bool wideBand = round % 2 == 1;
        QByteArray bytes = amrHeader(wideBand ? AmrFormat::WideBand : AmrFormat::NarrowBand);
        const int runs = 1 + rng.below(5);
        for (int r = 0; r < runs; ++r) {
            const int type = rng.below(3) == 0 ? 15 : rng.below(8);
            const bool good = rng.below(4) != 0;
            for (int n = rng.below(40); n > 0; --n)
                bytes += randomFrame(wideBand, type, good, rng);
        }
        bytes += QByteArray(rng.below(3) == 0 ? 4 : 0, '\0') + rng.bytes(rng.below(20));
        const qint64 limit = 1 + rng.below(int(bytes.size()));
        const ExactBuffer buffer(bytes.left(limit));
        const FrameWalk result = walkAmrFrames(buffer.data(), 0, limit);

        // Frame by frame.
        qint64 pos = wideBand ? 9 : 6, frames = 0, damaged = 0;
        while (pos < limit) {
            const quint8 byte = quint8(bytes[pos]);
            if (limit - pos >= 4 && bytes.mid(pos, 4) == QByteArray(4, '\0'))
                break;
            const int size = (byte & 0x83) ? 0 : amrFrameSize(wideBand, byte >> 3);
            if (size == 0 || limit - pos < size)
                break;
            pos += size;
            ++frames;
            damaged += (byte & 0x04) ? 0 : 1;
        }
        if (limit < (wideBand ? 9 : 6))
            pos = 0;
        ASSERT_EQ(result.audioEnd, pos) << round;
        ASSERT_EQ(result.frames, frames) << round;
        ASSERT_EQ(result.damaged, damaged) << round;
    }
}

TEST(FrameWalker, IsSafeOnRandomBytes)
{
    Rng rng(99);
    const QByteArray headers[] = {amrHeader(AmrFormat::NarrowBand), amrHeader(AmrFormat::WideBand),
                                  amrHeader(AmrFormat::MultiChannelNarrowBand, 5),
                                  amrHeader(AmrFormat::MultiChannelWideBand, 6)};
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = headers[round % 4] + rng.bytes(rng.below(300));
        // Mostly valid frame headers, so walks go far before they stop.
        for (int i = 6; i < bytes.size(); i += 1 + rng.below(8))
            bytes[i] = char(bytes[i] & 0x7C);
        const FrameWalk result = walk(bytes);
        EXPECT_GE(result.audioEnd, result.header.size);
        EXPECT_LE(result.audioEnd, bytes.size());
        EXPECT_LE(result.damaged, result.frames);
    }
}
