#include "app/QtAudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace vocafetch {

QtAudioOutput::QtAudioOutput(QObject *parent) : AudioOutput(parent) {}

QtAudioOutput::~QtAudioOutput()
{
    stop();
}

AudioOutput::StartResult QtAudioOutput::start(const QByteArray &samples, int sampleRate)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return StartResult::NoDevice;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return StartResult::Refused;

    m_samples = samples;
    m_buffer.setData(m_samples);
    if (!m_buffer.open(QIODevice::ReadOnly))
        return StartResult::Refused;
    m_sink = std::make_unique<QAudioSink>(device, format);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtAudioOutput::sinkStateChanged);
    m_sink->start(&m_buffer);
    if (m_sink->error() != QAudio::NoError) {
        stop();
        return StartResult::Refused;
    }
    return StartResult::Started;
}

void QtAudioOutput::stop()
{
    if (m_sink) {
        // Destroyed after its signals are cut, so stopping reports nothing.
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.close();
    m_samples.clear();
}

bool QtAudioOutput::isPlaying() const
{
    return m_sink != nullptr;
}

void QtAudioOutput::sinkStateChanged()
{
    if (!m_sink)
        return;
    const QAudio::State state = m_sink->state();
    const bool failed =
        m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError;
    // Idle: the buffer is played out. Stopped with an error: the device went away.
    if (state == QAudio::IdleState || (state == QAudio::StoppedState && failed)) {
        const bool deviceFailed = state == QAudio::StoppedState;
        // The sink cannot be destroyed inside its own signal.
        QAudioSink *sink = m_sink.release();
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
        m_buffer.close();
        m_samples.clear();
        emit finished(deviceFailed);
    }
}

} // namespace vocafetch
