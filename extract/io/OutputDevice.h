#pragma once

#include <QIODevice>

namespace vocafetch {

// An OutputFile seen as a write-only, unbuffered QIODevice, for writers that want a device (an
// audio encoder). Every write either goes to the file whole or fails, and the file records the
// failure: a short write is never mistaken for success.

class OutputFile;

class OutputDevice : public QIODevice
{
public:
    explicit OutputDevice(OutputFile &file);
    // The file moved: writes follow it.
    void retarget(OutputFile &file) noexcept { m_file = &file; }
    // Random access, as writers that complete a header at the end (WAV, FLAC, Ogg) need.
    bool isSequential() const override { return false; }
    qint64 size() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    OutputFile *m_file;
};

} // namespace vocafetch
