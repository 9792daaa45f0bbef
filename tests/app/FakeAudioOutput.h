#pragma once

#include "app/AudioOutput.h"

#include <QByteArray>

namespace vocafetch {

// Plays nothing: records what it was asked to play.
class FakeAudioOutput : public AudioOutput
{
public:
    bool hasDevice = true;
    bool playing = false;
    int starts = 0;
    QByteArray samples;
    int sampleRate = 0;

    StartResult start(const QByteArray &pcm, int rate) override
    {
        if (!hasDevice)
            return StartResult::NoDevice;
        ++starts;
        samples = pcm;
        sampleRate = rate;
        playing = true;
        return StartResult::Started;
    }
    void stop() override { playing = false; }
    bool isPlaying() const override { return playing; }

    void playToTheEnd()
    {
        playing = false;
        emit finished(false);
    }
};

} // namespace vocafetch
