#pragma once

#include "extract/message/MmsMessage.h"

#include <QString>
#include <QVector>

#include <optional>

namespace vocafetch {

// File names made from a template of fields ("{date}_{from}_{part}"), filled from the message
// around each recording, for saves that name their files after what the phone knew of them.

// Bytes a name made from a template takes at most, without its extension.
constexpr int MaxTemplatedNameBytes = 200;

// What the fields of one recording's name are filled from.
struct RecordingNameFields
{
    QString name;   // {name}: the chosen name (a prefix, the container's name)
    QString number; // {k}: "3", or "lost_1" for a headerless recording, as default names have
    const MmsMessage *message = nullptr; // the message carrying the recording, or null
    const MmsPart *part = nullptr;       // the part of it holding the recording, or null
};

class NameTemplate
{
public:
    // Today's names: NAME_k, NAME_lost_j.
    static QString defaultText() { return QStringLiteral("{name}_{k}"); }
    // The fields a template may name, in the order the help lists them.
    static QStringList fieldNames();

    // The template text; nothing, with why in problem, when it names an unknown field, leaves a
    // brace open or is empty.
    static std::optional<NameTemplate> parse(const QString &text, QString &problem);

    // The name for one recording, without an extension: each field's value (or "unknown" when
    // the recording has none), then made safe as safeFileName() does.
    QString expand(const RecordingNameFields &fields) const;

private:
    enum class Field
    {
        Text,
        Name,
        Number,
        Date,
        Time,
        From,
        Subject,
        Part
    };
    struct Piece
    {
        Field field;
        QString text; // the literal text of a Text piece
    };

    QVector<Piece> m_pieces;
};

// name made safe to be a file name and a shell word: every slash and control character, and a
// dot or a dash it begins with, becomes "_"; then it is cut to MaxTemplatedNameBytes bytes of
// UTF-8 (a byte kept from a name that is not UTF-8 counts as one), never inside a character.
QString safeFileName(const QString &name);

// The part's name for people: its Name, else its Content-Location, else its Content-ID (phones
// name a part by any of them), without the extension; empty when it has none.
QString partTitle(const MmsPart &part);

} // namespace vocafetch
