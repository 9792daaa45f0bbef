// The phone-access library "p2kapi" loaded at run time. When no candidate can be loaded every
// call does nothing and the phone is simply never ready, as with no phone attached.
#pragma once

#include "phone/PhoneLibrary.h"

#include <QLibrary>
#include <QStringList>

namespace vocafetch {

class LoadedPhoneLibrary final : public PhoneLibrary
{
public:
    // Tries each candidate in order, each a file name as QLibrary takes it (prefix and suffix
    // may be left out): the first one whose seven functions all resolve is used.
    explicit LoadedPhoneLibrary(const QStringList &candidates = defaultCandidates());
    ~LoadedPhoneLibrary() override;

    LoadedPhoneLibrary(const LoadedPhoneLibrary &) = delete;
    LoadedPhoneLibrary &operator=(const LoadedPhoneLibrary &) = delete;

    // "p2kapi" beside the program first, then in the installed program's lib/vocafetch, then
    // wherever the system looks for libraries.
    static QStringList defaultCandidates();

    bool isLoaded() const { return m_functions.init != nullptr; }
    // The loaded library's file, or empty.
    QString fileName() const;
    // Why the last candidate could not be used, or empty once one is loaded.
    QString errorString() const { return m_errorString; }

    void p2kInit(ConnectCallback callback) override;
    int p2kGetStatus() override;
    int fileCount() override;
    void fileList(TPhoneFileEntry *entries, int count) override;
    int fileCreate(const char *phonePath, int mode) override;
    int fileRead(void *buffer, int lastIndex, int count) override;
    void fileClose() override;

private:
    struct Functions
    {
        P2K_InitFunction init = nullptr;
        P2K_GetStatusFunction getStatus = nullptr;
        File_CountFunction count = nullptr;
        File_ListFunction list = nullptr;
        File_CreateFunction create = nullptr;
        File_ReadFunction read = nullptr;
        File_CloseFunction close = nullptr;
    };

    bool load(const QString &candidate);

    QLibrary m_library;
    Functions m_functions;
    QString m_errorString;
};

} // namespace vocafetch
