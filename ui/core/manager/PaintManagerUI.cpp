// Process-wide resource settings, the manager's construction and destruction, attaching a
// window, the control tree and invalidation. Input is PaintManagerInput.cpp, focus, timers and
// notifications PaintManagerNotify.cpp, resources PaintManagerResources.cpp, window
// properties PaintManagerProps.cpp.
#include "manager/PaintManagerUI.h"

#include <objidl.h>
#include <gdiplus.h>

#include "archive/ZipArchive.h"
#include "builder/ControlFactory.h"
#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"
#include "resource/UIResourceTable.h"
#include "utils/UIConvert.h"
#include "xml/XmlResourceHooks.h"

namespace ZvUI {

namespace {

// Function-local statics: other translation units may touch the settings during their own
// static initialisation.
struct ProcessSettings {
    HINSTANCE instance = nullptr;
    HINSTANCE resourceModule = nullptr;
    CUIString resourceFolder;
    int resourceKind = 0;
    CUIString archiveName;
    CUIString archivePassword;
    bool archiveCached = false;
    ZipHandle* archiveHandle = nullptr;
    int processDpi = 96;
    double imageScaleFactor = 1.0;
    bool useHsl = false;
    short hslH = 180;
    short hslS = 100;
    short hslL = 100;
    CUIPtrArray plugins;
    CUIPtrArray managers;
    HPEN updateRectPen = nullptr;
    UIResourceSet shared;
};

ProcessSettings& Settings()
{
    static ProcessSettings settings;
    return settings;
}

constexpr wchar_t kMemoryArchiveName[] = L"membuffer";

void CloseCachedArchive()
{
    ProcessSettings& s = Settings();
    if (s.archiveCached && s.archiveHandle != nullptr) {
        ZipClose(s.archiveHandle);
        s.archiveHandle = nullptr;
    }
}

// The archive reader takes an ANSI password; the narrowed copy lives only for the open call.
class NarrowPassword {
public:
    explicit NarrowPassword(LPCWSTR password)
        : m_text(password != nullptr && password[0] != L'\0' ? UnicodeToMultiByte(password, CP_ACP)
                                                             : nullptr)
    {
    }
    NarrowPassword(const NarrowPassword&) = delete;
    NarrowPassword& operator=(const NarrowPassword&) = delete;
    ~NarrowPassword() { delete[] m_text; }
    const char* Get() const { return m_text; }

private:
    char* m_text;
};

short Clamp(short value, short high)
{
    if (value < 0)
        return 0;
    return value > high ? high : value;
}

// The shared default font comes from the stock GUI font, unscaled.
void InitSharedDefaultFont(UIFontInfo& font)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    font.handle = ::CreateFontIndirectW(&lf);
    font.faceName = lf.lfFaceName;
    font.size = -lf.lfHeight;
    font.bold = lf.lfWeight >= FW_BOLD;
    font.underline = lf.lfUnderline == TRUE;
    font.italic = lf.lfItalic == TRUE;
    font.metrics = TEXTMETRICW{};
}

// --- the markup reader reads the resource settings through hooks ---

CUIString HookResourceFolder()
{
    return Settings().resourceFolder;
}

CUIString HookResourceArchive()
{
    return Settings().archiveName;
}

CUIString HookResourceArchivePassword()
{
    return Settings().archivePassword;
}

bool HookIsResourceArchiveCached()
{
    return Settings().archiveCached;
}

void* HookResourceArchiveHandle()
{
    return Settings().archiveHandle;
}

void* HookZipOpenFile(LPCWSTR path, const char* password)
{
    return ZipOpenFile(path, password);
}

void HookZipClose(void* zip)
{
    if (zip != nullptr)
        ZipClose(static_cast<ZipHandle*>(zip));
}

bool HookZipFindItem(void* zip, LPCWSTR name, int* index, DWORD* size)
{
    ZipEntry entry;
    int found = -1;
    if (ZipFindItem(static_cast<ZipHandle*>(zip), name, true, &found, &entry) != ZR_OK || found < 0)
        return false;
    if (index != nullptr)
        *index = found;
    if (size != nullptr)
        *size = entry.unc_size > 0 ? static_cast<DWORD>(entry.unc_size) : 0;
    return true;
}

DWORD HookZipUnzipToMemory(void* zip, int index, void* buffer, DWORD size)
{
    return ZipUnzipToMemory(static_cast<ZipHandle*>(zip), index, buffer, size);
}

// Installed whenever a setting changes, so a document loaded before the first manager
// still sees the folder and the archive.
void InstallXmlHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    XmlResourceHooks hooks;
    hooks.GetResourceFolder = HookResourceFolder;
    hooks.GetResourceArchive = HookResourceArchive;
    hooks.GetResourceArchivePassword = HookResourceArchivePassword;
    hooks.IsResourceArchiveCached = HookIsResourceArchiveCached;
    hooks.GetResourceArchiveHandle = HookResourceArchiveHandle;
    hooks.ZipOpenFile = HookZipOpenFile;
    hooks.ZipClose = HookZipClose;
    hooks.ZipFindItem = HookZipFindItem;
    hooks.ZipUnzipToMemory = HookZipUnzipToMemory;
    SetXmlResourceHooks(hooks);
}

} // namespace

