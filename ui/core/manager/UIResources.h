#pragma once
// Font records and the resource set each paint manager holds beside the process-wide shared one.

#include <windows.h>

#include "manager/UIFontTable.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

// One font. The record owns its GDI font; size is in 96-dpi units (the HFONT is scaled).
struct UIFontInfo {
    HFONT handle = nullptr;
    CUIString faceName;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    // Filled on first use; tmHeight 0 means not measured yet.
    TEXTMETRICW metrics = {};
};

// Colours are ARGB. The maps own their values: fonts hold UIFontInfo*, images UIImageInfo*
//, class defaults and styles CUIString*, draw infos UIDrawInfo*.
struct UIResourceSet {
    DWORD disabledColor = 0xFFA7A6AA;
    DWORD textColor = 0xFF000000;
    DWORD linkColor = 0xFF0000FF;
    DWORD linkHoverColor = 0xFFD3215F;
    DWORD selectedColor = 0xFFBAE4FF;
    // A manager's default font with an empty face name means: use the shared default font.
    UIFontInfo defaultFont;
    // Keyed by the font id written in decimal.
    CUIStringMap fonts;
    // The same fonts by face, size and styles; the manager keeps it in step with the map.
    CUIFontTable fontTable;
    CUIStringMap images;
    // Keyed by the class name as written in the skin ("VScrollBar").
    CUIStringMap classDefaults;
    CUIStringMap styles;
    // Keyed by draw string + modify string.
    CUIStringMap drawInfos;
};

} // namespace ZvUI
