#include "phone/PhoneDownload.h"

#include "phone/PhoneCopyWriter.h"
#include "phone/PhoneDownloadError.h"
#include "phone/PhoneFileEntry.h"
#include "phone/PhoneFileName.h"
#include "phone/PhoneLog.h"
#include "phone/PhoneNameDecoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace vocafetch {

namespace {

constexpr qsizetype PrefixLength = sizeof(PhoneFolderPrefix) - 1;

struct FreeEntries
{
    void operator()(TPhoneFileEntry *entries) const { std::free(entries); }
};
using EntryList = std::unique_ptr<TPhoneFileEntry[], FreeEntries>;

// Zeroed by the allocator, so that entries a lying library leaves unwritten read as empty
// paths: a long list comes as zero pages instead of being zeroed again.
EntryList allocateEntries(int count)
{
    if (count > PhoneDownload::MaxEntries) {
        throw PhoneDownloadError(QStringLiteral("The phone lists %1 files; at most %2 can be read.")
                                     .arg(count)
                                     .arg(PhoneDownload::MaxEntries));
    }
    EntryList entries(static_cast<TPhoneFileEntry *>(
        std::calloc(static_cast<std::size_t>(std::max(count, 1)), sizeof(TPhoneFileEntry))));
    if (!entries) {
        throw PhoneDownloadError(
            QStringLiteral("The phone lists %1 files, more than fit in memory.").arg(count));
    }
    return entries;
}

} // namespace

PhoneDownload::PhoneDownload(PhoneLibrary &library, const QString &startDir,
                             PhoneCopyRegistry &copies, StatusSink status)
    : m_library(library), m_startDir(startDir),
      m_ownStore(std::make_unique<PhoneCopyWriter>(startDir, copies)), m_store(*m_ownStore),
      m_status(std::move(status))
{
}

PhoneDownload::PhoneDownload(PhoneLibrary &library, const QString &startDir, PhoneCopyStore &store,
                             StatusSink status)
    : m_library(library), m_startDir(startDir), m_store(store), m_status(std::move(status))
{
}

PhoneDownload::~PhoneDownload() = default;

void PhoneDownload::run()
{
    m_result = PhoneDownloadResult();
    QList<PhoneFile> files;
    if (m_library.p2kGetStatus() == PhoneLibrary::ReadyStatus) {
        m_status(QCoreApplication::translate("PhoneDownload", "Получение списка файлов..."));
        files = listFiles();
    }
    for (const PhoneFile &file : std::as_const(files)) {
        m_result.phoneNames.append(file.name);
        m_result.phoneSizes.append(file.size);
    }
    if (files.isEmpty()) {
        m_status(QCoreApplication::translate("PhoneDownload", "Не найдено файлов DRF"));
        return;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (m_cancelled)
            return;
        copyFile(files[i]);
        m_status(QCoreApplication::translate("PhoneDownload", "Чтение файла %1/%2")
                     .arg(i + 1)
                     .arg(files.size()));
    }
    m_status(QCoreApplication::translate("PhoneDownload", "Все файлы успешно загружены"));
}

QList<PhoneDownload::PhoneFile> PhoneDownload::listFiles()
{
    const int count = qMax(0, m_library.fileCount());
    const EntryList entries = allocateEntries(count);
    m_library.fileList(count == 0 ? nullptr : entries.get(), count);

    QList<PhoneFile> files;
    for (int i = 0; i < count; ++i) {
        const TPhoneFileEntry &entry = entries[size_t(i)];
        const QByteArray path = phoneEntryPath(entry);
        if (!path.startsWith(PhoneFolderPrefix))
            continue;
        const QByteArray rawName = path.mid(PrefixLength);
        const qint32 size = phoneEntrySize(entry);
        if (size < 0 || !isSafePhoneName(rawName)) {
            qCInfo(lcPhone) << "skipping phone file" << path << "of size" << size;
            continue;
        }
        files.append({rawName, vocafetch::decodePhoneName(rawName), size});
    }
    return files;
}

QByteArray PhoneDownload::readFile(const QByteArray &phonePath, qint32 size)
{
    QByteArray bytes;
    try {
        bytes = QByteArray(size, '\0');
    } catch (const std::bad_alloc &) {
        throw PhoneDownloadError(
            QStringLiteral("The phone file \"%1\" (%2 bytes) does not fit in memory.")
                .arg(vocafetch::decodePhoneName(phonePath))
                .arg(size));
    }
    // The buffer is sized from the listing: a file cut short since would be copied padded
    // with zero bytes and a grown one cut off, so only a read of exactly that size is a copy.
    if (m_library.fileRead(bytes.data(), size - 1, size) < 0) {
        throw PhoneDownloadError(
            QStringLiteral("Cannot read the phone file \"%1\": it is no longer the %2 bytes "
                           "listed, or the phone reported a read error.")
                .arg(vocafetch::decodePhoneName(phonePath))
                .arg(size));
    }
    return bytes;
}

void PhoneDownload::openFile(const QByteArray &phonePath)
{
    if (m_library.fileCreate(phonePath.constData(), PhoneLibrary::OpenMode) < 0) {
        throw PhoneDownloadError(
            QStringLiteral("Cannot open the phone file \"%1\": it is gone or no longer a "
                           "regular file.")
                .arg(vocafetch::decodePhoneName(phonePath)));
    }
}

void PhoneDownload::copyFile(const PhoneFile &file)
{
    const QByteArray phonePath = PhoneFolderPrefix + file.rawName;
    m_result.savePreset = saveDialogPreset(file.name);

    // Every phone file asked for is closed, also when it cannot be opened or copied.
    const auto closePhoneFile = qScopeGuard([this] { m_library.fileClose(); });
    openFile(phonePath);
    const QByteArray bytes = readFile(phonePath, file.size);
    const QString caption = m_store.write(file.name, bytes, phonePath);

    m_result.captions.append(caption);
    m_result.localPaths.append(pathBelow(QDir(m_startDir).path(), caption));
}

} // namespace vocafetch