// --- construction ---

CPaintManagerUI::CPaintManagerUI()
{
    InstallXmlHooks();
    ProcessSettings& s = Settings();
    // The first manager of the process fills the shared set (its colours start at the defaults).
    if (s.shared.defaultFont.faceName.IsEmpty())
        InitSharedDefaultFont(s.shared.defaultFont);
    m_ResInfo.disabledColor = s.shared.disabledColor;
    m_ResInfo.textColor = s.shared.textColor;
    m_ResInfo.linkColor = s.shared.linkColor;
    m_ResInfo.linkHoverColor = s.shared.linkHoverColor;
    m_ResInfo.selectedColor = s.shared.selectedColor;
    if (s.updateRectPen == nullptr) {
        s.updateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        ::InitCommonControls();
        // Stays loaded for the render engine's AlphaBlend.
        ::LoadLibraryW(L"msimg32.dll");
    }
    // Every manager holds its own GDI+ start-up, so the render engine works for its lifetime.
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        m_gdiplusToken = 0;
    CShadowUI::RegisterShadowClass(GetModule());
    // The process DPI reaches every new manager before it has a window.
    ApplyDpi(s.processDpi);
}

CPaintManagerUI::~CPaintManagerUI()
{
    // Queued work first: the controls and notifications may still name each other.
    ProcessDelayedCleanup();
    while (m_aAsyncNotify.GetSize() > 0) {
        delete static_cast<UINotifyMessage*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
    }
    m_mNameHash.Resize(0);
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    ProcessDelayedCleanup();
    // Controls kept apart by their callers (removed without destroy, lent, refused) outlive
    // this manager: none of them may tell it later that it is going.
    while (!m_boundControls.empty()) {
        CControlUI* control = *m_boundControls.begin();
        control->SetManager(nullptr, control->GetParent(), false);
        // SetManager of a control that does not call its base still must not loop here.
        m_boundControls.erase(control);
    }

    if (m_ResInfo.defaultFont.handle != nullptr)
        ::DeleteObject(m_ResInfo.defaultFont.handle);
    m_ResInfo.defaultFont.handle = nullptr;
    RemoveAllFonts();
    RemoveAllStyles();
    RemoveAllClassDefaults();
    RemoveAllWindowAttributes();
    RemoveAllOptionGroups();
    RemoveAllTimers();

    if (m_hwndTooltip != nullptr) {
        ::DestroyWindow(m_hwndTooltip);
        m_hwndTooltip = nullptr;
    }
    for (int i = 0; i < m_aFontMemHandles.GetSize(); ++i)
        ::RemoveFontMemResourceEx(static_cast<HANDLE>(m_aFontMemHandles[i]));
    m_aFontMemHandles.Empty();

    ReleasePaintResources(true);
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    CUIPtrArray& managers = Settings().managers;
    const int index = managers.Find(this);
    if (index >= 0)
        managers.Remove(index);
    if (m_hDragBitmap != nullptr)
        ::DeleteObject(m_hDragBitmap);
    // OLE must not keep a pointer to a freed target.
    if (m_bDragMode)
        EnableDragDrop(false);
    if (m_gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    delete m_pDpiHelper;
}

// --- process-wide resource settings ---

void CPaintManagerUI::SetInstance(HINSTANCE instance)
{
    InstallXmlHooks();
    Settings().instance = instance;
}

HINSTANCE CPaintManagerUI::GetModule()
{
    return Settings().instance;
}

void CPaintManagerUI::SetResourceModule(HINSTANCE module)
{
    Settings().resourceModule = module;
}

HINSTANCE CPaintManagerUI::GetResourceModule()
{
    const ProcessSettings& s = Settings();
    return s.resourceModule != nullptr ? s.resourceModule : s.instance;
}

CUIString CPaintManagerUI::GetModuleFolder()
{
    if (Settings().instance == nullptr)
        return CUIString();
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(Settings().instance, path, MAX_PATH);
    CUIString folder(path);
    const int slash = folder.ReverseFind(L'\\');
    if (slash >= 0)
        return folder.Left(slash + 1);
    return folder;
}

void CPaintManagerUI::SetResourceFolder(LPCWSTR path)
{
    InstallXmlHooks();
    CUIString& folder = Settings().resourceFolder;
    folder = path;
    const int length = folder.GetLength();
    if (length > 0) {
        const wchar_t last = folder[length - 1];
        if (last != L'\\' && last != L'/')
            folder += L'\\';
    }
}

const CUIString& CPaintManagerUI::GetResourceFolder()
{
    return Settings().resourceFolder;
}

void CPaintManagerUI::SetResourceKind(int kind)
{
    Settings().resourceKind = kind;
}

int CPaintManagerUI::GetResourceKind()
{
    return Settings().resourceKind;
}

void CPaintManagerUI::SetResourceArchive(LPCWSTR name, bool cached, LPCWSTR password)
{
    InstallXmlHooks();
    ProcessSettings& s = Settings();
    const CUIString newName(name);
    if (s.archiveName == newName.GetData() && s.archiveCached == cached)
        return;
    CloseCachedArchive();
    s.archiveName = newName;
    s.archiveCached = cached;
    s.archivePassword = password;
    if (cached) {
        const CUIString path = s.resourceFolder + newName;
        const NarrowPassword narrow(password);
        s.archiveHandle = ZipOpenFile(path, narrow.Get());
    }
}

void CPaintManagerUI::SetResourceArchive(const void* data, int length, LPCWSTR password)
{
    InstallXmlHooks();
    ProcessSettings& s = Settings();
    if (s.archiveName == kMemoryArchiveName)
        return;
    CloseCachedArchive();
    s.archiveName = kMemoryArchiveName;
    s.archiveCached = true;
    s.archivePassword = password;
    const NarrowPassword narrow(password);
    // A negative length is no archive: refuse it rather than read a huge block.
    s.archiveHandle = length >= 0 && data != nullptr
                          ? ZipOpenMemory(data, static_cast<unsigned int>(length), narrow.Get())
                          : nullptr;
}

const CUIString& CPaintManagerUI::GetResourceArchive()
{
    return Settings().archiveName;
}

const CUIString& CPaintManagerUI::GetResourceArchivePassword()
{
    return Settings().archivePassword;
}

bool CPaintManagerUI::IsResourceArchiveCached()
{
    return Settings().archiveCached;
}

ZipHandle* CPaintManagerUI::GetResourceArchiveHandle()
{
    return Settings().archiveHandle;
}

void CPaintManagerUI::SetHSL(bool use, short h, short s, short l)
{
    ProcessSettings& st = Settings();
    if (!st.useHsl && !use)
        return;
    // Switching the shift off with the same values must still give the images their own colours back.
    const bool switched = st.useHsl != use;
    st.useHsl = use;
    if (!switched && h == st.hslH && s == st.hslS && l == st.hslL)
        return;
    st.hslH = Clamp(h, 360);
    st.hslS = Clamp(s, 200);
    st.hslL = Clamp(l, 200);
    AdjustSharedImagesHsl();
    for (int i = 0; i < st.managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(st.managers[i]);
        if (manager != nullptr)
            manager->AdjustImagesHsl();
    }
}

bool CPaintManagerUI::GetHSL(short& h, short& s, short& l)
{
    const ProcessSettings& st = Settings();
    h = st.hslH;
    s = st.hslS;
    l = st.hslL;
    return st.useHsl;
}

bool CPaintManagerUI::LoadPlugin(LPCWSTR dll)
{
    if (dll == nullptr)
        return false;
    HMODULE module = ::LoadLibraryW(dll);
    if (module == nullptr)
        return false;
    auto entry = reinterpret_cast<LPVOID>(::GetProcAddress(module, "CreateControl"));
    if (entry == nullptr)
        return false;
    CUIPtrArray& plugins = Settings().plugins;
    if (plugins.Find(entry) < 0 && !plugins.Add(entry))
        return false;
    return true;
}

CUIPtrArray* CPaintManagerUI::GetPlugins()
{
    return &Settings().plugins;
}

CUIString CPaintManagerUI::GetCurrentPath()
{
    wchar_t path[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, path);
    return CUIString(path);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR path)
{
    ::SetCurrentDirectoryW(path);
}

CPaintManagerUI* CPaintManagerUI::FindManager(LPCWSTR name)
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    CUIPtrArray& managers = Settings().managers;
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(managers[i]);
        if (manager != nullptr && manager->GetName() == name)
            return manager;
    }
    return nullptr;
}

