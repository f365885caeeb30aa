#include "util/FontMonitor.h"

#include "SkinPackage.h"
#include "ZVObjectWnd.h"

#include "manager/PaintManagerUI.h"
#include "resource/UIResourceTable.h"

#include <cwchar>

using namespace ZvUI;

namespace ZVCore {

namespace {

constexpr int kResourcesFromFiles = 1;
constexpr int kResourcesFromMemoryZip = 4;
constexpr UINT kAltSkinResourceId = 112;
constexpr wchar_t kAltSkinResourceType[] = L"ZVZIPRES";

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data)
{
    reinterpret_cast<std::vector<std::wstring>*>(data)->emplace_back(font->lfFaceName);
    return 1;
}

const ZVMonitorInfo* MonitorAt(const ZVMonitorList& monitors, POINT point)
{
    for (int i = 0; i < monitors.GetCount(); ++i) {
        if (PtInRect(&monitors.GetAt(i).monitorRect, point))
            return &monitors.GetAt(i);
    }
    return nullptr;
}

bool IsDesktopWorker(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return wcscmp(name, L"WorkerW") == 0;
}

} // namespace

int AddFontFile(const std::wstring& path)
{
    return AddFontResourceW(path.c_str());
}

int RemoveFontFile(const std::wstring& path)
{
    return RemoveFontResourceW(path.c_str());
}

std::vector<std::wstring> GetFontFamilyNames()
{
    std::vector<std::wstring> names;
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return names;
    EnumFontFamiliesW(screen, nullptr, AddFamily, reinterpret_cast<LPARAM>(&names));
    ReleaseDC(nullptr, screen);
    return names;
}

RECT GetMonitorsUnion(const ZVMonitorList& monitors)
{
    RECT all = {};
    for (int i = 0; i < monitors.GetCount(); ++i) {
        const RECT one = monitors.GetAt(i).enumRect;
        UnionRect(&all, &all, &one);
    }
    return all;
}

RECT GetMonitorsUnion()
{
    return GetMonitorsUnion(ZVMonitorList::GetFirstList());
}

HWND GetWindowRectAtPoint(RECT& rect, POINT point)
{
    rect = RECT{};
    HWND window = WindowFromPoint(point);
    if (window == nullptr)
        return nullptr;
    if (IsDesktopWorker(window)) {
        const ZVMonitorList monitors;
        if (const ZVMonitorInfo* monitor = MonitorAt(monitors, point)) {
            rect = monitor->monitorRect;
            InflateRect(&rect, -2, -2);
        }
        return nullptr;
    }
    // Down to the deepest visible, enabled child under the point.
    for (;;) {
        POINT client = point;
        ScreenToClient(window, &client);
        HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (child == nullptr || child == window)
            break;
        window = child;
    }
    GetWindowRect(window, &rect);
    return window;
}

bool LoadSkinResource()
{
    CPaintManagerUI::SetResourceKind(kResourcesFromMemoryZip);
    const int kind = CPaintManagerUI::GetResourceKind();
    const CUIString folder = CPaintManagerUI::GetModuleFolder() + L"installSkin\\";
    if (kind == kResourcesFromFiles) {
        CPaintManagerUI::SetResourceFolder(folder);
        (void)CUIResourceTable::Instance()->LoadFromResource(L"res.xml", nullptr);
        return false;
    }
    if (kind != kResourcesFromMemoryZip)
        return false;
    CPaintManagerUI::SetResourceFolder(folder);
    return SetSkinArchiveFromResource(kAltSkinResourceId, kAltSkinResourceType);
}

} // namespace ZVCore
