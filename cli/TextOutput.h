#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

// The words of the text output: counts in the singular or the plural, and names and messages
// made safe to print, so that a file name cannot break a line or forge one.

// "1 recording", "2 recordings".
QString counted(qint64 n, const char *one, const char *many);

// text with every control character escaped as C does it (\n, \t, \x1b) and each backslash
// doubled, so that the line printed is the one meant and shows what the name holds.
QString printable(const QString &text);
// A path for the text output: its undecodable bytes shown as U+FFFD, then printable().
QByteArray shownPath(const QString &path);

// "vocafetch-cli: PATH: MESSAGE\n", both parts printable.
QByteArray errorLine(const QString &path, const QString &message);
// "vocafetch-cli: MESSAGE\n".
QByteArray errorLine(const QString &message);

} // namespace vocafetch
