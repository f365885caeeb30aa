// A small framework window: its caption and labels come from layout XML in a zip in the resources.
// With /selftest it paints once, prints what it read and ends, so the test run can check it.

#include <windows.h>

#include <cstdio>
#include <vector>

#include "manager/PaintManagerUI.h"
#include "utils/UIUtils.h"
#include "window/WindowWnd.h"
#include "xml/XmlDocument.h"

using namespace ZvUI;

namespace {

struct DemoLabel {
    CUIString text;
    RECT rc;
};

bool ParseRect(LPCWSTR text, RECT& rc) {
    return text != nullptr &&
           swscanf(text, L"%ld,%ld,%ld,%ld", &rc.left, &rc.top, &rc.right, &rc.bottom) == 4;
}

class CDemoWindow : public CWindowWnd {
public:
    CUIString caption;
    SIZE size = {480, 240};
    std::vector<DemoLabel> labels;
    bool selfTest = false;

    LPCWSTR GetWindowClassName() const override { return L"ZvUIDemoWindow"; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            Paint(dc);
            ::EndPaint(m_hWnd, &ps);
            if (selfTest) PostMessage(WM_CLOSE, 3);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            break;
        }
        return CWindowWnd::OnMessage(msg, wParam, lParam);
    }

private:
    void Paint(HDC dc) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        HBRUSH bg = ::CreateSolidBrush(RGB(0xF4, 0xF8, 0xFF));
        ::FillRect(dc, &client, bg);
        ::DeleteObject(bg);
        HFONT font = ::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                   CLEARTYPE_QUALITY, 0, L"微软雅黑");
        HGDIOBJ old = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(0x1F, 0x2D, 0x3D));
        for (DemoLabel& label : labels)
            ::DrawTextW(dc, label.text, -1, &label.rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
};

bool LoadSkin(CDemoWindow& wnd) {
    HRSRC res = ::FindResourceW(nullptr, MAKEINTRESOURCEW(113), L"ZVZIP_RES");
    HGLOBAL mem = res ? ::LoadResource(nullptr, res) : nullptr;
    const void* data = mem ? ::LockResource(mem) : nullptr;
    if (data == nullptr) return false;
    CPaintManagerUI::SetResourceArchive(data, static_cast<int>(::SizeofResource(nullptr, res)));

    CXmlDocument doc;
    if (!doc.LoadFromFile(L"demo.xml")) return false;
    CXmlNode root = doc.GetRoot();
    if (!root.IsValid() || lstrcmpiW(root.GetName(), L"Window") != 0) return false;
    wnd.caption = root.GetAttributeValue(L"caption");
    if (LPCWSTR size = root.GetAttributeValue(L"size"))
        swscanf(size, L"%ld,%ld", &wnd.size.cx, &wnd.size.cy);
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        DemoLabel label;
        if (lstrcmpiW(node.GetName(), L"Label") != 0) continue;
        if (!ParseRect(node.GetAttributeValue(L"pos"), label.rc)) continue;
        label.text = node.GetAttributeValue(L"text");
        wnd.labels.push_back(label);
    }
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    CPaintManagerUI::SetInstance(instance);
    CDemoWindow wnd;
    wnd.selfTest = cmdLine != nullptr && wcsstr(cmdLine, L"/selftest") != nullptr;
    if (!LoadSkin(wnd)) {
        ::MessageBoxW(nullptr, L"加载资源文件失败：demo.xml", L"ZvUI", MB_OK);
        return 1;
    }
    if (!wnd.Create(nullptr, wnd.caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, CW_USEDEFAULT,
                    CW_USEDEFAULT, wnd.size.cx, wnd.size.cy))
        return 1;
    wnd.CentreOnOwner();
    UINT code = wnd.RunModal();
    if (wnd.selfTest) {
        // Console output goes through the parent's handles under Wine.
        char caption[256];
        ::WideCharToMultiByte(CP_UTF8, 0, wnd.caption, -1, caption, sizeof caption, nullptr, nullptr);
        std::printf("caption=%s labels=%u close=%u\n", caption, unsigned(wnd.labels.size()), code);
        return wnd.labels.size() == 3 && code == 3 ? 0 : 2;
    }
    return 0;
}
