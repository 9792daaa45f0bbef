#include "phone/LoadedPhoneLibrary.h"

#include "phone/PhoneLog.h"

#include <QCoreApplication>
#include <QDir>

#include <mutex>

namespace vocafetch {

namespace {

// The library's callback takes no argument, so the callback of the current attempt is kept
// here for the one relay function handed to the library. The lock also makes clearing it
// wait for a call in progress on the library's thread.
std::mutex callbackMutex;
PhoneLibrary::ConnectCallback currentCallback;
const LoadedPhoneLibrary *callbackOwner = nullptr;

void P2KAPI_CALL relayConnectCallback()
{
    const std::lock_guard<std::mutex> lock(callbackMutex);
    if (currentCallback)
        currentCallback();
}

void setCallback(const LoadedPhoneLibrary *owner, PhoneLibrary::ConnectCallback callback)
{
    const std::lock_guard<std::mutex> lock(callbackMutex);
    currentCallback = std::move(callback);
    callbackOwner = owner;
}

void clearCallbackOf(const LoadedPhoneLibrary *owner)
{
    const std::lock_guard<std::mutex> lock(callbackMutex);
    if (callbackOwner != owner)
        return;
    currentCallback = nullptr;
    callbackOwner = nullptr;
}

template <typename Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

} // namespace

LoadedPhoneLibrary::LoadedPhoneLibrary(const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (load(candidate)) {
            qCInfo(lcPhone) << "phone library loaded from" << m_library.fileName();
            return;
        }
        qCInfo(lcPhone) << "phone library" << candidate << "not used:" << m_errorString;
    }
}

LoadedPhoneLibrary::~LoadedPhoneLibrary()
{
    // The library is never unloaded: it may still run a thread of its own.
    clearCallbackOf(this);
}

QStringList LoadedPhoneLibrary::defaultCandidates()
{
    const QString name = QStringLiteral("p2kapi");
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QDir programDir(QCoreApplication::applicationDirPath());
        // Beside the program (the build tree, a Windows installation), then where an
        // installed program keeps its private libraries.
        candidates << programDir.filePath(name)
                   << programDir.filePath(QStringLiteral("../lib/vocafetch/") + name);
    }
    candidates << name;
    return candidates;
}

bool LoadedPhoneLibrary::load(const QString &candidate)
{
    m_library.setFileName(candidate);
    if (!m_library.load()) {
        m_errorString = m_library.errorString();
        return false;
    }
    Functions functions;
    const bool complete = resolve(m_library, "P2K_Init", functions.init) &&
                          resolve(m_library, "P2K_GetStatus", functions.getStatus) &&
                          resolve(m_library, "File_Count", functions.count) &&
                          resolve(m_library, "File_List", functions.list) &&
                          resolve(m_library, "File_Create", functions.create) &&
                          resolve(m_library, "File_Read", functions.read) &&
                          resolve(m_library, "File_Close", functions.close);
    if (!complete) {
        m_errorString = m_library.errorString();
        m_library.unload();
        return false;
    }
    m_functions = functions;
    m_errorString.clear();
    return true;
}

QString LoadedPhoneLibrary::fileName() const
{
    return isLoaded() ? m_library.fileName() : QString();
}

void LoadedPhoneLibrary::p2kInit(ConnectCallback callback)
{
    if (!isLoaded())
        return;
    setCallback(this, std::move(callback));
    m_functions.init(&relayConnectCallback);
}

int LoadedPhoneLibrary::p2kGetStatus()
{
    return isLoaded() ? m_functions.getStatus() : 0;
}

int LoadedPhoneLibrary::fileCount()
{
    return isLoaded() ? m_functions.count() : 0;
}

void LoadedPhoneLibrary::fileList(TPhoneFileEntry *entries, int count)
{
    if (isLoaded())
        m_functions.list(entries, count);
}

int LoadedPhoneLibrary::fileCreate(const char *phonePath, int mode)
{
    return isLoaded() ? m_functions.create(phonePath, mode) : -1;
}

int LoadedPhoneLibrary::fileRead(void *buffer, int lastIndex, int count)
{
    return isLoaded() ? m_functions.read(buffer, lastIndex, count) : -1;
}

void LoadedPhoneLibrary::fileClose()
{
    if (isLoaded())
        m_functions.close();
}

} // namespace vocafetch
