#pragma once
// Where CXmlDocument::LoadFromFile finds the resource folder and the skin archive.

#include <windows.h>

#include "utils/UIString.h"

namespace ZvUI {

// The process-wide resource settings and the archive reader, as the markup reader needs them.
// Each entry may be null: no folder, no archive.
struct XmlResourceHooks {
    // The resource folder with its trailing separator, or empty.
    CUIString (*GetResourceFolder)() = nullptr;
    // The archive name; empty means files are read from the folder.
    CUIString (*GetResourceArchive)() = nullptr;
    CUIString (*GetResourceArchivePassword)() = nullptr;
    bool (*IsResourceArchiveCached)() = nullptr;
    // The archive kept open while it is cached; the reader never closes it.
    void* (*GetResourceArchiveHandle)() = nullptr;

    // The archive reader: open by file name with an ANSI password, close, find an item
    // ignoring case (its index and uncompressed size; false when absent), unpack to memory
    // (0 for done, 0x600 for more data, anything else a failure).
    void* (*ZipOpenFile)(LPCWSTR path, const char* password) = nullptr;
    void (*ZipClose)(void* zip) = nullptr;
    bool (*ZipFindItem)(void* zip, LPCWSTR name, int* index, DWORD* size) = nullptr;
    DWORD (*ZipUnzipToMemory)(void* zip, int index, void* buffer, DWORD size) = nullptr;
};

// Installed once at start-up, before any document is loaded from a file.
void SetXmlResourceHooks(const XmlResourceHooks& hooks);
const XmlResourceHooks& GetXmlResourceHooks();

} // namespace ZvUI
