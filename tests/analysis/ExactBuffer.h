#pragma once

#include <QByteArray>

#include <cstring>
#include <memory>

namespace vocafetch {

// A heap copy of exactly the given bytes, with nothing after them: under AddressSanitizer any
// read past the end is caught (a QByteArray keeps a zero byte and spare room there).
class ExactBuffer
{
public:
    explicit ExactBuffer(const QByteArray &bytes)
        : m_size(bytes.size()), m_data(new char[size_t(qMax<qsizetype>(bytes.size(), 1))])
    {
        std::memcpy(m_data.get(), bytes.constData(), size_t(bytes.size()));
    }
    const char *data() const { return m_data.get(); }
    qint64 size() const { return m_size; }

private:
    qint64 m_size;
    std::unique_ptr<char[]> m_data;
};

} // namespace vocafetch
