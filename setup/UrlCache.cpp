#include "UrlCache.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace {

// Entry records have a variable size: the buffer grows when a call says it is too small.
INTERNET_CACHE_ENTRY_INFOW* EntryIn(std::vector<BYTE>& buffer)
{
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
}

} // namespace

bool ClearUrlCache()
{
    std::vector<BYTE> buffer(sizeof(INTERNET_CACHE_ENTRY_INFOW));
    DWORD size = static_cast<DWORD>(buffer.size());
    HANDLE find = FindFirstUrlCacheEntryW(nullptr, EntryIn(buffer), &size);
    if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        find = FindFirstUrlCacheEntryW(nullptr, EntryIn(buffer), &size);
    }
    if (!find)
        return GetLastError() == ERROR_NO_MORE_ITEMS;

    bool ok = true;
    for (;;) {
        const INTERNET_CACHE_ENTRY_INFOW* entry = EntryIn(buffer);
        if (!(entry->CacheEntryType & COOKIE_CACHE_ENTRY) && entry->lpszSourceUrlName)
            DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
        size = static_cast<DWORD>(buffer.size());
        if (FindNextUrlCacheEntryW(find, EntryIn(buffer), &size))
            continue;
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            buffer.resize(size);
            if (FindNextUrlCacheEntryW(find, EntryIn(buffer), &size))
                continue;
        }
        ok = GetLastError() == ERROR_NO_MORE_ITEMS;
        break;
    }
    FindCloseUrlCache(find);
    return ok;
}