CUIPtrArray* CPaintManagerUI::GetAllManagers()
{
    return &Settings().managers;
}

void CPaintManagerUI::SetGlobalDpi(int dpi)
{
    ProcessSettings& s = Settings();
    s.processDpi = dpi;
    s.imageScaleFactor = ::MulDiv(dpi, 100, 96) / 100.0;
}

int CPaintManagerUI::GetGlobalDpi()
{
    return Settings().processDpi;
}

double CPaintManagerUI::GetImageScaleFactor()
{
    return Settings().imageScaleFactor;
}

HPEN CPaintManagerUI::GetUpdateRectPen()
{
    return Settings().updateRectPen;
}

UIResourceSet& CPaintManagerUI::GetSharedResources()
{
    return Settings().shared;
}

void CPaintManagerUI::Term()
{
    CUIResourceTable::Release();
    CControlFactory::Release();
    FreeSharedImages();
    FreeFonts(Settings().shared);
    UIFontInfo& font = Settings().shared.defaultFont;
    if (font.handle != nullptr)
        ::DeleteObject(font.handle);
    font.handle = nullptr;
    FreeTextMap(Settings().shared.styles);
    FreeTextMap(Settings().shared.classDefaults);
    CloseCachedArchive();
}

bool CPaintManagerUI::ExtractResourceArchive(LPCWSTR archivePath, LPCWSTR targetFolder,
                                             ExtractProgress progress, LPCSTR password)
{
    ZipHandle* zip = ZipOpenFile(archivePath, password);
    if (zip == nullptr)
        return false;
    // Without its folder the items would land in the current one.
    if (ZipSetBaseDir(zip, targetFolder) != ZR_OK) {
        (void)ZipClose(zip);
        return false;
    }
    bool complete = true;
    ZipEntry summary;
    int count = 0;
    if (ZipGetItem(zip, -1, &summary) == ZR_OK)
        count = summary.index;
    else
        complete = false;
    // Every item is tried; one that cannot be unpacked keeps its old file and fails the whole.
    for (int i = 0; i < count; ++i) {
        ZipEntry entry;
        if (ZipGetItem(zip, i, &entry) != ZR_OK || ZipUnzipToFile(zip, i, entry.name) != ZR_OK)
            complete = false;
        if (progress != nullptr)
            progress(i, count);
    }
    (void)ZipClose(zip);
    if (progress != nullptr)
        progress(count, count);
    return complete;
}

