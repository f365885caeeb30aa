// The paint manager's image caches (own and shared) and its draw-info cache.
#include "manager/PaintManagerUI.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

#include "control/ControlUI.h"
#include "render/UIDrawInfo.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

std::vector<CUIString> KeysOf(const CUIStringMap& map)
{
    std::vector<CUIString> keys;
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        if (key != nullptr)
            keys.emplace_back(key);
    }
    return keys;
}

// The HSL shift rewrites the DIB section's own pixels, so the saved copy comes from them; a
// bitmap without reachable 32-bit pixels of the record's size gets no copy and stays unshifted.
void TakeSavedCopy(UIImageInfo* image)
{
    delete[] image->savedBits;
    image->savedBits = nullptr;
    image->bits = nullptr;
    if (image->bitmap == nullptr || image->width <= 0 || image->height <= 0)
        return;
    DIBSECTION ds = {};
    if (::GetObjectW(image->bitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBits == nullptr ||
        ds.dsBm.bmBitsPixel != 32 || ds.dsBm.bmWidth != image->width ||
        (ds.dsBm.bmHeight != image->height && ds.dsBm.bmHeight != -image->height))
        return;
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    image->savedBits = new (std::nothrow) DWORD[count];
    if (image->savedBits == nullptr)
        return;
    image->bits = static_cast<DWORD*>(ds.dsBm.bmBits);
    ::GdiFlush();
    std::memcpy(image->savedBits, image->bits, count * sizeof(DWORD));
}

void ApplyHslIfOn(UIImageInfo* image)
{
    short h = 180;
    short s = 100;
    short l = 100;
    if (CPaintManagerUI::GetHSL(h, s, l))
        CUIRender::AdjustImage(true, image, h, s, l);
}

UIImageInfo* LoadByNameAndType(LPCWSTR name, const CUIString& type, DWORD mask, HINSTANCE instance)
{
    if (type.IsEmpty())
        return CUIRender::LoadImage(name, nullptr, mask, instance);
    if (std::iswdigit(name[0]))
        return CUIRender::LoadImageById(static_cast<UINT>(std::wcstol(name, nullptr, 10)), type, mask, instance);
    return nullptr;
}

// The record keeps its HSL flag, type and mask and takes the fresh pixels.
void TakePixels(UIImageInfo* record, UIImageInfo* fresh)
{
    record->bitmap = fresh->bitmap;
    record->bits = nullptr;
    record->width = fresh->width;
    record->height = fresh->height;
    record->alpha = fresh->alpha;
    record->generation = fresh->generation;
    fresh->bitmap = nullptr;
    delete fresh;
    if (record->hsl) {
        TakeSavedCopy(record);
        ApplyHslIfOn(record);
    }
}

void FreeImageMap(CUIStringMap& map)
{
    for (const CUIString& key : KeysOf(map))
        CUIRender::FreeImage(static_cast<UIImageInfo*>(map.Find(key, false)), true);
    map.RemoveAll();
}

} // namespace

UIImageInfo* CPaintManagerUI::AddImage(LPCWSTR name, LPCWSTR type, DWORD mask, bool hsl, bool shared,
                                       HINSTANCE instance)
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    const CUIString resourceType(type);
    UIImageInfo* image = LoadByNameAndType(name, resourceType, mask, instance);
    if (image == nullptr)
        return nullptr;
    image->hsl = hsl;
    image->resourceType = resourceType;
    image->mask = mask;
    if (hsl) {
        TakeSavedCopy(image);
        ApplyHslIfOn(image);
    }
    CUIStringMap& map = (shared || m_bUseSharedResources) ? GetSharedResources().images : m_ResInfo.images;
    auto* old = static_cast<UIImageInfo*>(map.Find(name, false));
    if (old != nullptr) {
        m_drawnImages.Forget(old->generation);
        CUIRender::FreeImage(old, true);
        map.Remove(name);
    }
    if (!map.Insert(name, image)) {
        CUIRender::FreeImage(image, true);
        return nullptr;
    }
    return image;
}

UIImageInfo* CPaintManagerUI::AddImage(LPCWSTR name, HBITMAP bitmap, int width, int height, bool alpha,
                                       bool shared)
{
    if (bitmap == nullptr || name == nullptr || name[0] == L'\0' || width <= 0 || height <= 0)
        return nullptr;
    auto* image = new (std::nothrow) UIImageInfo;
    if (image == nullptr) {
        ::DeleteObject(bitmap);
        return nullptr;
    }
    image->bitmap = bitmap;
    image->width = width;
    image->height = height;
    image->alpha = alpha;
    CUIStringMap& map = (shared || m_bUseSharedResources) ? GetSharedResources().images : m_ResInfo.images;
    if (!map.Insert(name, image)) {
        CUIRender::FreeImage(image, true);
        return nullptr;
    }
    return image;
}

UIImageInfo* CPaintManagerUI::FindImage(LPCWSTR name)
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    auto* image = static_cast<UIImageInfo*>(m_ResInfo.images.Find(name));
    if (image == nullptr)
        image = static_cast<UIImageInfo*>(GetSharedResources().images.Find(name));
    return image;
}

UIImageInfo* CPaintManagerUI::LoadImageCached(LPCWSTR name, LPCWSTR type, DWORD mask, bool hsl,
                                              HINSTANCE instance)
{
    UIImageInfo* image = FindImage(name);
    if (image != nullptr)
        return image;
    if (AddImage(name, type, mask, hsl, false, instance) == nullptr)
        return nullptr;
    CUIStringMap& map = m_bUseSharedResources ? GetSharedResources().images : m_ResInfo.images;
    return static_cast<UIImageInfo*>(map.Find(name));
}

