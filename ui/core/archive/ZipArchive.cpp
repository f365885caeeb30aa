#include "archive/ZipArchive.h"

#include "archive/ZipInputStream.h"
#include "archive/ZipReader.h"

#include <cwchar>
#include <memory>

namespace ZvUI {

namespace {

// One value for the process: the archive functions are used from the UI thread only.
ZipResult g_lastResult = ZR_OK;

ZipResult Remember(ZipResult r)
{
    g_lastResult = r;
    return r;
}

ZipResult CheckHandle(const ZipHandle* zip)
{
    if (!zip)
        return ZR_ARGS;
    if (zip->kind != kZipKindReader || !zip->reader)
        return ZR_ZMODE;
    return ZR_OK;
}

ZipHandle* ZipOpen(const void* source, DWORD length, ZipStreamKind kind, const char* password)
{
    auto reader = std::make_unique<CZipReader>(password);
    const ZipResult r = reader->Open(source, length, static_cast<int>(kind));
    if (r != ZR_OK) {
        Remember(r);
        return nullptr;
    }
    auto* zip = new ZipHandle;
    zip->kind = kZipKindReader;
    zip->reader = reader.release();
    Remember(ZR_OK);
    return zip;
}

const wchar_t* TextOf(DWORD code)
{
    switch (code) {
    case ZR_OK: return L"Success";
    case ZR_NODUPH: return L"Culdn't duplicate handle";
    case ZR_NOFILE: return L"Couldn't create/open file";
    case ZR_NOALLOC: return L"Failed to allocate memory";
    case ZR_WRITE: return L"Error writing to file";
    case ZR_NOTFOUND: return L"File not found in the zipfile";
    case ZR_MORE: return L"Still more data to unzip";
    case ZR_CORRUPT: return L"Zipfile is corrupt or not a zipfile";
    case ZR_READ: return L"Error reading file";
    case ZR_PASSWORD: return L"Correct password required";
    case ZR_ARGS: return L"Caller: faulty arguments";
    case ZR_NOTMMAP: return L"Caller: can only get memory of a memory zipfile";
    case ZR_MEMSIZE: return L"Caller: not enough space allocated for memory zipfile";
    case ZR_FAILED: return L"Caller: there was a previous error";
    case ZR_ENDED: return L"Caller: additions to the zip have already been ended";
    case ZR_MISSIZE: return L"Zip-bug: the anticipated size turned out wrong";
    case ZR_PARTIALUNZ: return L"Caller: the file had already been partially unzipped";
    case ZR_ZMODE: return L"Caller: mixing creation and opening of zip";
    case ZR_NOTINITED: return L"Zip-bug: internal initialisation not completed";
    case ZR_SEEK: return L"Zip-bug: trying to seek the unseekable";
    case ZR_NOCHANGE: return L"Zip-bug: tried to change mind, but not allowed";
    case ZR_FLATE: return L"Zip-bug: an internal error during flation";
    default: return L"unknown zip result code";
    }
}

} // namespace

ZipHandle* ZipOpenMemory(const void* data, unsigned int length, const char* password)
{
    if (!data && length) {
        Remember(ZR_ARGS);
        return nullptr;
    }
    return ZipOpen(data, length, ZipStreamKind::Memory, password);
}

ZipHandle* ZipOpenFile(const wchar_t* fileName, const char* password)
{
    if (!fileName) {
        Remember(ZR_ARGS);
        return nullptr;
    }
    return ZipOpen(fileName, 0, ZipStreamKind::File, password);
}

ZipHandle* ZipOpenHandle(HANDLE file, const char* password)
{
    return ZipOpen(file, 0, ZipStreamKind::Handle, password);
}

ZipResult ZipClose(ZipHandle* zip)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    zip->reader->Close();
    delete zip->reader;
    delete zip;
    return Remember(ZR_OK);
}

bool ZipIsHandle(const ZipHandle* zip)
{
    return zip && zip->kind == kZipKindReader;
}

ZipResult ZipFindItem(ZipHandle* zip, const wchar_t* name, bool ignoreCase, int* index, ZipEntry* entry)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    return Remember(zip->reader->Find(name, ignoreCase, index, entry));
}

ZipResult ZipGetItem(ZipHandle* zip, int index, ZipEntry* entry)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    if (!entry)
        return Remember(ZR_ARGS);
    entry->index = 0;
    entry->name[0] = 0;
    entry->name[1] = 0;
    entry->unc_size = 0;
    return Remember(zip->reader->Get(index, entry));
}

ZipResult ZipUnzipToMemory(ZipHandle* zip, int index, void* buffer, unsigned int size)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    return Remember(zip->reader->Unzip(index, buffer, size, CZipReader::UnzipToMemory));
}

ZipResult ZipUnzipToFile(ZipHandle* zip, int index, const wchar_t* target)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    return Remember(zip->reader->Unzip(index, const_cast<wchar_t*>(target), 0, CZipReader::UnzipToFile));
}

ZipResult ZipUnzipToHandle(ZipHandle* zip, int index, HANDLE file)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    return Remember(zip->reader->Unzip(index, file, 0, CZipReader::UnzipToHandle));
}

ZipResult ZipSetBaseDir(ZipHandle* zip, const wchar_t* folder)
{
    const ZipResult r = CheckHandle(zip);
    if (r != ZR_OK)
        return Remember(r);
    return Remember(zip->reader->SetBaseDir(folder));
}

unsigned int ZipFormatMessage(DWORD code, wchar_t* buffer, unsigned int length)
{
    const wchar_t* text = TextOf(code == ZR_RECENT ? g_lastResult : code);
    const unsigned int n = static_cast<unsigned int>(std::wcslen(text));
    if (!buffer || length == 0)
        return n;
    const unsigned int copy = length < n + 1 ? length - 1 : n;
    std::wmemcpy(buffer, text, copy);
    buffer[copy] = 0;
    return n;
}

} // namespace ZvUI
