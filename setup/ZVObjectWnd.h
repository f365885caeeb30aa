// The setup program's window base: a skinned window that is also an event sink, and its placement.
#pragma once

#include "ZvBase.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

#include "manager/PaintManagerUI.h"
#include "utils/UIString.h"
#include "window/WindowImplBase.h"

// Every window of the program carries this icon resource, style and caption.
constexpr UINT kZvIconResource = 101;
constexpr DWORD kZvWindowStyle = 0x10CC0000; // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
constexpr DWORD kZvWindowExStyle = 0x100;    // WS_EX_WINDOWEDGE
constexpr wchar_t kZvWindowCaption[] = L"Tessaly";

// One display monitor as the enumeration reported it.
struct ZVMonitorInfo {
    HMONITOR monitor = nullptr;
    wchar_t deviceName[32] = {};
    wchar_t label[32] = {}; // "显示器 n", n counted from 1
    RECT enumRect = {};
    RECT monitorRect = {};
    RECT workRect = {};
    bool primary = false;
};

class ZVMonitorList {
public:
    static constexpr int kCapacity = 64;
    // The enumeration stops once this many monitors are listed.
    static constexpr int kMaxListed = 63;

    // Enumerates the monitors of the desktop. The first list built is kept process-wide.
    ZVMonitorList();
    // An empty list, for Add.
    explicit ZVMonitorList(std::nullptr_t) {}

    // Lists one monitor as the enumeration callback does; false once no more may follow.
    bool Add(HMONITOR monitor, const RECT& rect);

    [[nodiscard]] int GetCount() const { return m_count; }
    [[nodiscard]] const ZVMonitorInfo& GetAt(int index) const { return m_monitors[index]; }
    // Null when no monitor reported itself as primary.
    [[nodiscard]] const ZVMonitorInfo* GetPrimary() const { return m_primary < 0 ? nullptr : &m_monitors[m_primary]; }
    [[nodiscard]] int GetPrimaryIndex() const { return m_primary; }

    // The copy of the first list built in this process; empty before one was built.
    [[nodiscard]] static const ZVMonitorList& GetFirstList();

private:
    static ZVMonitorList& FirstListSlot();

    ZVMonitorInfo m_monitors[kCapacity];
    int m_primary = -1;
    int m_count = 0;
};

// Controls found by name belong to the paint manager: these pointers only borrow them.
template <class T>
using ZvControlPtr = std::shared_ptr<T>;

template <class T>
ZvControlPtr<T> FindZvControl(ZvUI::CPaintManagerUI& pm, LPCWSTR name)
{
    return ZvControlPtr<T>(dynamic_cast<T*>(pm.FindControl(name)), [](T*) {});
}

class CZVObjectWnd : public ZvUI::WindowImplBase, public ZvBase {
public:
    CZVObjectWnd() = default;
    ~CZVObjectWnd() override = default;

    LPCWSTR GetWindowClassName() const override { return m_className; }
    ZvUI::CUIString GetSkinFile() override { return m_skinFile; }
    // WM_TIMER goes to OnTimer first; every message then continues through the window base.
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

    // Centres the window on its owner or on the primary monitor.
    virtual void Center();
    // The window's initial size as its paint manager keeps it.
    [[nodiscard]] SIZE GetInitialSize() const { return m_pm.GetInitialSize(); }
    virtual LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // With a non-empty bound the window is centred in it and kept inside it. Otherwise a visible,
    // not minimised owner gives the horizontal centre and the primary monitor the vertical one;
    // without such an owner the window is centred on the primary monitor.
    void CenterOnOwner(const RECT& bound, POINT offset);

protected:
    ZvUI::CUIString m_skinFile;
    ZvUI::CUIString m_className;
};

// Creates a window of type Window, hooks it into the event chain, centres and shows it. A modal
// window runs until it is gone and the result is null; a window that cannot be created has freed
// itself on the final message its failed Create gave it, and the result is null too. onCreated, when set, gets the new object before anything is set on it.
template <class Window>
Window* ShowZVWindow(HWND parent, ZvBase* nextSink, bool modal, LPCWSTR caption, ZvBase::Callback onDestroy,
                     ZvBase::Callback aux, DWORD style, DWORD exStyle, int showFlag, int userValue,
                     const std::function<void(Window*)>& onCreated = nullptr)
{
    auto* window = new Window();
    if (onCreated)
        onCreated(window);
    window->SetDestroyCallback(std::move(onDestroy));
    window->SetAuxCallback(std::move(aux));
    window->SetUserValue(userValue);
    if (window->Create(parent, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT) == nullptr)
        return nullptr;
    window->SetIcon(kZvIconResource);
    window->SetNextSink(nextSink);
    window->Center();
    if (modal) {
        window->RunModal(); // the window deletes itself on its final message
        return nullptr;
    }
    window->ShowWindow(showFlag != 0, true);
    return window;
}

// Rescales the window's skin to dpi.
void SetWindowDpi(CZVObjectWnd& window, int dpi);
