// Rules for the names of phone files below the phone folder "/a/mobile/mms/".
#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

// The phone folder whose files are downloaded; compared byte for byte, case-sensitive.
inline constexpr char PhoneFolderPrefix[] = "/a/mobile/mms/";

// True when `name` (the raw bytes after the phone folder) can be stored below the start
// folder and nowhere else: not empty, relative, no empty, "." or ".." component, no
// backslash, no drive letter and no control character.
bool isSafePhoneName(const QByteArray &name);

// "a.drf" with number 2 gives "a (2).drf"; a name without extension gets the number at its end.
QString numberedFileName(const QString &fileName, int number);

// The file name proposed by the recordings' save dialog after downloading `name`: its file
// name without the last four characters ("x.drf" gives "x"; empty when it is that short).
QString saveDialogPreset(const QString &name);

// `relative` below the folder `dir`. Unlike QDir::filePath, a name beginning with ':' stays a
// file below `dir` instead of turning into a path of the program's resources.
QString pathBelow(const QString &dir, const QString &relative);

} // namespace vocafetch
