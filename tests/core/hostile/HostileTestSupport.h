#pragma once
// Test helper: a scratch skin folder and a wall-clock check.

#include <windows.h>

#include <string>

#include "ImageBytes.h"

// A fresh folder under %TEMP% that is the resource folder while the object lives.
class ScratchSkin {
public:
    ScratchSkin();
    ScratchSkin(const ScratchSkin&) = delete;
    ScratchSkin& operator=(const ScratchSkin&) = delete;
    ~ScratchSkin();

    void Write(const std::wstring& name, const Bytes& bytes) const;
    void WriteText(const std::wstring& name, const std::string& utf8) const;
    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
};

// Milliseconds since construction.
class Stopwatch {
public:
    Stopwatch() : m_start(::GetTickCount64()) {}
    ULONGLONG Ms() const { return ::GetTickCount64() - m_start; }

private:
    ULONGLONG m_start;
};
