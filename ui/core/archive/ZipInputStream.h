#pragma once
// The byte source under an archive: a caller's handle, a named file or a block of memory.

#include <windows.h>
#include <ioapi.h>

namespace ZvUI {

enum class ZipStreamKind { Handle = 1, File = 2, Memory = 3 };

struct ZipInputStream {
    bool isFile = false;
    bool canSeek = false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool readError = false;
    DWORD startOffset = 0;     // archive positions count from here, so an archive may sit inside a file
    bool mustClose = false;
    const BYTE* memBase = nullptr;
    DWORD memLength = 0;
    DWORD memPos = 0;
};

// kind Handle: source is the HANDLE; File: a wide file name; Memory: the block of length bytes.
// Returns ZR_OK and the new stream, or the failure code.
[[nodiscard]] DWORD ZipStreamOpen(const void* source, DWORD length, int kind, ZipInputStream** stream);
// Returns whole items read.
DWORD ZipStreamRead(ZipInputStream* stream, void* buffer, DWORD size, DWORD count);
// Returns 0, or non-zero for an origin it does not know or a source it cannot seek in.
int ZipStreamSeek(ZipInputStream* stream, LONG offset, int origin);
DWORD ZipStreamTell(ZipInputStream* stream);
[[nodiscard]] bool ZipStreamError(const ZipInputStream* stream);
// Frees the stream, closing the file it opened itself; -1 for a null stream.
int ZipStreamClose(ZipInputStream* stream);

// File functions that let the unzip library read through a stream; the stream pointer is
// passed to unzOpen2 in place of the file name and is closed by the library.
void ZipStreamFillFileFuncs(zlib_filefunc_def* funcs);

} // namespace ZvUI