// --- window ---

void CPaintManagerUI::AttachWindow(HWND window, LPCWSTR name)
{
    // A skin's resources are loaded after the window is attached; the default font survives.
    m_mNameHash.Resize(CUIStringMap::kDefaultBuckets);
    RemoveAllFonts();
    ReleasePaintResources(false);
    RemoveAllClassDefaults();
    RemoveAllStyles();
    RemoveAllWindowAttributes();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    m_sName = name;
    if (window != m_hWndPaint) {
        if (m_hDcPaint != nullptr)
            ::ReleaseDC(m_hWndPaint, m_hDcPaint);
        m_hWndPaint = window;
        m_hDcPaint = ::GetDC(window);
        CUIPtrArray& managers = Settings().managers;
        if (managers.Find(this) < 0)
            managers.Add(this);
    }
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rc = {0, 0, 0, 0};
    if (m_hWndPaint != nullptr)
        ::GetClientRect(m_hWndPaint, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

CDpiHelper* CPaintManagerUI::GetDpiHelper()
{
    if (m_pDpiHelper == nullptr)
        m_pDpiHelper = new CDpiHelper();
    return m_pDpiHelper;
}

// --- tree ---

namespace {

CControlUI* BindNameProc(CControlUI* control, LPVOID data)
{
    auto* names = static_cast<CUIStringMap*>(data);
    const CUIString name = control->GetName();
    if (!name.IsEmpty())
        names->Set(name, control);
    return nullptr;
}

} // namespace

bool CPaintManagerUI::SetRootControl(CControlUI* control)
{
    m_shadow.Create(this);
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr) {
        m_aPostPaintControls.Empty();
        QueueControlDeletion(m_pRoot);
    }
    m_pRoot = control;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    ApplyDpi(m_iBorrowedDpi > 0 ? m_iBorrowedDpi : Settings().processDpi);
    return BindControls(control, nullptr);
}

bool CPaintManagerUI::BindControls(CControlUI* control, CControlUI* parent)
{
    if (control == nullptr)
        return false;
    control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
    control->FindControl(BindNameProc, &m_mNameHash, 0);
    return true;
}

void CPaintManagerUI::WrapRoot(CControlUI* container)
{
    if (m_pWrapper != nullptr || container == nullptr)
        return;
    auto* items = static_cast<IContainerUI*>(container->GetInterface(L"IContainer"));
    if (items == nullptr)
        return;
    SetLayered(true);
    m_pWrapper = container;
    // The wrapper joins this manager first, so that the old root is bound with the wrapper as
    // its parent; the container takes ownership of the old root.
    if (container->GetManager() == nullptr)
        container->SetManager(this, nullptr, false);
    CControlUI* oldRoot = m_pRoot;
    if (oldRoot != nullptr)
        items->Add(oldRoot);
    m_pContentRoot = oldRoot;
    m_pRoot = container;
    if (auto* box = static_cast<CContainerUI*>(container->GetInterface(L"Container")))
        m_rcWrapperInset = box->GetInset();
    Invalidate();
}

void CPaintManagerUI::QueueControlDeletion(CControlUI* control)
{
    if (control == nullptr)
        return;
    control->SetManager(this, nullptr, false);
    // A queued control takes no more input, timers or notifications; it keeps its manager
    // pointer, as the handler that queued it may still be running in it.
    ForgetSubtree(control);
    if (m_aDelayedCleanup.Find(control) < 0)
        m_aDelayedCleanup.Add(control);
    PostAsyncNotify();
}

void CPaintManagerUI::ProcessDelayedCleanup()
{
    // A destructor may queue another control (a container removing children): take one at a
    // time from the front until the queue stays empty.
    while (m_aDelayedCleanup.GetSize() > 0) {
        auto* control = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete control;
    }
}

namespace {

bool RemoveEvery(CUIPtrArray& list, LPVOID item)
{
    bool removed = false;
    for (int i = list.GetSize() - 1; i >= 0; --i) {
        if (list[i] == item) {
            list.Remove(i);
            removed = true;
        }
    }
    return removed;
}

CControlUI* ForgetProc(CControlUI* control, LPVOID data)
{
    static_cast<CPaintManagerUI*>(data)->ForgetControl(control);
    return nullptr;
}

} // namespace

void CPaintManagerUI::ForgetSubtree(CControlUI* control)
{
    if (control != nullptr)
        control->FindControl(ForgetProc, this, 0);
}

void CPaintManagerUI::ForgetControl(CControlUI* control)
{
    if (control == nullptr)
        return;
    if (control == m_pEventKey)
        m_pEventKey = nullptr;
    if (control == m_pEventHover) {
        m_pEventHover = nullptr;
        // The tip shows the text of the control that just left.
        if (m_hwndTooltip != nullptr)
            ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    if (control == m_pEventClick) {
        m_pEventClick = nullptr;
        // The press it held ends here: no capture or drag is left for a control that is gone.
        m_bDragPending = false;
        if (m_bMouseCapture && ::GetCapture() == m_hWndPaint)
            ReleaseCapture();
        m_bMouseCapture = false;
    }
    if (control == m_pFocus)
        m_pFocus = nullptr;
    KillTimers(control);
    const CUIString name = control->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name, false) == control)
        m_mNameHash.Remove(name);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        auto* msg = static_cast<UINotifyMessage*>(m_aAsyncNotify[i]);
        if (msg->sender == control)
            msg->sender = nullptr;
    }
    RemoveEvery(m_aNeedMouseLeaveNeeded, control);
    RemoveEvery(m_aPostPaintControls, control);
    RemoveEvery(m_aFoundControls, control);
    RemoveEvery(m_aDelayedCleanup, control);
    // The lists of interfaces hold the interface's own address, which differs from the
    // control's once it derives from more than one base.
    if (auto* filter = dynamic_cast<IMessageFilterUI*>(control)) {
        RemoveEvery(m_aMessageFilters, filter);
        RemoveEvery(m_aPreMessageFilters, filter);
    }
    if (auto* listener = dynamic_cast<INotifyUI*>(control))
        RemoveEvery(m_aNotifiers, listener);
    if (auto* translator = dynamic_cast<ITranslateAccelerator*>(control))
        RemoveEvery(m_aTranslateAccelerator, translator);
    for (int i = m_aChildWndControls.GetSize() - 1; i >= 0; --i) {
        if (m_aChildWndControls[i] == control) {
            m_aChildWndControls.Remove(i);
            m_aChildWnds.Remove(i);
        }
    }
    CUIString emptied;
    for (int i = 0; i < m_mOptionGroup.GetSize() && emptied.IsEmpty(); ++i) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        auto* group = key != nullptr ? static_cast<CUIPtrArray*>(m_mOptionGroup.Find(key, false)) : nullptr;
        if (group != nullptr && RemoveEvery(*group, control) && group->IsEmpty())
            emptied = key;
    }
    // An option is in one group at most; an emptied group goes as LeaveOptionGroup does.
    if (!emptied.IsEmpty()) {
        delete static_cast<CUIPtrArray*>(m_mOptionGroup.Find(emptied, false));
        m_mOptionGroup.Remove(emptied);
    }
}

