#pragma once
// The per-window manager of controls, resources, focus, timers and notifications, with the
// process-wide resource settings every resource reader consults.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <unordered_set>

#include "dragdrop/DropTarget.h"
#include "manager/UIEvents.h"
#include "manager/UIResources.h"
#include "render/UIImageDrawCache.h"
#include "utils/UIArray.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"
#include "window/ShadowUI.h"

namespace ZvUI {

struct ZipHandle;
class CControlUI;
class CDpiHelper;
struct UIDrawInfo;
struct UIImageInfo;

// Entry point a control plug-in exports as "CreateControl".
using PluginCreateControl = CControlUI* (*)(LPCWSTR className);
// Progress of ExtractResourceArchive: (items done, item count).
using ExtractProgress = void (*)(int done, int count);

// The manager is its window's OLE drop target while drag and drop is on.
class CPaintManagerUI : public CIDropTarget {
public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI() override;

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
    // The process-wide resource set every manager consults after its own.
    static UIResourceSet& GetSharedResources();
    static void Term();
    // Unpacks every item under targetFolder; false when the archive cannot be read or any item
    // failed (its old file, if any, stays as it was).
    static bool ExtractResourceArchive(LPCWSTR archivePath, LPCWSTR targetFolder,
                                       ExtractProgress progress, LPCSTR password);

    // --- window ---
    // Resets the manager's own resources, option groups and timers, then takes the window.
    void AttachWindow(HWND window, LPCWSTR name = nullptr);
    HWND GetWindowHandle() const { return m_hWndPaint; }
    HDC GetWindowDC() const { return m_hDcPaint; }
    const CUIString& GetName() const { return m_sName; }
    SIZE GetClientSize() const;
    HWND GetTooltipWindow() const { return m_hwndTooltip; }
    // The tool description sent with every tooltip message.
    const TOOLINFOW& GetToolTipInfo() const { return m_ToolTip; }
    POINT GetMousePos() const { return m_ptLastMousePos; }

    // --- message handling and input ---
    // True when the message is fully handled; the window then returns result.
    bool HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleKeyboardPreview(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Accelerator translators, then the keyboard preview of the managers that own the window.
    [[nodiscard]] static bool PreTranslate(const MSG* msg);
    bool TranslateAccelerator(MSG* msg);
    static int RunMessageLoop();
    // Bits KeyState* of UIEvents.h from GetKeyState.
    static WORD GetKeyStateFlags();

    // --- DPI ---
    CDpiHelper* GetDpiHelper();

    // --- OLE drag and drop (dragdrop/PaintManagerDragDrop.cpp) ---
    // Registers the window as a drop target (bitmaps, DIBs, file lists, metafiles) and lets
    // drag-enabled controls start drags; off revokes it. False when the mode is already so or
    // the registration fails.
    bool EnableDragDrop(bool on);
    [[nodiscard]] bool IsDragDropEnabled() const { return m_bDragMode; }
    // Revokes the drop target while its window still exists (done on the window's WM_DESTROY).
    void RevokeDropTarget();
    // Receives dropped file lists instead of the window.
    void SetDropCallback(std::function<void(HDROP)> callback);
    // Ends the press under the cursor and gives the dropped image to the window (STM_SETIMAGE);
    // an image the window does not keep (STM_GETIMAGE) is deleted.
    bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) override;

