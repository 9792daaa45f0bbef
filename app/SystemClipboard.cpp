#include "app/SystemClipboard.h"

#include "extract/ExtractError.h"

#include <QGuiApplication>
#include <QMimeData>

namespace {

// Offers a ClipboardData's formats under their MIME types and renders each on demand.
class ClipboardDataMime : public QMimeData
{
    Q_OBJECT
public:
    explicit ClipboardDataMime(std::shared_ptr<const ClipboardData> data) : m_data(std::move(data))
    {
    }

    const ClipboardData *clipboardData() const { return m_data.get(); }

    QStringList formats() const override
    {
        QStringList mimeTypes;
        for (const QString &format : m_data->formats())
            mimeTypes << clipboardMimeType(format);
        return mimeTypes;
    }

    bool hasFormat(const QString &mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        const QString format = clipboardFormatForMimeType(mimeType);
        if (format.isEmpty() || !m_data->formats().contains(format))
            return {};
        const QByteArray bytes = m_data->data(format);
        if (type.id() == QMetaType::QString && format == ClipboardFormat::Text)
            return QString::fromLatin1(bytes.left(bytes.indexOf('\0')));
        return bytes;
    }

private:
    std::shared_ptr<const ClipboardData> m_data;
};

QClipboard &systemClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw ExtractError(QStringLiteral("Cannot open clipboard"));
    return *clipboard;
}

} // namespace

SystemClipboard::SystemClipboard(QClipboard::Mode mode) : m_mode(mode) {}

void SystemClipboard::setData(std::shared_ptr<const ClipboardData> data)
{
    if (!data)
        throw ExtractError(QStringLiteral("No data to put on the clipboard"));
    systemClipboard().setMimeData(new ClipboardDataMime(std::move(data)), m_mode);
}

bool SystemClipboard::holds(const ClipboardData *data) const
{
    const auto *mime = qobject_cast<const ClipboardDataMime *>(systemClipboard().mimeData(m_mode));
    return data && mime && mime->clipboardData() == data;
}

QStringList SystemClipboard::formats() const
{
    const QMimeData *mime = systemClipboard().mimeData(m_mode);
    QStringList result;
    if (!mime)
        return result;
    for (const QString &mimeType : mime->formats()) {
        const QString format = clipboardFormatForMimeType(mimeType);
        if (!format.isEmpty() && !result.contains(format))
            result << format;
    }
    return result;
}

QByteArray SystemClipboard::data(const QString &format) const
{
    const QMimeData *mime = systemClipboard().mimeData(m_mode);
    const QString mimeType = clipboardMimeType(format);
    if (!mime || mimeType.isEmpty() || !mime->hasFormat(mimeType))
        return {};
    return mime->data(mimeType);
}

void SystemClipboard::clear()
{
    systemClipboard().clear(m_mode);
}

#include "SystemClipboard.moc"
