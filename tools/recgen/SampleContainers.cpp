#include "SampleContainers.h"

namespace RecGen {

ContainerBuilder multipartSample()
{
    Rng rng(2024);
    const Recording speech =
        makeRecording(AmrFormat::NarrowBand, 1, encodedSpeechFrames(250, {7, 4, 0, 5, 2}, true));
    const Recording wide = makeRecording(AmrFormat::WideBand, 1,
                                         randomFrames(true, 200, {8, 2, 9, 15, 0, 14}, 0, rng));
    ContainerBuilder builder;
    builder.bytes(QByteArray("MMSC\x00\x01", 6))
        .entryCount(3)
        .recordingPart(speech)
        .imagePart(3000, rng)
        .recordingPart(wide)
        .randomBytes(300, rng);
    return builder;
}

ContainerBuilder mixedSample()
{
    Rng rng(7);
    ContainerBuilder builder;
    builder.randomBytes(64, rng)
        .recording(makeRecording(AmrFormat::NarrowBand, 1,
                                 randomFrames(false, 300, {7, 6, 3, 8, 15}, 25, rng)))
        .randomBytes(500, rng)
        .recording(makeRecording(AmrFormat::WideBand, 1,
                                 randomFrames(true, 150, {2, 8, 1, 9, 15}, 0, rng)))
        .randomBytes(200, rng)
        .recording(makeRecording(AmrFormat::MultiChannelNarrowBand, 2,
                                 randomFrames(false, 2 * 100, {7, 7, 4, 15}, 0, rng)))
        .randomBytes(100, rng)
        .recording(makeRecording(AmrFormat::NarrowBand, 1,
                                 randomFrames(false, 120, {5, 5, 8, 15}, 0, rng)))
        .truncatedFrame(false, 7, 20, rng);
    return builder;
}

} // namespace RecGen
