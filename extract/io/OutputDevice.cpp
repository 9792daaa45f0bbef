#include "extract/io/OutputDevice.h"

#include "extract/ExtractError.h"
#include "extract/io/OutputFile.h"

namespace vocafetch {

OutputDevice::OutputDevice(OutputFile &file) : m_file(&file)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputDevice::size() const
{
    return m_file->writtenSize();
}

qint64 OutputDevice::readData(char *, qint64)
{
    return -1;
}

qint64 OutputDevice::writeData(const char *data, qint64 size)
{
    try {
        m_file->writeAt(pos(), data, size);
        return size;
    } catch (const ExtractError &error) {
        setErrorString(error.message());
        return -1;
    }
}

} // namespace vocafetch
