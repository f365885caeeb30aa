#pragma once
// The per-window manager of controls, resources, focus, timers and notifications, with the
// process-wide resource settings every resource reader consults.

#include <windows.h>

#include "manager/UIEvents.h"
#include "utils/UIArray.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

struct ZipHandle;
class CControlUI;
class CDpiHelper;

// Entry point a control plug-in exports as "CreateControl".
using PluginCreateControl = CControlUI* (*)(LPCWSTR className);
// Progress of ExtractResourceArchive: (items done, item count).
using ExtractProgress = void (*)(int done, int count);

class CPaintManagerUI {
public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // --- process-wide resource settings (UI thread only, no locks) ---
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetModule();
    static void SetResourceModule(HINSTANCE module);
    // The instance when no separate resource module was set.
    static HINSTANCE GetResourceModule();
    // The instance's folder with its trailing backslash; empty without an instance.
    static CUIString GetModuleFolder();
    // A folder without a trailing separator gets a backslash appended.
    static void SetResourceFolder(LPCWSTR path);
    static const CUIString& GetResourceFolder();
    static void SetResourceKind(int kind);
    static int GetResourceKind();
    // A cached archive stays open (resource folder + name) until another one replaces it.
    static void SetResourceArchive(LPCWSTR name, bool cached = false, LPCWSTR password = nullptr);
    // The caller keeps data alive; a second memory archive does not replace the first.
    static void SetResourceArchive(const void* data, int length, LPCWSTR password = nullptr);
    static const CUIString& GetResourceArchive();
    static const CUIString& GetResourceArchivePassword();
    static bool IsResourceArchiveCached();
    static ZipHandle* GetResourceArchiveHandle();
    // h is kept within 0..360, s and l within 0..200.
    static void SetHSL(bool use, short h, short s, short l);
    static bool GetHSL(short& h, short& s, short& l);
    [[nodiscard]] static bool LoadPlugin(LPCWSTR dll);
    static CUIPtrArray* GetPlugins();
    static CUIString GetCurrentPath();
    static void SetCurrentPath(LPCWSTR path);
    static CPaintManagerUI* FindManager(LPCWSTR name);
    static CUIPtrArray* GetAllManagers();
    static void SetGlobalDpi(int dpi);
    static int GetGlobalDpi();
    static double GetImageScaleFactor();
    static HPEN GetUpdateRectPen();
    static void Term();
    static void ExtractResourceArchive(LPCWSTR archivePath, LPCWSTR targetFolder,
                                       ExtractProgress progress, LPCSTR password);

    // --- window ---
    void AttachWindow(HWND window, LPCWSTR name = nullptr);
    HWND GetWindowHandle() const { return m_hWndPaint; }
    HDC GetWindowDC() const { return m_hDcPaint; }
    const CUIString& GetName() const { return m_sName; }
    [[nodiscard]] static bool PreTranslate(const MSG* msg);

    // --- DPI ---
    CDpiHelper* GetDpiHelper();

    // --- tree, layout and painting ---
    CControlUI* GetRoot() const { return m_pRoot; }
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void Invalidate();
    void Invalidate(const RECT& rc);
    void ForgetControl(CControlUI* control);

    // --- focus, timers, notifications ---
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* control);
    [[nodiscard]] bool SetTimer(CControlUI* control, UINT callerId, UINT elapse);
    bool KillTimer(CControlUI* control, UINT callerId);
    void SetFillVirtualWindowName(bool fill) { m_bFillVirtualWnd = fill; }
    bool IsFillVirtualWindowName() const { return m_bFillVirtualWnd; }
    bool AddNotifyListener(INotifyUI* listener);
    bool RemoveNotifyListener(INotifyUI* listener);
    void RaiseNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam = 0, LPARAM lParam = 0,
                     bool async = false);
    void DispatchNotify(UINotifyMessage& msg, bool async = false);

    // --- styles ---
    void AddStyle(LPCWSTR name, LPCWSTR attributeList, bool shared = false);
    // The manager's own style first, then the shared one; null when neither exists.
    LPCWSTR GetStyle(LPCWSTR name) const;
    bool RemoveStyle(LPCWSTR name, bool shared = false);
    void RemoveAllStyles(bool shared = false);

private:
    CUIString m_sName;
    HWND m_hWndPaint = nullptr;
    HDC m_hDcPaint = nullptr;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    POINT m_ptLastMousePos = {-1, -1};
    bool m_bUpdateNeeded = false;
    bool m_bFillVirtualWnd = false;
    CUIPtrArray m_aNotifiers;
    CUIStringMap m_styles;
    CDpiHelper* m_pDpiHelper = nullptr;
    ULONG_PTR m_gdiplusToken = 0;
};

} // namespace ZvUI
