#pragma once

#include "extract/ClipboardData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace vocafetch {

// Where TByteBuffer's copy, cut and paste put and take their data. Formats are addressed by
// the names of ClipboardFormat; an implementation on QClipboard maps them with
// clipboardMimeType(). All calls come from one thread.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's content with the data object, offering all its formats.
    // Throws ExtractError with the reason when the content cannot be set.
    virtual void setData(std::shared_ptr<const ClipboardData> data) = 0;
    // Whether this object (by identity) is still the clipboard's content.
    virtual bool holds(const ClipboardData *data) const = 0;
    // The format names offered now, in the offering program's order; empty when the
    // clipboard is empty or cannot be read.
    virtual QStringList formats() const = 0;
    // The bytes of one offered format; empty when it is not offered.
    virtual QByteArray data(const QString &format) const = 0;
    // Empties the clipboard. Throws ExtractError("Cannot open clipboard") when it cannot.
    virtual void clear() = 0;
};

} // namespace vocafetch
