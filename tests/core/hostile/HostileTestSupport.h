#pragma once
// Test helpers: a scratch skin folder, a wall-clock check and the debug log.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ImageBytes.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

// Refusals only: a loaded machine still does them in a few milliseconds.
constexpr ULONGLONG kRefusalMs = 1500;

struct ImageDeleter {
    void operator()(ZvUI::UIImageInfo* image) const { ZvUI::CUIRender::FreeImage(image, true); }
};
using ImagePtr = std::unique_ptr<ZvUI::UIImageInfo, ImageDeleter>;

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

// The refusals OutputDebugString raised while the object lived (the wide and the narrow form).
class DebugLog {
public:
    DebugLog();
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;
    ~DebugLog();

    // A line that names a refusal and holds `part`.
    bool Has(const std::wstring& part) const;

private:
    static std::vector<std::wstring>& Lines();
    static LONG CALLBACK Catch(EXCEPTION_POINTERS* info);
    PVOID m_handler;
};
