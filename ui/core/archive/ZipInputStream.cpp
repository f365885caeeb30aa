#include "archive/ZipInputStream.h"

#include "archive/ZipArchive.h"

#include <cstring>

namespace ZvUI {

namespace {

bool QueryPosition(HANDLE handle, DWORD* position)
{
    SetLastError(NO_ERROR);
    const DWORD pos = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
    if (pos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return false;
    *position = pos;
    return true;
}

// --- unzip library adapters ---

voidpf ZCALLBACK OpenFunc(voidpf, const char* fileName, int)
{
    return const_cast<char*>(fileName);
}

uLong ZCALLBACK ReadFunc(voidpf, voidpf stream, void* buffer, uLong size)
{
    return ZipStreamRead(static_cast<ZipInputStream*>(stream), buffer, 1, size);
}

uLong ZCALLBACK WriteFunc(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

long ZCALLBACK TellFunc(voidpf, voidpf stream)
{
    return static_cast<long>(ZipStreamTell(static_cast<ZipInputStream*>(stream)));
}

long ZCALLBACK SeekFunc(voidpf, voidpf stream, uLong offset, int origin)
{
    return ZipStreamSeek(static_cast<ZipInputStream*>(stream), static_cast<LONG>(offset), origin);
}

int ZCALLBACK CloseFunc(voidpf, voidpf stream)
{
    return ZipStreamClose(static_cast<ZipInputStream*>(stream));
}

int ZCALLBACK ErrorFunc(voidpf, voidpf stream)
{
    return ZipStreamError(static_cast<ZipInputStream*>(stream)) ? 1 : 0;
}

} // namespace

DWORD ZipStreamOpen(const void* source, DWORD length, int kind, ZipInputStream** stream)
{
    *stream = nullptr;
    if (kind != static_cast<int>(ZipStreamKind::Handle) && kind != static_cast<int>(ZipStreamKind::File)
        && kind != static_cast<int>(ZipStreamKind::Memory))
        return ZR_ARGS;

    auto* s = new ZipInputStream;
    if (kind == static_cast<int>(ZipStreamKind::Memory)) {
        s->memBase = static_cast<const BYTE*>(source);
        s->memLength = length;
        s->canSeek = true;
        *stream = s;
        return ZR_OK;
    }

    s->isFile = true;
    if (kind == static_cast<int>(ZipStreamKind::Handle)) {
        s->handle = static_cast<HANDLE>(const_cast<void*>(source));
    } else {
        s->handle = CreateFileW(static_cast<const wchar_t*>(source), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (s->handle == INVALID_HANDLE_VALUE) {
            delete s;
            return ZR_NOFILE;
        }
        s->mustClose = true;
    }
    s->canSeek = QueryPosition(s->handle, &s->startOffset);
    *stream = s;
    return ZR_OK;
}

DWORD ZipStreamRead(ZipInputStream* stream, void* buffer, DWORD size, DWORD count)
{
    if (size == 0 || count == 0)
        return 0;
    const unsigned long long wanted = static_cast<unsigned long long>(size) * count;
    if (wanted > 0x7fffffffULL)
        return 0;
    if (stream->isFile) {
        DWORD got = 0;
        if (!ReadFile(stream->handle, buffer, static_cast<DWORD>(wanted), &got, nullptr)) {
            stream->readError = true;
            return 0;
        }
        return got / size;
    }
    DWORD left = stream->memPos < stream->memLength ? stream->memLength - stream->memPos : 0;
    DWORD n = static_cast<DWORD>(wanted) < left ? static_cast<DWORD>(wanted) : left;
    if (n)
        std::memcpy(buffer, stream->memBase + stream->memPos, n);
    stream->memPos += n;
    return n / size;
}

int ZipStreamSeek(ZipInputStream* stream, LONG offset, int origin)
{
    if (stream->isFile) {
        if (!stream->canSeek)
            return 29;
        DWORD method = FILE_BEGIN;
        LONG distance = offset;
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            distance = static_cast<LONG>(stream->startOffset + static_cast<DWORD>(offset));
            break;
        case ZLIB_FILEFUNC_SEEK_CUR: method = FILE_CURRENT; break;
        case ZLIB_FILEFUNC_SEEK_END: method = FILE_END; break;
        default: return 19;
        }
        SetLastError(NO_ERROR);
        if (SetFilePointer(stream->handle, distance, nullptr, method) == INVALID_SET_FILE_POINTER
            && GetLastError() != NO_ERROR)
            return 29;
        return 0;
    }

    // A position before the block would wrap around; refuse it rather than read from nowhere.
    long long pos;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: pos = static_cast<DWORD>(offset); break;
    case ZLIB_FILEFUNC_SEEK_CUR: pos = static_cast<long long>(stream->memPos) + offset; break;
    case ZLIB_FILEFUNC_SEEK_END: pos = static_cast<long long>(stream->memLength) + offset; break;
    default: return 19;
    }
    if (pos < 0 || pos > 0xffffffffLL)
        return 22;
    stream->memPos = static_cast<DWORD>(pos);
    return 0;
}

DWORD ZipStreamTell(ZipInputStream* stream)
{
    if (stream->isFile) {
        DWORD pos = 0;
        if (!stream->canSeek || !QueryPosition(stream->handle, &pos))
            return 0;
        return pos - stream->startOffset;
    }
    return stream->memPos;
}

bool ZipStreamError(const ZipInputStream* stream)
{
    return stream->isFile && stream->readError;
}

int ZipStreamClose(ZipInputStream* stream)
{
    if (!stream)
        return -1;
    if (stream->mustClose && stream->handle != INVALID_HANDLE_VALUE)
        CloseHandle(stream->handle);
    delete stream;
    return 0;
}

void ZipStreamFillFileFuncs(zlib_filefunc_def* funcs)
{
    funcs->zopen_file = OpenFunc;
    funcs->zread_file = ReadFunc;
    funcs->zwrite_file = WriteFunc;
    funcs->ztell_file = TellFunc;
    funcs->zseek_file = SeekFunc;
    funcs->zclose_file = CloseFunc;
    funcs->zerror_file = ErrorFunc;
    funcs->opaque = nullptr;
}

} // namespace ZvUI
