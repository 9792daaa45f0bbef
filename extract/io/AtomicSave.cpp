#include "extract/io/AtomicSave.h"

#include "extract/ExtractError.h"
#include "extract/FileErrors.h"

#include <QSaveFile>

namespace vocafetch {

namespace {

[[noreturn]] void cancel(QSaveFile &file, const QString &path, const QString &reason)
{
    file.cancelWriting();
    throw FileErrors::cannotCreateFile(path, reason);
}

} // namespace

void saveAtomically(const QString &path, const std::function<void(QIODevice &)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileErrors::cannotCreateFile(path, file.errorString());
    try {
        write(file);
    } catch (const ExtractError &error) {
        cancel(file, path, error.message());
    }
    // Buffered bytes the disk refuses only fail at the flush; commit() alone would rename the
    // short file into place.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        cancel(file, path, file.errorString());
    if (!file.commit())
        throw FileErrors::cannotCreateFile(path, file.errorString());
}

} // namespace vocafetch
