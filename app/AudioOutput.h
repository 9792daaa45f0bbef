#pragma once

#include <QByteArray>
#include <QObject>

namespace vocafetch {

// Where the window plays a decoded recording: the system's default audio device, or in tests a
// scripted one. One recording plays at a time.
class AudioOutput : public QObject
{
    Q_OBJECT
public:
    enum class StartResult
    {
        Started,
        NoDevice, // the system has no audio output device
        Refused,  // the device does not take the samples
    };

    using QObject::QObject;

    // Plays 16-bit little-endian mono samples at sampleRate, replacing what plays.
    virtual StartResult start(const QByteArray &samples, int sampleRate) = 0;
    // Stops playing; emits nothing.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;

signals:
    // Playing ended by itself: all samples played, or (failed) the device gave up.
    void finished(bool failed);
};

} // namespace vocafetch
