// Stores the local copy of one phone file below the start folder, in subfolders matching the
// name's own, without ever replacing a file: the copy appears whole under the first free name
// ("a.drf", "a (1).drf", "a (2).drf", ...) or not at all. Whatever it creates is recorded.
#pragma once

#include <QByteArray>
#include <QString>

class PhoneCopyRegistry;

class PhoneCopyWriter
{
public:
    PhoneCopyWriter(const QString &startDir, PhoneCopyRegistry &copies);

    // Writes `bytes` as `name` (a safe relative name with "/" separators) and returns the
    // copy's path relative to the start folder. Throws PhoneDownloadError naming `phonePath`
    // and the local file when the copy cannot be made.
    QString write(const QString &name, const QByteArray &bytes, const QString &phonePath);

private:
    QString makeFolders(const QString &relativeFolder, const QString &phonePath);
    void ensureInsideStartDir(const QString &folder, const QString &phonePath) const;
    [[noreturn]] void fail(const QString &phonePath, const QString &localPath,
                           const QString &reason) const;

    QString m_startDir;
    PhoneCopyRegistry &m_copies;
};
