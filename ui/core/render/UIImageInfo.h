#pragma once
// A decoded image: a 32-bit top-down DIB section with premultiplied BGRA pixels.

#include <windows.h>

#include <atomic>

#include "render/UIImageLimits.h"
#include "utils/UIString.h"

namespace ZvUI {

// A number no state of any image's pixels had before: each record takes one when it is made, and
// a new one whenever its pixels change. The kept images are keyed by it.
inline unsigned long long NextImageGeneration()
{
    static std::atomic<unsigned long long> next{1};
    return next++;
}

// Records live in the paint manager's image caches; callers never free what the caches hand out.
struct UIImageInfo {
    HBITMAP bitmap = nullptr;
    // Pixels the HSL shift rewrites. They belong to the DIB section itself, never to the record.
    DWORD* bits = nullptr;
    // Heap copy of the pixels before any HSL shift; owned by the record.
    DWORD* savedBits = nullptr;
    int width = 0;
    int height = 0;
    bool alpha = false;
    bool hsl = false;
    CUIString resourceType;
    DWORD mask = 0;
    unsigned long long generation = NextImageGeneration();
};

} // namespace ZvUI