    // --- tree ---
    // The old root is deleted on the next WM_APP+1. Result: BindControls(control, null).
    bool SetRootControl(CControlUI* control);
    bool BindControls(CControlUI* control, CControlUI* parent = nullptr);
    // Once per manager: the container (an IContainerUI) takes the current root as its child.
    void WrapRoot(CControlUI* container);
    CControlUI* GetRoot() const { return m_pRoot; }
    CControlUI* GetContentRoot() const { return m_pContentRoot != nullptr ? m_pContentRoot : m_pRoot; }
    CControlUI* GetRootWrapper() const { return m_pWrapper; }
    RECT GetRootWrapperInset() const { return m_rcWrapperInset; }
    // The manager takes ownership of control and deletes it on the next WM_APP+1, so a
    // control may remove itself or a sibling from inside its own handler.
    void QueueControlDeletion(CControlUI* control);
    void AddDelayedCleanup(CControlUI* control) { QueueControlDeletion(control); }
    int GetDelayedCleanupCount() const { return m_aDelayedCleanup.GetSize(); }
    // Drops every reference the manager holds to this one control: focus, hover, click, key,
    // capture, drag, tooltip, timers, name, queued notifications, listener and filter lists,
    // after-paint and mouse-leave lists, option groups, native child windows, search results
    // and the deletion queue. The control itself is not touched.
    void ForgetControl(CControlUI* control);
    // Called by a control's destructor: ForgetControl, and the manager stops pointing at it as
    // its root, content root or wrapper and no longer counts it as bound.
    void ControlDestroyed(CControlUI* control);
    // The two ends of CControlUI::SetManager: the control has joined or left this manager. A
    // control that leaves is forgotten as ForgetControl does and is no longer the root.
    void ControlBound(CControlUI* control);
    void ControlUnbound(CControlUI* control);
    // True while control's manager is this one. Every bound control is unbound when the
    // manager is destroyed, in its tree or not.
    bool IsBound(CControlUI* control) const { return m_boundControls.count(control) != 0; }
    int GetBoundControlCount() const { return static_cast<int>(m_boundControls.size()); }
    // Takes control and its subtree out of this manager: every control in it leaves with no
    // manager and the top one with no parent (CControlUI::SetManager to none).
    static void UnbindControls(CControlUI* control);
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Adds to the update rectangle, then InvalidateRect without erasing.
    void Invalidate();
    // Clamps rc in place (left, top >= 0; right >= left; bottom >= top).
    void Invalidate(RECT& rc);
    void Invalidate(const RECT& rc);

