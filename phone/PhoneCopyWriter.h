// Stores the local copies of one download's phone files below the start folder, in subfolders
// matching the names' own, without ever replacing a file the user has: a copy replaces the
// untouched copy an earlier read made of the same phone file, or else appears whole under the
// first free name ("a.drf", "a (1).drf", "a (2).drf", ...), or not at all. Whatever it creates
// is recorded. One writer serves one download.
#pragma once

#include "phone/PhoneCopyStore.h"

#include <QByteArray>
#include <QSet>
#include <QString>

class QTemporaryFile;

namespace vocafetch {

class PhoneCopyRegistry;

class PhoneCopyWriter : public PhoneCopyStore
{
public:
    PhoneCopyWriter(const QString &startDir, PhoneCopyRegistry &copies);

    QString write(const QString &name, const QByteArray &bytes,
                  const QByteArray &phonePath) override;

private:
    QString makeFolders(const QString &relativeFolder);
    QString earlierCopy(const QString &folder) const;
    void replace(QTemporaryFile &temporary, const QString &localPath);
    QString moveToFreeName(QTemporaryFile &temporary, const QString &folder,
                           const QString &fileName);
    void ensureInsideStartDir(const QString &folder) const;
    [[noreturn]] void fail(const QString &localPath, const QString &reason) const;

    QString m_startDir;
    PhoneCopyRegistry &m_copies;
    QSet<QString> m_written; // this download's copies, which none of its others may replace
    QByteArray m_phonePath;  // the phone file being stored
};

} // namespace vocafetch
