// Image descriptor parsing and the search for a resolution-specific image file.
#include "render/UIDrawInfo.h"

#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// Numbers after the first start one character past the previous end; missing ones are 0.
void ReadInts(LPCWSTR value, int* out, int count)
{
    LPCWSTR p = value;
    for (int i = 0; i < count; ++i) {
        out[i] = 0;
        if (p == nullptr || *p == L'\0')
            continue;
        LPWSTR end = nullptr;
        out[i] = static_cast<int>(std::wcstol(p, &end, 10));
        // Never step past the terminator.
        p = (end != nullptr && *end != L'\0') ? end + 1 : nullptr;
    }
}

RECT ReadRect(LPCWSTR value, CPaintManagerUI* manager)
{
    int v[4];
    ReadInts(value, v, 4);
    RECT rc = {v[0], v[1], v[2], v[3]};
    if (manager != nullptr)
        manager->GetDpiHelper()->ScaleRect(rc);
    return rc;
}

bool IsTrue(LPCWSTR value)
{
    return _wcsicmp(value, L"true") == 0;
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
        if (*value == L'#')
            ++value;
        info.mask = static_cast<DWORD>(std::wcstoul(value, nullptr, 16));
    } else if (key == L"fade") {
        info.fade = static_cast<BYTE>(std::wcstoul(value, nullptr, 10) & 0xFF);
    } else if (key == L"hole") {
        info.hole = IsTrue(value);
    } else if (key == L"xtiled") {
        info.xtiled = IsTrue(value);
    } else if (key == L"ytiled") {
        info.ytiled = IsTrue(value);
    } else if (key == L"hsl") {
        info.hsl = IsTrue(value);
    } else if (key == L"size") {
        int v[2];
        ReadInts(value, v, 2);
        info.size = SIZE{v[0], v[1]};
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
