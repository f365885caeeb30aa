// Image descriptor parsing and the search for a resolution-specific image file.
#include "render/UIDrawInfo.h"

#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

namespace {

RECT ReadRect(LPCWSTR value, CPaintManagerUI* manager)
{
    RECT rc = attr::ParseRect(value);
    if (manager != nullptr)
        manager->GetDpiHelper()->ScaleRect(rc);
    return rc;
}

void Apply(UIDrawInfo& info, const CUIString& key, LPCWSTR value, CPaintManagerUI* manager)
{
    if (key == L"file" || key == L"res") {
        info.imageName = value;
    } else if (key == L"restype") {
        info.resourceType = value;
    } else if (key == L"dest") {
        info.dest = ReadRect(value, manager);
    } else if (key == L"source") {
        info.source = ReadRect(value, manager);
    } else if (key == L"corner") {
        info.corner = ReadRect(value, manager);
    } else if (key == L"padding") {
        info.padding = ReadRect(value, manager);
    } else if (key == L"mask") {
        info.mask = attr::ParseColor(value);
    } else if (key == L"fade") {
        info.fade = static_cast<BYTE>(std::wcstoul(value, nullptr, 10) & 0xFF);
    } else if (key == L"hole") {
        info.hole = attr::IsTrue(value);
    } else if (key == L"xtiled") {
        info.xtiled = attr::IsTrue(value);
    } else if (key == L"ytiled") {
        info.ytiled = attr::IsTrue(value);
    } else if (key == L"hsl") {
        info.hsl = attr::IsTrue(value);
    } else if (key == L"size") {
        info.size = attr::ParseSize(value);
    } else if (key == L"align") {
        info.align = value;
    }
}

// Pairs key='value' separated by one blank; anything else ends this string where it stands.
void ParsePairs(UIDrawInfo& info, LPCWSTR text, CPaintManagerUI* manager)
{
    if (text == nullptr)
        return;
    LPCWSTR p = text;
    while (*p != L'\0') {
        while (*p != L'\0' && *p <= L' ')
            p = ::CharNextW(p);
        // Keys and values are taken whole: appending one character at a time made a long
        // value quadratic.
        LPCWSTR start = p;
        while (*p != L'\0' && *p != L'=' && *p > L' ')
            p = ::CharNextW(p);
        CUIString key;
        key.Assign(start, static_cast<int>(p - start));
        while (*p != L'\0' && *p <= L' ')
            p = ::CharNextW(p);
        if (*p != L'=')
            return;
        p = ::CharNextW(p);
        while (*p == L' ')
            p = ::CharNextW(p);
        if (*p != L'\'')
            return;
        p = ::CharNextW(p);
        start = p;
        while (*p != L'\0' && *p != L'\'')
            p = ::CharNextW(p);
        CUIString value;
        value.Assign(start, static_cast<int>(p - start));
        if (*p == L'\0')
            return;
        p = ::CharNextW(p);
        if (!value.IsEmpty())
            Apply(info, key, value, manager);
        if (*p != L' ')
            return;
        p = ::CharNextW(p);
    }
}

} // namespace

void UIDrawInfo::Clear()
{
    drawString.Empty();
    modifyString.Empty();
    imageName.Empty();
    resourceType.Empty();
    dest = RECT{0, 0, 0, 0};
    source = RECT{0, 0, 0, 0};
    corner = RECT{0, 0, 0, 0};
    mask = 0;
    fade = 255;
    hole = false;
    xtiled = false;
    ytiled = false;
    hsl = false;
    size = SIZE{0, 0};
    padding = RECT{0, 0, 0, 0};
    align.Empty();
    imageFactor = 1.0;
    plainImageName.Empty();
}

void UIDrawInfo::Parse(LPCWSTR descriptor, LPCWSTR modify, CPaintManagerUI* manager)
{
    Clear();
    drawString = descriptor;
    modifyString = modify;
    imageName = descriptor;
    ParsePairs(*this, descriptor, manager);
    ParsePairs(*this, modify, manager);

    if (manager == nullptr)
        return;
    int scale = manager->GetDpiHelper()->GetScale();
    if (scale == 100)
        return;
    // "btn.png" at 150 % is tried as "btn@1.5x.png", then "btn@1.25x.png".
    const CUIString original = imageName;
    for (;;) {
        CUIString suffix;
        suffix.Format(L"@%gx.", scale / 100.0);
        CUIString candidate = original;
        candidate.Replace(L".", suffix);
        // Only the header is read: the twin is decoded once, by the cache, when it is drawn.
        if (CUIRender::ProbeImage(candidate)) {
            plainImageName = original;
            imageName = candidate;
            imageFactor = scale / 100.0;
            return;
        }
        scale -= 25;
        if (scale <= 100)
            return;
    }
}

} // namespace ZvUI