    // --- focus and capture ---
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* control);
    // Focuses control once layout has run (on the next paint).
    void SetFocusNeeded(CControlUI* control);
    bool IsFocusNeeded() const { return m_bFocusNeeded; }
    bool MoveTabFocus(bool forward);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }
    CControlUI* GetHoverControl() const { return m_pEventHover; }
    CControlUI* GetClickControl() const { return m_pEventClick; }
    CControlUI* GetKeyControl() const { return m_pEventKey; }

    // --- timers ---
    // False when the system refuses the timer or the (control, callerId) timer already runs.
    [[nodiscard]] bool SetTimer(CControlUI* control, UINT callerId, UINT elapse);
    bool KillTimer(CControlUI* control, UINT callerId);
    void KillTimers(CControlUI* control);
    void RemoveAllTimers();
    int GetTimerCount() const { return m_aTimers.GetSize(); }
    // The record at index, or null.
    const UITimerInfo* GetTimerInfo(int index) const;

    // --- notifications ---
    void SetFillVirtualWindowName(bool fill) { m_bFillVirtualWnd = fill; }
    bool IsFillVirtualWindowName() const { return m_bFillVirtualWnd; }
    bool AddNotifyListener(INotifyUI* listener);
    bool RemoveNotifyListener(INotifyUI* listener);
    // The sender's NotifyHandlers, then every listener in registration order; an asynchronous
    // notification is queued and delivered on WM_APP+1, without its virtual-window name.
    void RaiseNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam = 0, LPARAM lParam = 0,
                     bool async = false);
    void DispatchNotify(UINotifyMessage& msg, bool async = false);
    void SendNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false)
    {
        RaiseNotify(sender, type, wParam, lParam, async);
    }
    void SendNotify(UINotifyMessage& msg, bool async = false) { DispatchNotify(msg, async); }
    // Posts WM_APP+1 to the window unless one is outstanding.
    void PostAsyncNotify();
    int GetQueuedNotifyCount() const { return m_aAsyncNotify.GetSize(); }

    // --- listener lists (none of them owns what it holds) ---
    bool AddAcceleratorTranslator(ITranslateAccelerator* translator);
    bool RemoveAcceleratorTranslator(ITranslateAccelerator* translator);
    bool AddEarlyMessageFilter(IMessageFilterUI* filter);
    bool RemoveEarlyMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddAfterPaintControl(CControlUI* control);
    bool InsertAfterPaintControl(CControlUI* control, int index);
    bool RemoveAfterPaintControl(CControlUI* control);
    int GetAfterPaintControlCount() const { return m_aPostPaintControls.GetSize(); }
    CControlUI* GetAfterPaintControl(int index) const;
    bool IsAfterPaintControl(CControlUI* control) const;
    bool AttachChildWindow(CControlUI* control, HWND child);
    bool DetachChildWindow(HWND child);
    // The child's window rectangle in the manager window's client coordinates.
    RECT GetChildWindowRect(HWND child) const;
    int GetChildWindowCount() const { return m_aChildWnds.GetSize(); }
    HWND GetChildWindow(int index) const;
    CControlUI* GetChildWindowControl(int index) const;
    bool AddMouseLeaveWatcher(CControlUI* control);
    bool RemoveMouseLeaveWatcher(CControlUI* control);

    // --- searches ---
    CControlUI* FindControl(LPCWSTR name) const;
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* parent, LPCWSTR name);
    CControlUI* FindSubControlByClass(CControlUI* parent, LPCWSTR className, int index = 0);
    CControlUI* FindSubControlByPoint(CControlUI* parent, POINT pt) const;
    CUIPtrArray* FindSubControlsByClass(CControlUI* parent, LPCWSTR className);
    CUIPtrArray* GetSearchResults() { return &m_aFoundControls; }

    // --- option groups ---
    bool JoinOptionGroup(LPCWSTR name, CControlUI* control);
    CUIPtrArray* GetOptionGroup(LPCWSTR name) const;
    void LeaveOptionGroup(LPCWSTR name, CControlUI* control);
    void RemoveAllOptionGroups();

    // --- resources: colours (getters return the manager's own value) ---
    // With shared, the shared value changes and the manager's follows it only when it was
    // still equal to the old shared value.
    DWORD GetDisabledColor() const;
    void SetDisabledColor(DWORD color, bool shared = false);
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color, bool shared = false);
    DWORD GetLinkColor() const;
    void SetLinkColor(DWORD color, bool shared = false);
    DWORD GetLinkHoverColor() const;
    void SetLinkHoverColor(DWORD color, bool shared = false);
    DWORD GetSelectedColor() const;
    void SetSelectedColor(DWORD color, bool shared = false);
    // The manager's own set, or the shared one.
    UIResourceSet& GetResourceSet(bool shared = false);
    void SetUseSharedResources(bool use) { m_bUseSharedResources = use; }
    bool IsUseSharedResources() const { return m_bUseSharedResources; }

    // --- resources: fonts (lookups try the manager's set, then the shared set) ---
    HFONT AddFont(int id, LPCWSTR face, int size, bool bold, bool underline, bool italic,
                  bool shared = false);
    void SetDefaultFont(LPCWSTR face, int size, bool bold, bool underline, bool italic,
                        bool shared = false);
    // The manager's default font when its face is set, else the shared one; measured on use.
    UIFontInfo* GetDefaultFontInfo();
    // A negative id, or one in neither map, gives the default font.
    HFONT GetFont(int id);
    // The font of exactly this face, size and styles, or null; found at once (the manager's set,
    // then the shared one).
    HFONT GetFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    // The same for the face as AddFont keeps it (at most 31 characters; the stock face for none),
    // measured; null when neither set has such a font.
    UIFontInfo* FindFontInfo(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    // The first id from first to first + count - 1 that neither font map holds, or -1. Ids found
    // taken are not tried again until a font leaves a set, so asking again and again is cheap.
    int FindFreeFontId(int first, int count);
    UIFontInfo* GetFontInfo(int id);
    UIFontInfo* GetFontInfo(HFONT font);
    int GetFontIndex(HFONT font, bool shared = false);
    int GetFontIndex(LPCWSTR face, int size, bool bold, bool underline, bool italic,
                     bool shared = false);
    int GetFontCount(bool shared = false) const;
    void RemoveFont(int id, bool shared = false);
    void RemoveFont(HFONT font, bool shared = false);
    void RemoveAllFonts(bool shared = false);
    // To read: fonts added or removed here behind the manager's back cost a rebuild of the face lookup.
    CUIStringMap* GetFontMap(bool shared = false);
    // Loads a font file (resource folder, archive or plain path) into this process.
    void AddFontFile(LPCWSTR name);
    int GetFontFileCount() const { return m_aFontMemHandles.GetSize(); }

    // --- resources: class defaults, styles, window attributes ---
    // Replaces an existing list of the class.
    void AddClassDefaults(LPCWSTR className, LPCWSTR attributes, bool shared = false);
    LPCWSTR GetClassDefaults(LPCWSTR className) const;
    LPCWSTR GetDefaultAttributeList(LPCWSTR className) const { return GetClassDefaults(className); }
    void AddDefaultAttributeList(LPCWSTR className, LPCWSTR attributes, bool shared = false)
    {
        AddClassDefaults(className, attributes, shared);
    }
    bool RemoveClassDefaults(LPCWSTR className, bool shared = false);
    void RemoveAllClassDefaults(bool shared = false);
    CUIStringMap* GetClassDefaultsMap(bool shared = false);
    // An existing style of that name stays; the new text is discarded.
    void AddStyle(LPCWSTR name, LPCWSTR attributeList, bool shared = false);
    // The manager's own style first, then the shared one; null when neither exists.
    LPCWSTR GetStyle(LPCWSTR name) const;
    bool RemoveStyle(LPCWSTR name, bool shared = false);
    void RemoveAllStyles(bool shared = false);
    CUIStringMap* GetStyleMap(bool shared = false);
    // An existing attribute stays; the new value is discarded.
    void SetWindowAttribute(LPCWSTR name, LPCWSTR value);
    LPCWSTR GetWindowAttribute(LPCWSTR name) const;
    bool RemoveWindowAttribute(LPCWSTR name);
    void RemoveAllWindowAttributes();

    // --- window properties (geometric getters scale by the DPI helper) ---
    // Stored as given (the builder passes it already scaled).
    void SetInitialSize(int cx, int cy);
    SIZE GetInitialSize() const { return m_szInitWindowSize; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    RECT GetCaptionRect();
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    RECT GetSizeBox();
    void SetRoundCorner(int cx, int cy);
    SIZE GetRoundCorner();
    void SetMinInfo(int cx, int cy);
    SIZE GetMinInfo();
    void SetMaxInfo(int cx, int cy);
    SIZE GetMaxInfo();
    void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
    bool IsShowUpdateRect() const { return m_bShowUpdateRect; }
    // Whole-window opacity through SetLayeredWindowAttributes; the same byte as the layered one.
    void SetOpacity(BYTE opacity);
    void SetLayered(bool layered);
    bool IsLayered() const { return m_bLayered; }
    bool IsLayeredRequested() const { return m_bLayeredRequested; }
    void SetLayeredBackground(LPCWSTR drawString);
    LPCWSTR GetLayeredBackground() const { return m_sLayeredImage.GetData(); }
    void SetLayeredInset(const RECT& rc);
    const RECT* GetLayeredInset() const { return &m_rcLayeredInset; }
    void SetLayeredOpacity(BYTE opacity);
    BYTE GetLayeredOpacity() const { return m_nOpacity; }
    bool IsLayeredChanged() const { return m_bLayeredChanged; }
    void SetNoActivate(bool noActivate) { m_bNoActivate = noActivate; }
    bool IsNoActivate() const { return m_bNoActivate; }
    void SetUseGdiplusText(bool use) { m_bUseGdiplusText = use; }
    bool IsUseGdiplusText() const { return m_bUseGdiplusText; }
    void SetGdiplusTextRenderingHint(int hint) { m_nGdiplusTextRenderingHint = hint; }
    int GetGdiplusTextRenderingHint() const { return m_nGdiplusTextRenderingHint; }
    void SetHoverTime(int ms) { m_nHoverTime = ms; }
    int GetHoverTime() const { return m_nHoverTime; }
    void SetPainting(bool painting) { m_bPainting = painting; }
    // The window's drop shadow; off until enabled.
    CShadowUI* GetShadow() { return &m_shadow; }
    bool IsPainting() const { return m_bPainting; }

    // --- painting (the rendering side; see PaintManagerPaint.cpp) ---
    // The painting side of WM_PAINT, WM_PRINTCLIENT, WM_SIZE and WM_DPICHANGED. True when it
    // handled the message, with result set; HandleWindowMessage then returns true.
    bool OnPaintMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by AttachWindow (destroying false: empty the manager's own images and draw
    // infos) and by the destructor (true: also the off-screen and background DCs and bitmaps).
    void ReleasePaintResources(bool destroying);

    // --- images (PaintManagerImages.cpp; the caches own every record they hand out) ---
    // A non-empty type needs a decimal resource id as the name. Replaces an image of that name.
    UIImageInfo* AddImage(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0, bool hsl = false,
                          bool shared = false, HINSTANCE instance = nullptr);
    // Bad arguments leave the bitmap with the caller; otherwise the cache takes it, and deletes
    // it when the name is present already.
    UIImageInfo* AddImage(LPCWSTR name, HBITMAP bitmap, int width, int height, bool alpha,
                          bool shared = false);
    // The manager's own image, else the shared one.
    UIImageInfo* FindImage(LPCWSTR name);
    UIImageInfo* LoadImageCached(LPCWSTR name, LPCWSTR type = nullptr, DWORD mask = 0,
                                 bool hsl = false, HINSTANCE instance = nullptr);
    UIImageInfo* GetImageByDrawString(LPCWSTR descriptor, LPCWSTR modify = nullptr);
    bool RemoveImage(LPCWSTR name, bool shared = false);
    void RemoveAllImages(bool shared = false);
    // Reloads the shared images, then every manager's; returns the number of managers.
    static int ReloadAllImages();
    void AdjustImagesHsl();
    static void AdjustSharedImagesHsl();
    static void FreeSharedImages();
    // Parsed on first use; null when both strings are empty.
    const UIDrawInfo* GetCachedDrawInfo(LPCWSTR descriptor, LPCWSTR modify = nullptr);
    void RemoveCachedDrawInfo(LPCWSTR descriptor, LPCWSTR modify = nullptr);
    void ClearDrawInfoCache();
    // Images as drawn, kept between paints; its memory and limit are read and set there.
    CUIImageDrawCache& GetImageDrawCache() { return m_drawnImages; }

    // --- DPI application (PaintManagerDpi.cpp) ---
    // Rescales fonts and images and resizes the window by new scale / old scale.
    void ApplyDpi(int dpi);
    // ApplyDpi on every registered manager.
    static void ApplyDpiToAll(int dpi);
    // For the manager of a pop-up that borrows its owner's fonts and scale: takes the owner's DPI
    // now, and every new root keeps it instead of the process DPI, which would rebuild the
    // shared fonts at another size. Called before the window is attached (the owner sized it).
    void BorrowDpiOf(CPaintManagerUI& owner);
    void RescaleFonts();
    void RebuildFont(UIFontInfo* info);
    // Nothing in the framework calls it.
    static RECT ScaleRectByFactor(RECT rc, double factor);

    // --- for tests (PaintManagerRecords.cpp) ---
    // Every pointer the manager keeps to a control or a listener, with the kind of record that
    // holds it ("timer", "name", "focus", "message filter", ...); a test checks that they name
    // only controls of this manager's tree. Listeners are passed as their interface pointers.
    void ForEachRecord(const std::function<void(const char* kind, const void* pointer)>& visit) const;

private:
    // --- helpers ---
    static void FreeFonts(UIResourceSet& set);
    static void FreeTextMap(CUIStringMap& texts);
    void ProcessDelayedCleanup();
    // ForgetControl for control and every control below it.
    void ForgetSubtree(CControlUI* control);
    void DeliverNotify(UINotifyMessage& msg);
    void ProcessAsyncWork();
    void SendControlEvent(CControlUI* control, UIControlEvent& event);
    CControlUI* ControlAt(POINT pt) const;
    // A button press: activates the window (unless no-activate), remembers the message's point in
    // pt and the last mouse position, and answers this manager's control under it, or null.
    CControlUI* PressedControl(LPARAM lParam, POINT& pt);
    CControlUI* FindTabStop(CControlUI* start, bool forward) const;
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    void StartDrag();
    void MeasureFont(UIFontInfo* info);
    UIFontInfo* LookupFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);

    // --- run-time state ---
    CUIString m_sName;
    HWND m_hWndPaint = nullptr;
    HDC m_hDcPaint = nullptr;
    HWND m_hwndTooltip = nullptr;
    TOOLINFOW m_ToolTip = {};
    CUIString m_sToolTipText;
    int m_nHoverTime = 400;
    bool m_bNoActivate = false;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pContentRoot = nullptr;
    CControlUI* m_pWrapper = nullptr;
    RECT m_rcWrapperInset = {0, 0, 0, 0};
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;
    POINT m_ptLastMousePos = {-1, -1};
    bool m_bFirstLayout = true;
    bool m_bUpdateNeeded = false;
    bool m_bFocusNeeded = false;
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
    bool m_bAsyncNotifyPosted = false;
    bool m_bFillVirtualWnd = false;
    bool m_bDragMode = false;
    bool m_bDragPending = false;
    HBITMAP m_hDragBitmap = nullptr;
    std::function<void(HDROP)> m_dropCallback;
    UINT m_uTimerID = 0x1000;

    CUIPtrArray m_aNotifiers;
    CUIPtrArray m_aTimers;
    CUIPtrArray m_aTranslateAccelerator;
    CUIPtrArray m_aPreMessageFilters;
    CUIPtrArray m_aMessageFilters;
    CUIPtrArray m_aPostPaintControls;
    CUIPtrArray m_aChildWnds;
    CUIPtrArray m_aChildWndControls;
    CUIPtrArray m_aDelayedCleanup;
    CUIPtrArray m_aAsyncNotify;
    CUIPtrArray m_aFoundControls;
    CUIPtrArray m_aNeedMouseLeaveNeeded;
    CUIStringMap m_mNameHash;
    CUIStringMap m_mOptionGroup;
    // Every control whose manager is this one, in the tree or kept apart by a caller.
    std::unordered_set<CControlUI*> m_boundControls;

    // --- resources ---
    bool m_bUseSharedResources = false;
    // The owner's DPI of a pop-up's manager (BorrowDpiOf); 0 for the process DPI.
    int m_iBorrowedDpi = 0;
    UIResourceSet m_ResInfo;
    // Where FindFreeFontId goes on: the first tried ids of the range were taken at these counts
    // of fonts that left the two sets.
    struct FreeFontIds {
        int first = 0;
        int count = 0;
        int tried = 0;
        unsigned ownRemovals = 0;
        unsigned sharedRemovals = 0;
    };
    FreeFontIds m_freeFontIds;
    CUIPtrArray m_aFontMemHandles;
    CUIStringMap m_mWindowCustomAttrHash;
    CDpiHelper* m_pDpiHelper = nullptr;
    ULONG_PTR m_gdiplusToken = 0;

    // --- window properties ---
    bool m_bShowUpdateRect = false;
    SIZE m_szMinWindow = {0, 0};
    SIZE m_szMaxWindow = {0, 0};
    SIZE m_szInitWindowSize = {0, 0};
    RECT m_rcSizeBox = {0, 0, 0, 0};
    SIZE m_szRoundCorner = {0, 0};
    RECT m_rcCaption = {0, 0, 0, 0};
    BYTE m_nOpacity = 255;
    bool m_bLayeredRequested = false;
    bool m_bLayered = false;
    RECT m_rcLayeredInset = {0, 0, 0, 0};
    bool m_bLayeredChanged = false;
    CUIString m_sLayeredImage;
    bool m_bPainting = false;
    bool m_bUseGdiplusText = false;
    int m_nGdiplusTextRenderingHint = 0;
    CShadowUI m_shadow;

    // --- painting state read by invalidation ---
    RECT m_rcUpdate = {0, 0, 0, 0};

    // --- painting ---
    bool OnPaint(LRESULT& result);
    bool OnPrintClient(WPARAM wParam, LPARAM lParam);
    void PaintLayered(const RECT& rcClient, const RECT& rcPaint, int width, int height);
    HDC m_hDcOffscreen = nullptr;
    HDC m_hDcBackground = nullptr;
    HBITMAP m_hbmpOffscreen = nullptr;
    DWORD* m_pOffscreenBits = nullptr;
    HBITMAP m_hbmpBackground = nullptr;
    DWORD* m_pBackgroundBits = nullptr;
    bool m_bOffscreenPaint = true;
    CUIImageDrawCache m_drawnImages;
};

} // namespace ZvUI
