#pragma once

#include "extract/Clipboard.h"

#include <QClipboard>

// The desktop's clipboard through QClipboard: each format of a data object is offered as its
// own MIME type (on Windows under the registered format's name), rendered only when a reader
// asks for it, so other programs see what the buffer copied.
class SystemClipboard : public Clipboard
{
public:
    explicit SystemClipboard(QClipboard::Mode mode = QClipboard::Clipboard);

    void setData(std::shared_ptr<const ClipboardData> data) override;
    bool holds(const ClipboardData *data) const override;
    QStringList formats() const override;
    QByteArray data(const QString &format) const override;
    void clear() override;

private:
    QClipboard::Mode m_mode;
};
