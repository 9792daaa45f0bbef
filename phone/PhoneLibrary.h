// What the program needs of the phone-access library. The real one is loaded at run time
// (LoadedPhoneLibrary); tests put a scripted fake in its place.
#pragma once

#include "phone/p2kapi.h"

#include <functional>

namespace vocafetch {

class PhoneLibrary
{
public:
    // A connection callback may run on any thread; see p2kInit.
    using ConnectCallback = std::function<void()>;

    // The only status that means "connected, file access may begin".
    static constexpr int ReadyStatus = 1;
    // The only mode the program passes to fileCreate.
    static constexpr int OpenMode = 4;

    virtual ~PhoneLibrary() = default;

    // Starts (or restarts) the library's attempt to reach the phone. The library may call
    // `callback` any number of times, from any thread, until the next p2kInit or until this
    // object is destroyed.
    virtual void p2kInit(ConnectCallback callback) = 0;
    // ReadyStatus while the phone is ready; every other value means not (yet) ready. Prompt.
    virtual int p2kGetStatus() = 0;
    // The number of entries the next fileList delivers.
    virtual int fileCount() = 0;
    // Fills exactly `count` entries; `entries` is null when `count` is 0.
    virtual void fileList(TPhoneFileEntry *entries, int count) = 0;
    // Makes `phonePath` (zero-terminated) the open phone file for the following reads. A
    // negative result: the file cannot be opened (gone, or no longer a regular file).
    virtual int fileCreate(const char *phonePath, int mode) = 0;
    // Copies `count` bytes of the open phone file, from its start, into `buffer`. A negative
    // result: the bytes could not be delivered (a read error, or a file that no longer has
    // `count` bytes).
    virtual int fileRead(void *buffer, int lastIndex, int count) = 0;
    // Closes the open phone file.
    virtual void fileClose() = 0;
};

} // namespace vocafetch