void CPaintManagerUI::ControlDestroyed(CControlUI* control)
{
    ForgetControl(control);
    m_boundControls.erase(control);
    // Only a control that is really gone leaves the tree's ownership; ForgetControl alone (a
    // closing window forgetting its root) keeps the root for the destructor to delete.
    if (control == m_pContentRoot)
        m_pContentRoot = nullptr;
    if (control == m_pWrapper)
        m_pWrapper = nullptr;
    if (control == m_pRoot)
        m_pRoot = nullptr;
}

void CPaintManagerUI::ControlBound(CControlUI* control)
{
    if (control == nullptr)
        return;
    m_boundControls.insert(control);
    // A control given back (a row returned from a pop-up) is found by name again.
    const CUIString name = control->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name, false) == nullptr)
        m_mNameHash.Set(name, control);
    // What ran in its last window runs on here: a moved animation or caret does not stop for good.
    std::vector<UIParkedTimer> parked;
    parked.swap(control->ParkedTimers());
    for (const UIParkedTimer& timer : parked)
        (void)SetTimer(control, timer.callerId, timer.elapse);
}

void CPaintManagerUI::ControlUnbound(CControlUI* control)
{
    if (control == nullptr)
        return;
    std::vector<UIParkedTimer>& parked = control->ParkedTimers();
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const auto* timer = static_cast<const UITimerInfo*>(m_aTimers[i]);
        if (timer->control == control && timer->window == m_hWndPaint && !timer->killed)
            parked.push_back(UIParkedTimer{timer->callerId, timer->elapse});
    }
    // Whoever took the control away owns it now, root or not.
    ControlDestroyed(control);
}

void CPaintManagerUI::UnbindControls(CControlUI* control)
{
    if (control != nullptr)
        control->SetManager(nullptr, nullptr, false);
}

// --- invalidation ---

void CPaintManagerUI::Invalidate()
{
    if (m_hWndPaint == nullptr)
        return;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(m_hWndPaint, &client);
    ::UnionRect(&m_rcUpdate, &m_rcUpdate, &client);
    ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(RECT& rc)
{
    if (rc.left < 0)
        rc.left = 0;
    if (rc.top < 0)
        rc.top = 0;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    // Controls not placed yet ask with empty rectangles, once per setter while a layout is
    // built: each would cost a server round trip and adds nothing to the update region.
    if (::IsRectEmpty(&rc))
        return;
    ::UnionRect(&m_rcUpdate, &m_rcUpdate, &rc);
    if (m_hWndPaint != nullptr)
        ::InvalidateRect(m_hWndPaint, &rc, FALSE);
}

void CPaintManagerUI::Invalidate(const RECT& rc)
{
    RECT copy = rc;
    Invalidate(copy);
}

} // namespace ZvUI
