#include "extract/InProcessClipboard.h"

#include <utility>

namespace vocafetch {

void InProcessClipboard::setData(std::shared_ptr<const ClipboardData> data)
{
    m_data = std::move(data);
}

bool InProcessClipboard::holds(const ClipboardData *data) const
{
    return data != nullptr && m_data.get() == data;
}

QStringList InProcessClipboard::formats() const
{
    return m_data ? m_data->formats() : QStringList();
}

QByteArray InProcessClipboard::data(const QString &format) const
{
    return m_data ? m_data->data(format) : QByteArray();
}

void InProcessClipboard::clear()
{
    m_data.reset();
}

} // namespace vocafetch
