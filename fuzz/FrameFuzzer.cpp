// Any bytes as the stretch of a container around recordings: the frame walk, its continuation,
// the part-header search and the recording analysis from every "#!" in it. The bytes live in a
// buffer that ends exactly at the limit, so any read at or past the limit is caught. The search
// for runs with no header, probing or trying every offset, has a target of its own
// (HeaderlessFuzzer.cpp), which checks that they agree on every input.
//
// Input: one control byte (where a walk is split in two), then the bytes.
#include "FuzzSupport.h"

#include "extract/analysis/AmrFrameWalker.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "extract/analysis/WspPartHeader.h"

#include <cstdint>
#include <cstring>
#include <memory>

using namespace vocafetch;

namespace {

void checkWalk(const FrameWalk &walk, qint64 start, qint64 limit)
{
    FUZZ_CHECK(walk.audioEnd <= limit);
    if (walk.header.format == AmrFormat::Unknown) {
        FUZZ_CHECK(walk.stop == WalkStop::NoHeader && walk.audioEnd == start && walk.frames == 0);
        return;
    }
    FUZZ_CHECK(walk.audioEnd >= start + walk.header.size);
    // A multichannel frame counts once, however many of its channels' frames are foreign.
    FUZZ_CHECK(walk.damaged <= walk.frames &&
               walk.foreignSid <= walk.frames * walk.header.channels);
    FUZZ_CHECK(walk.frames <= walk.audioEnd - start - walk.header.size);
    FUZZ_CHECK(walk.stop != WalkStop::Limit || walk.audioEnd == limit);
}

bool sameWalk(const FrameWalk &a, const FrameWalk &b)
{
    return a.stop == b.stop && a.audioEnd == b.audioEnd && a.frames == b.frames &&
           a.damaged == b.damaged && a.foreignSid == b.foreignSid &&
           a.frameTypesSeen == b.frameTypesSeen && a.header.format == b.header.format;
}

void checkPartHeader(const char *data, qint64 start, qint64 lowerBound)
{
    const std::optional<WspPartHeader> part = findPartHeader(data, start, lowerBound);
    if (!part)
        return;
    FUZZ_CHECK(part->dataOffset == start);
    FUZZ_CHECK(part->offset >= lowerBound && part->offset < start);
    FUZZ_CHECK(start - part->offset <= PartHeaderSearchWindow + 16);
}

void exploreFrom(const char *data, qint64 start, qint64 limit, qint64 lowerBound, quint8 control)
{
    const FrameWalk whole = walkAmrFrames(data, start, limit);
    checkWalk(whole, start, limit);

    // Walked to a nearer limit and on from there, the walk must come out the same.
    const qint64 middle = start + (limit - start) * control / 255;
    FrameWalk split = walkAmrFrames(data, start, middle);
    checkWalk(split, start, middle);
    if (split.header.format != AmrFormat::Unknown) {
        continueAmrFrames(data, split, limit);
        FUZZ_CHECK(sameWalk(split, whole));
    }

    checkPartHeader(data, start, lowerBound);
    const RecordingAnalysis analysis = analyseRecording(data, start, limit, lowerBound);
    FUZZ_CHECK(analysis.audioEnd >= start && analysis.audioEnd <= limit);
    const ByteSpan clean = cleanRange(analysis);
    FUZZ_CHECK(clean.begin == start && clean.end >= start && clean.end <= limit);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 1)
        return 0;
    const quint8 control = bytes[0];
    const qint64 limit = qint64(size) - 1;
    // Exactly limit bytes on the heap: the sanitizer sees the first byte past them.
    std::unique_ptr<char[]> data(new char[std::max<qint64>(limit, 1)]);
    std::memcpy(data.get(), bytes + 1, size_t(limit));

    for (qint64 pos = 0; pos + 4 <= limit; ++pos) {
        if (auto value = readUintvar(data.get(), pos, limit))
            FUZZ_CHECK(value->length >= 1 && value->length <= 5 && pos + value->length <= limit);
    }
    qint64 previous = 0;
    int explored = 0;
    for (qint64 start = 0; start < limit && explored < 64; ++start) {
        if (start != 0 && !(data[start] == '#' && start + 1 < limit && data[start + 1] == '!'))
            continue;
        exploreFrom(data.get(), start, limit, previous, control);
        previous = start;
        ++explored;
    }
    return 0;
}
