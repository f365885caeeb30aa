#pragma once
// The parsed form of an image descriptor string ("file='a.png' corner='4,4,4,4' ...").

#include <windows.h>

#include "utils/UIString.h"

namespace ZvUI {

class CPaintManagerUI;

struct UIDrawInfo {
    UIDrawInfo() { Clear(); }

    // Back to the defaults: whole item, whole image, no corners, fade 255, factor 1.0.
    void Clear();
    // Reads descriptor, then modify (which overrides). With a manager the rectangles are DPI-scaled
    // and a resolution-specific file ("name@1.5x.png") is looked for.
    void Parse(LPCWSTR descriptor, LPCWSTR modify, CPaintManagerUI* manager);

    CUIString drawString;
    CUIString modifyString;
    CUIString imageName;
    // The name as written when imageName is its resolution-specific twin; empty otherwise.
    CUIString plainImageName;
    CUIString resourceType;
    RECT dest = {0, 0, 0, 0};
    RECT source = {0, 0, 0, 0};
    RECT corner = {0, 0, 0, 0};
    DWORD mask = 0;
    BYTE fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
    bool hsl = false;
    SIZE size = {0, 0};
    RECT padding = {0, 0, 0, 0};
    CUIString align;
    double imageFactor = 1.0;
};

} // namespace ZvUI
