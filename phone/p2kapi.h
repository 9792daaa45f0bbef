// The C interface of the phone-access library "p2kapi": the file-list entry it fills and
// the seven functions the program resolves from it at run time. Integers are 32 bits wide.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define P2KAPI_CALL __stdcall
#else
#define P2KAPI_CALL
#endif

extern "C" {

// One entry of the phone's file list; File_List writes them back to back into one array.
struct TPhoneFileEntry
{
    std::int32_t Size;      // the file's length in bytes, little-endian
    std::uint8_t Unused[4]; // never read
    char Path[504]; // full phone path, 8-bit text ended by a zero byte unless it fills the field
};

typedef void(P2KAPI_CALL *P2KConnectCallback)(void);

typedef int(P2KAPI_CALL *P2K_InitFunction)(P2KConnectCallback callback);
typedef int(P2KAPI_CALL *P2K_GetStatusFunction)(void);
typedef int(P2KAPI_CALL *File_CountFunction)(void);
typedef int(P2KAPI_CALL *File_ListFunction)(TPhoneFileEntry *entries, int count);
typedef int(P2KAPI_CALL *File_CreateFunction)(const char *path, int mode);
typedef int(P2KAPI_CALL *File_ReadFunction)(void *buffer, int lastIndex, int count);
typedef int(P2KAPI_CALL *File_CloseFunction)(void);
}

static_assert(sizeof(TPhoneFileEntry) == 512, "a file-list entry is 512 bytes");
static_assert(offsetof(TPhoneFileEntry, Size) == 0, "Size opens the entry");
static_assert(offsetof(TPhoneFileEntry, Path) == 8, "Path follows four unused bytes");
static_assert(sizeof(TPhoneFileEntry::Path) == 504, "Path fills the rest of the entry");
