// Whether a window of frames looks like speech, at the edges of its limits: payload bytes near
// the frames before them, as a table's are, in all places or in one; a window still filling.
#include "extract/analysis/SpeechWindow.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <random>

using namespace vocafetch;

namespace {

constexpr int Length = 20; // payload bytes of each frame

// Frames of random payloads, each byte at least two apart from the byte at its place in the
// two frames before; then in frame i the bytes at nearPlaces(i) are made one above the frame
// before's.
template <typename Places> QList<QByteArray> framesWithNearBytes(int count, Places nearPlaces)
{
    std::mt19937 rng(7);
    QList<QByteArray> frames;
    const auto apart = [](quint8 a, quint8 b) { return quint8(a - b + 1) > 2; };
    for (int i = 0; i < count; ++i) {
        QByteArray payload(Length, '\0');
        for (int j = 0; j < Length; ++j) {
            quint8 byte = 0;
            do {
                byte = quint8(rng() % 255 + 1); // no zero bytes
            } while ((i > 0 && !apart(byte, quint8(frames[i - 1][j]))) ||
                     (i > 1 && !apart(byte, quint8(frames[i - 2][j]))));
            payload[j] = char(byte);
        }
        if (i > 0)
            for (const int j : nearPlaces(i))
                payload[j] = char(quint8(frames[i - 1][j]) + 1);
        frames.append(payload);
    }
    return frames;
}

bool looksLikeSpeech(const QList<QByteArray> &frames)
{
    SpeechWindow window;
    window.reset(HeaderlessLimits());
    for (qsizetype i = 0; i < frames.size(); ++i)
        window.add(true, false, frames[i].constData(), Length,
                   i > 0 ? frames[i - 1].constData() : nullptr,
                   i > 1 ? frames[i - 2].constData() : nullptr);
    return window.looksLikeSpeech();
}

} // namespace

TEST(SpeechWindow, NearBytesCountToTheLastOneInAllPlacesAndInOne)
{
    const int frames = HeaderlessLimits().minFrames;
    // Near bytes in neighbouring places, moving along the payload: the 49 frames compared hold
    // 4 x 49 = 196 of 1000 bytes near (the most is a fifth), or 5 x 49 = 245.
    const auto spread = [](int count) {
        return [count](int i) {
            QList<int> places;
            for (int k = 0; k < count; ++k)
                places.append((i * 3 + k) % Length);
            return places;
        };
    };
    EXPECT_TRUE(looksLikeSpeech(framesWithNearBytes(frames, spread(4))));
    EXPECT_FALSE(looksLikeSpeech(framesWithNearBytes(frames, spread(5))));
    // A window that is not full yet tells nothing.
    EXPECT_FALSE(looksLikeSpeech(framesWithNearBytes(frames - 1, spread(0))));

    // One byte near in every frame is few in all (49 of 1000), but always in the same place it
    // is a field of a table; in a place that moves it is not.
    EXPECT_FALSE(looksLikeSpeech(framesWithNearBytes(frames, [](int) { return QList<int>{7}; })));
    EXPECT_TRUE(
        looksLikeSpeech(framesWithNearBytes(frames, [](int i) { return QList<int>{i % Length}; })));
}
