#pragma once

#include <QString>

#include <taglib/tiostream.h>

namespace vocafetch {

// TagLib's view of an open file: reads and writes go straight to a descriptor the caller owns,
// a block at a time, so tagging a long recording never holds it in memory. TagLib ignores
// failed writes, so the stream keeps the first one and stops writing after it.

class DescriptorTagStream : public TagLib::IOStream
{
public:
    // fd must be open for reading and writing; it stays open.
    explicit DescriptorTagStream(int fd) : m_fd(fd) {}

    TagLib::FileName name() const override { return ""; }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &data) override;
    void insert(const TagLib::ByteVector &data, unsigned long start = 0,
                unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return false; }
    bool isOpen() const override { return m_fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return m_position; }
    long length() override;
    void truncate(long length) override;

    bool failed() const { return m_error != 0; }
    // The system's error number of the first failure, 0 without one.
    int error() const { return m_error; }

private:
    qint64 readAt(qint64 offset, char *data, qint64 size);
    bool writeAt(qint64 offset, const char *data, qint64 size);
    // Moves the bytes from `from` to the end by delta (either way), a buffer at a time.
    void shiftTail(qint64 from, qint64 delta);
    void fail(int error);

    int m_fd;
    long m_position = 0;
    int m_error = 0;
};

} // namespace vocafetch
