#pragma once

#include "extract/Clipboard.h"

namespace vocafetch {

// A clipboard private to this process: nothing outside sees or changes it. Exports carry
// recordings through one of these, so the user's system clipboard is never touched.
class InProcessClipboard : public Clipboard
{
public:
    void setData(std::shared_ptr<const ClipboardData> data) override;
    bool holds(const ClipboardData *data) const override;
    QStringList formats() const override;
    QByteArray data(const QString &format) const override;
    void clear() override;

private:
    std::shared_ptr<const ClipboardData> m_data;
};

} // namespace vocafetch
