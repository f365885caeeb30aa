#pragma once
// Test helper: a scratch skin folder, small image generators and a wall-clock check.

#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

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

// --- image generators ---
Bytes MakePng(unsigned width, unsigned height, bool withPixels);
Bytes MakeBmp(int width, int height, bool withPixels = true);
Bytes MakeGifWithoutColourTable();
Bytes MakeJpegHeader(unsigned width, unsigned height);
// Flips `count` random bits with a fixed seed.
Bytes FlipBits(const Bytes& valid, unsigned seed, int count);
