// Where a download stores its copies. PhoneCopyWriter stores them in the start folder on disk;
// another store keeps the same contract, for a download whose copies need not reach a disk.
#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

class PhoneCopyStore
{
public:
    virtual ~PhoneCopyStore() = default;

    // Stores `bytes`, the content of the phone file `phonePath`, as `name` (a safe relative
    // name with "/" separators) and returns the copy's path relative to the start folder.
    // Throws PhoneDownloadError naming the phone file and the local file when it cannot.
    virtual QString write(const QString &name, const QByteArray &bytes,
                          const QByteArray &phonePath) = 0;
};

} // namespace vocafetch
