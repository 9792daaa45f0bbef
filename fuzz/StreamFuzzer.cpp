// Any bytes as a container read from a pipe: fed to the stream reader in reads of any sizes, it
// must give what the in-memory scan and analysis of the same bytes give: the recording starts,
// the markers, every recording's analysis (the headerless ones too when asked for), in order.
//
// Input: a flags byte (bit 0: look for headerless recordings; bit 1: every other read is a
// single byte), a byte that sets the read sizes (1 to 1021 bytes, changing from read to read: a
// dozen or so reads cut a few KiB anywhere, where reads of one byte each would spend the run in
// the scan's setup), then the container's bytes.
#include "FuzzSupport.h"

#include "cli/StreamAnalysis.h"
#include "extract/ContainerFileScan.h"
#include "extract/analysis/HeaderlessRuns.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <algorithm>
#include <cstdint>

using namespace vocafetch;

namespace {

// What a listing shows of a recording, and where its part header lies.
bool sameRecording(const RecordingAnalysis &a, const RecordingAnalysis &b)
{
    return a.start == b.start && a.limit == b.limit && a.audioEnd == b.audioEnd &&
           a.endFrom == b.endFrom && a.format() == b.format() && a.channels() == b.channels() &&
           a.frames() == b.frames() && a.damaged() == b.damaged() && a.walk.stop == b.walk.stop &&
           a.headerless == b.headerless && a.hasPartHeader == b.hasPartHeader &&
           (!a.hasPartHeader || (a.partHeader.offset == b.partHeader.offset &&
                                 a.partHeader.dataEnd() == b.partHeader.dataEnd()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 2)
        return 0;
    const bool headerless = bytes[0] & 1;
    const bool singleBytes = bytes[0] & 2;
    const qint64 firstRead = bytes[1];
    // The container's bytes where libFuzzer keeps them: a read past their end is caught.
    const char *data = reinterpret_cast<const char *>(bytes + 2);
    const qint64 length = qint64(size) - 2;

    ContainerScanner scanner;
    scanner.scanWindow(bytes + 2, 0, length);
    const ContainerScan &scan = scanner.result();
    QVector<RecordingAnalysis> expected = analyseRecordings(data, length, scan.recordingStarts, 1);
    if (headerless)
        expected += findHeaderlessRecordings(data, length, expected);

    StreamAnalysis stream(headerless);
    bool single = false;
    for (qint64 at = 0, read = 0; at < length; ++read) {
        const qint64 want = single ? 1 : 1 + (firstRead + read * 197) % 1021;
        const qint64 n = std::min(want, length - at);
        stream.feed(data + at, n);
        at += n;
        single = singleBytes && !single;
    }
    stream.finish();

    FUZZ_CHECK(stream.size() == length);
    FUZZ_CHECK(stream.scan().recordingStarts == scan.recordingStarts);
    FUZZ_CHECK(stream.scan().typeMarkers == scan.typeMarkers);
    FUZZ_CHECK(stream.signedCount() == scan.recordingCount());
    const QVector<RecordingAnalysis> &recordings = stream.recordings();
    FUZZ_CHECK(recordings.size() == expected.size());
    for (qsizetype i = 0; i < recordings.size(); ++i) {
        if (!sameRecording(recordings[i], expected[i]))
            std::fprintf(
                stderr,
                "recording %lld: stream start %lld end %lld, in memory start %lld end %lld\n",
                qint64(i), recordings[i].start, recordings[i].audioEnd, expected[i].start,
                expected[i].audioEnd);
        FUZZ_CHECK(sameRecording(recordings[i], expected[i]));
    }
    return 0;
}
