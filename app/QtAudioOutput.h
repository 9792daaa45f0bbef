#pragma once

#include "app/AudioOutput.h"

#include <QBuffer>

#include <memory>

class QAudioSink;

namespace vocafetch {

// Plays through Qt Multimedia on the system's default audio output device: an audio sink
// reading the samples from a buffer in memory.
class QtAudioOutput : public AudioOutput
{
    Q_OBJECT
public:
    explicit QtAudioOutput(QObject *parent = nullptr);
    ~QtAudioOutput() override;

    StartResult start(const QByteArray &samples, int sampleRate) override;
    void stop() override;
    bool isPlaying() const override;

private:
    void sinkStateChanged();

    QByteArray m_samples;
    QBuffer m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace vocafetch
