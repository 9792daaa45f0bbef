#include "phone/PhoneCopyWriter.h"

#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownloadError.h"
#include "phone/PhoneFileName.h"
#include "phone/PhoneNameDecoding.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace vocafetch {

namespace {

// Far more than any folder holds copies of one name; it only bounds the search.
constexpr int MaxNumber = 100000;

bool isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

PhoneCopyWriter::PhoneCopyWriter(const QString &startDir, PhoneCopyRegistry &copies)
    : m_startDir(startDir), m_copies(copies)
{
}

QString PhoneCopyWriter::write(const QString &name, const QByteArray &bytes,
                               const QByteArray &phonePath)
{
    m_phonePath = phonePath;
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const QString relativeFolder = slash < 0 ? QString() : name.left(slash);
    const QString fileName = name.mid(slash + 1);
    const QString folder = makeFolders(relativeFolder);

    QTemporaryFile temporary(pathBelow(folder, QStringLiteral(".vocafetch-XXXXXX")));
    if (!temporary.open())
        fail(pathBelow(folder, fileName), temporary.errorString());
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        fail(pathBelow(folder, fileName), temporary.errorString());

    QString localPath = earlierCopy(folder);
    if (localPath.isEmpty())
        localPath = moveToFreeName(temporary, folder, fileName);
    else
        replace(temporary, localPath);
    temporary.setAutoRemove(false);
    m_written.insert(localPath);
    m_copies.recordFile(localPath, phonePath);
    const QString caption = QFileInfo(localPath).fileName();
    return relativeFolder.isEmpty() ? caption : relativeFolder + u'/' + caption;
}

// The copy an earlier read made of the phone file, when it still lies untouched in `folder`.
QString PhoneCopyWriter::earlierCopy(const QString &folder) const
{
    const QString earlier = m_copies.copyOf(m_phonePath);
    if (earlier.isEmpty() || m_written.contains(earlier) ||
        QFileInfo(earlier).path() != QDir(folder).path())
        return QString();
    return earlier;
}

void PhoneCopyWriter::replace(QTemporaryFile &temporary, const QString &localPath)
{
    // rename(2) swaps the new copy in at once: the earlier copy stays whole until then.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(localPath).constData()) != 0)
        fail(localPath, qt_error_string(errno));
}

QString PhoneCopyWriter::moveToFreeName(QTemporaryFile &temporary, const QString &folder,
                                        const QString &fileName)
{
    // The rename never replaces an existing file, so a name taken meanwhile is skipped too.
    for (int number = 0; number <= MaxNumber; ++number) {
        const QString candidate = number == 0 ? fileName : numberedFileName(fileName, number);
        const QString localPath = pathBelow(folder, candidate);
        if (isTaken(localPath))
            continue;
        if (temporary.rename(localPath))
            return localPath;
        if (!isTaken(localPath))
            fail(localPath, temporary.errorString());
    }
    fail(pathBelow(folder, fileName), QStringLiteral("No free file name is left."));
}

QString PhoneCopyWriter::makeFolders(const QString &relativeFolder)
{
    const QString start = QDir(m_startDir).path();
    if (relativeFolder.isEmpty())
        return start;
    QString relative;
    const QStringList components = relativeFolder.split(QLatin1Char('/'));
    for (const QString &component : components) {
        relative = relative.isEmpty() ? component : relative + u'/' + component;
        const QString path = pathBelow(start, relative);
        const QFileInfo info(path);
        if (!isTaken(path)) {
            if (!QDir().mkdir(path))
                fail(path, QStringLiteral("The folder cannot be created."));
            m_copies.recordFolder(path);
        } else if (!info.isDir()) {
            fail(path, QStringLiteral("A file of that name is in the way."));
        } else {
            // A link to a folder elsewhere must not get the next folder created through it.
            ensureInsideStartDir(path);
        }
    }
    const QString folder = pathBelow(start, relativeFolder);
    ensureInsideStartDir(folder);
    return folder;
}

void PhoneCopyWriter::ensureInsideStartDir(const QString &folder) const
{
    QString root = QFileInfo(m_startDir).canonicalFilePath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!root.endsWith(u'/'))
        root += u'/';
    if (canonical.isEmpty() || !(canonical + u'/').startsWith(root))
        fail(folder, QStringLiteral("The folder leads outside the start folder."));
}

void PhoneCopyWriter::fail(const QString &localPath, const QString &reason) const
{
    throw PhoneDownloadError(
        QStringLiteral("Cannot create file \"%1\" for the phone file \"%2\". %3")
            .arg(QDir::toNativeSeparators(localPath), vocafetch::decodePhoneName(m_phonePath),
                 reason));
}

} // namespace vocafetch
