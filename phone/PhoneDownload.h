// Downloads the phone's container files: lists the phone's files, keeps those below the phone
// folder, copies each one into the start folder and reports progress as status texts. One
// object serves one download; every copy it writes is recorded for the clean-up at close.
#pragma once

#include "phone/PhoneLibrary.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace vocafetch {

class PhoneCopyRegistry;
class PhoneCopyStore;

struct PhoneDownloadResult
{
    QStringList phoneNames;   // names below the phone folder, in list order
    QList<qint32> phoneSizes; // their listed sizes, index-aligned
    QStringList captions;     // one container-list item per copy: its path below the start folder
    QStringList localPaths;   // the copies' full paths, index-aligned with captions
    // The file name for the recordings' save dialog, set by each copied file in turn;
    // empty when no file was copied.
    std::optional<QString> savePreset;
};

class PhoneDownload
{
public:
    using StatusSink = std::function<void(const QString &text)>;

    // More entries than any phone lists; a larger count is refused with an error.
    static constexpr int MaxEntries = 1 << 20;

    // Copies into the start folder on disk, each copy recorded in copies.
    PhoneDownload(PhoneLibrary &library, const QString &startDir, PhoneCopyRegistry &copies,
                  StatusSink status);
    // Copies into store, whose paths are relative to startDir.
    PhoneDownload(PhoneLibrary &library, const QString &startDir, PhoneCopyStore &store,
                  StatusSink status);
    ~PhoneDownload();

    // Runs the whole download. A phone file that cannot be read whole at its listed size (it
    // changed since the listing, is no longer a regular file, or the phone reports a read
    // error) or a copy that cannot be made stops it with PhoneDownloadError (the message names
    // the file) and leaves no copy of that file; result() then keeps the files copied before.
    void run();

    // Asks a run on another thread to stop before its next file; the file being copied is
    // finished first, so no copy is left half written.
    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }

    const PhoneDownloadResult &result() const { return m_result; }

private:
    struct PhoneFile
    {
        QByteArray rawName; // bytes after the phone folder, as the phone spells them
        QString name;       // the same as text: UTF-8 when valid, else cp1251
        qint32 size = 0;
    };

    QList<PhoneFile> listFiles();
    void openFile(const QByteArray &phonePath);
    QByteArray readFile(const QByteArray &phonePath, qint32 size);
    void copyFile(const PhoneFile &file);

    PhoneLibrary &m_library;
    QString m_startDir;
    std::unique_ptr<PhoneCopyStore> m_ownStore;
    PhoneCopyStore &m_store;
    StatusSink m_status;
    PhoneDownloadResult m_result;
    std::atomic<bool> m_cancelled{false};
};

} // namespace vocafetch