UIImageInfo* CPaintManagerUI::GetImageByDrawString(LPCWSTR descriptor, LPCWSTR modify)
{
    // Only the name, type and mask matter here: no DPI scaling, no file search.
    UIDrawInfo info;
    info.Parse(descriptor, modify, nullptr);
    return LoadImageCached(info.imageName, info.resourceType.IsEmpty() ? nullptr : info.resourceType.GetData(),
                           info.mask, false, nullptr);
}

bool CPaintManagerUI::RemoveImage(LPCWSTR name, bool shared)
{
    if (name == nullptr)
        return false;
    CUIStringMap& map = shared ? GetSharedResources().images : m_ResInfo.images;
    auto* image = static_cast<UIImageInfo*>(map.Find(name, false));
    if (image == nullptr)
        return false;
    m_drawnImages.Forget(image->generation);
    CUIRender::FreeImage(image, true);
    return map.Remove(name);
}

void CPaintManagerUI::RemoveAllImages(bool shared)
{
    // Entries of shared images in other managers are never drawn again and age out there.
    m_drawnImages.Clear();
    FreeImageMap(shared ? GetSharedResources().images : m_ResInfo.images);
}

int CPaintManagerUI::ReloadAllImages()
{
    // Shared images keep their old pixels when the new source lacks them.
    CUIStringMap& sharedMap = GetSharedResources().images;
    for (const CUIString& key : KeysOf(sharedMap)) {
        auto* record = static_cast<UIImageInfo*>(sharedMap.Find(key, false));
        if (record == nullptr)
            continue;
        UIImageInfo* fresh = LoadByNameAndType(key, record->resourceType, record->mask, nullptr);
        if (fresh == nullptr)
            continue;
        CUIRender::FreeImage(record, false);
        TakePixels(record, fresh);
    }

    CUIPtrArray* managers = GetAllManagers();
    for (int i = 0; i < managers->GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>((*managers)[i]);
        if (manager == nullptr)
            continue;
        manager->ClearDrawInfoCache();
        manager->m_drawnImages.Clear();
        CUIStringMap& map = manager->m_ResInfo.images;
        for (const CUIString& key : KeysOf(map)) {
            auto* record = static_cast<UIImageInfo*>(map.Find(key, false));
            if (record == nullptr)
                continue;
            CUIRender::FreeImage(record, false);
            UIImageInfo* fresh = LoadByNameAndType(key, record->resourceType, record->mask, nullptr);
            if (fresh == nullptr) {
                delete record;
                map.Remove(key);
                continue;
            }
            TakePixels(record, fresh);
        }
        if (manager->m_pRoot != nullptr)
            manager->m_pRoot->Invalidate();
    }
    return managers->GetSize();
}

void CPaintManagerUI::FreeSharedImages()
{
    FreeImageMap(GetSharedResources().images);
}

void CPaintManagerUI::AdjustImagesHsl()
{
    short h = 180;
    short s = 100;
    short l = 100;
    const bool use = GetHSL(h, s, l);
    for (const CUIString& key : KeysOf(m_ResInfo.images)) {
        auto* image = static_cast<UIImageInfo*>(m_ResInfo.images.Find(key, false));
        if (image != nullptr && image->hsl)
            CUIRender::AdjustImage(use, image, h, s, l);
    }
    Invalidate();
}

void CPaintManagerUI::AdjustSharedImagesHsl()
{
    short h = 180;
    short s = 100;
    short l = 100;
    const bool use = GetHSL(h, s, l);
    CUIStringMap& map = GetSharedResources().images;
    for (const CUIString& key : KeysOf(map)) {
        auto* image = static_cast<UIImageInfo*>(map.Find(key, false));
        if (image != nullptr && image->hsl)
            CUIRender::AdjustImage(use, image, h, s, l);
    }
}

// --- draw-info cache ---

const UIDrawInfo* CPaintManagerUI::GetCachedDrawInfo(LPCWSTR descriptor, LPCWSTR modify)
{
    const CUIString key = CUIString(descriptor) + modify;
    if (key.IsEmpty())
        return nullptr;
    auto* info = static_cast<UIDrawInfo*>(m_ResInfo.drawInfos.Find(key));
    if (info != nullptr)
        return info;
    info = new (std::nothrow) UIDrawInfo;
    if (info == nullptr)
        return nullptr;
    info->Parse(descriptor, modify, this);
    if (!m_ResInfo.drawInfos.Insert(key, info)) {
        delete info;
        return nullptr;
    }
    return info;
}

void CPaintManagerUI::RemoveCachedDrawInfo(LPCWSTR descriptor, LPCWSTR modify)
{
    const CUIString key = CUIString(descriptor) + modify;
    auto* info = static_cast<UIDrawInfo*>(m_ResInfo.drawInfos.Find(key, false));
    if (info == nullptr)
        return;
    delete info;
    m_ResInfo.drawInfos.Remove(key);
}

void CPaintManagerUI::ClearDrawInfoCache()
{
    for (const CUIString& key : KeysOf(m_ResInfo.drawInfos))
        delete static_cast<UIDrawInfo*>(m_ResInfo.drawInfos.Find(key, false));
    m_ResInfo.drawInfos.RemoveAll();
}

} // namespace ZvUI
