#pragma once

#include "extract/message/WspReader.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vocafetch {

// A content type as WSP writes it: a well-known number or a media text, and, in the general
// form (a value length first), parameters.
struct WspContentType
{
    QByteArray mediaType; // lower case; empty for a well-known number without a known name
    QByteArray charset;   // as charsetName gives it; empty when not given
    QString name;         // the Name parameter
    QString filename;     // the Filename parameter
};

// Reads a Content-type-value. Nothing when it is cut short or its media text is not a
// printable token (which tells a part header from other bytes); unreadable parameters are
// left out.
std::optional<WspContentType> readContentType(WspReader &reader);

// The name of a WSP well-known content type number; empty when unknown.
QByteArray wellKnownMediaType(quint64 number);

// Reads the parameters of a content type or disposition into type, up to the reader's end;
// stops at the first that cannot be read.
void readParameters(WspReader &reader, WspContentType &type);

} // namespace vocafetch
