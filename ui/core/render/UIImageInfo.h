#pragma once
// A decoded image: a 32-bit top-down DIB section with premultiplied BGRA pixels.

#include <windows.h>

#include "utils/UIString.h"

namespace ZvUI {

// The largest image a skin can need is a full-screen background drawn 1:1 at 200 % on a 4K
// screen: 3840 x 2160 device pixels, upright or turned (a 1920 x 1080 window in 100 % units and
// its "@2x" file). Every loader refuses, from the header alone, a side above kMaxImageSide or
// more than kMaxImagePixels in all: bigger ones only ever came from damaged or hostile files,
// which took seconds to decode and to draw. A side cap alone would let 4096 x 4096 through, a
// pixel cap alone strips of millions of pixels.
constexpr int kMaxImageSide = 4096;
constexpr long long kMaxImagePixels = 3840ll * 2160;

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
};

} // namespace ZvUI
