// Process-wide resource settings, and the first pieces of the per-window manager that the
// control base and the window wrapper rely on.
#include "manager/PaintManagerUI.h"

#include <objidl.h>
#include <gdiplus.h>

#include "archive/ZipArchive.h"
#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
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
    CUIStringMap sharedStyles;
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

void FreeStyles(CUIStringMap& map)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        if (key != nullptr)
            delete static_cast<CUIString*>(map.Find(key, false));
    }
    map.RemoveAll();
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
    if (s.updateRectPen == nullptr)
        s.updateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    // Every manager holds its own GDI+ start-up, so the render engine works for its lifetime.
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        m_gdiplusToken = 0;
    // The process DPI reaches every new manager before it has a window.
    GetDpiHelper()->SetScale(s.processDpi);
}

CPaintManagerUI::~CPaintManagerUI()
{
    CUIPtrArray& managers = Settings().managers;
    const int index = managers.Find(this);
    if (index >= 0)
        managers.Remove(index);
    FreeStyles(m_styles);
    delete m_pDpiHelper;
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    if (m_gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
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
    st.useHsl = use;
    if (h == st.hslH && s == st.hslS && l == st.hslL)
        return;
    st.hslH = Clamp(h, 360);
    st.hslS = Clamp(s, 200);
    st.hslL = Clamp(l, 200);
    // Re-adjusting the shared and per-manager images comes with the image cache.
    for (int i = 0; i < st.managers.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(st.managers[i]);
        if (manager != nullptr)
            manager->Invalidate();
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

void CPaintManagerUI::Term()
{
    // The resource table, the control factory and the shared images and fonts release their
    // parts here once they exist; the shared styles and the cached archive are ours.
    FreeStyles(Settings().sharedStyles);
    CloseCachedArchive();
}

void CPaintManagerUI::ExtractResourceArchive(LPCWSTR archivePath, LPCWSTR targetFolder,
                                             ExtractProgress progress, LPCSTR password)
{
    ZipHandle* zip = ZipOpenFile(archivePath, password);
    if (zip == nullptr)
        return;
    ZipSetBaseDir(zip, targetFolder);
    ZipEntry summary;
    int count = 0;
    if (ZipGetItem(zip, -1, &summary) == ZR_OK)
        count = summary.index;
    for (int i = 0; i < count; ++i) {
        ZipEntry entry;
        if (ZipGetItem(zip, i, &entry) == ZR_OK)
            (void)ZipUnzipToFile(zip, i, entry.name);
        if (progress != nullptr)
            progress(i, count);
    }
    ZipClose(zip);
    if (progress != nullptr)
        progress(count, count);
}

// --- window ---

void CPaintManagerUI::AttachWindow(HWND window, LPCWSTR name)
{
    // Fonts, images, class defaults, window attributes, option groups and timers are reset
    // here as well once the manager carries them.
    FreeStyles(m_styles);
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

bool CPaintManagerUI::PreTranslate(const MSG* /*msg*/)
{
    // Accelerator translators and the keyboard preview come with the message handling.
    return false;
}

CDpiHelper* CPaintManagerUI::GetDpiHelper()
{
    if (m_pDpiHelper == nullptr)
        m_pDpiHelper = new CDpiHelper();
    return m_pDpiHelper;
}

// --- tree, layout and painting ---

void CPaintManagerUI::Invalidate()
{
    if (m_hWndPaint != nullptr)
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(const RECT& rc)
{
    if (m_hWndPaint != nullptr)
        ::InvalidateRect(m_hWndPaint, &rc, FALSE);
}

void CPaintManagerUI::ForgetControl(CControlUI* control)
{
    // Hover, click, key, timers, names and queued notifications join once they exist.
    if (control == m_pFocus)
        m_pFocus = nullptr;
}

// --- focus, timers, notifications ---

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && control != m_pFocus)
        ::SetFocus(m_hWndPaint);
    if (control == m_pFocus)
        return;
    if (m_pFocus != nullptr) {
        UIControlEvent event;
        event.type = EventKillFocus;
        event.sender = control;
        event.timestamp = ::GetTickCount();
        CControlUI* old = m_pFocus;
        old->Event(event);
        RaiseNotify(old, L"killfocus");
        m_pFocus = nullptr;
    }
    if (control != nullptr && control->GetManager() == this && control->IsVisible() &&
        control->IsEnabled()) {
        m_pFocus = control;
        UIControlEvent event;
        event.type = EventSetFocus;
        event.sender = control;
        event.timestamp = ::GetTickCount();
        control->Event(event);
        RaiseNotify(control, L"setfocus");
    }
}

bool CPaintManagerUI::SetTimer(CControlUI* /*control*/, UINT /*callerId*/, UINT /*elapse*/)
{
    // Control timers come with the manager's timer list.
    return false;
}

bool CPaintManagerUI::KillTimer(CControlUI* /*control*/, UINT /*callerId*/)
{
    return false;
}

bool CPaintManagerUI::AddNotifyListener(INotifyUI* listener)
{
    return m_aNotifiers.Add(listener);
}

bool CPaintManagerUI::RemoveNotifyListener(INotifyUI* listener)
{
    const int index = m_aNotifiers.Find(listener);
    if (index < 0)
        return false;
    return m_aNotifiers.Remove(index);
}

void CPaintManagerUI::RaiseNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam, LPARAM lParam,
                                  bool async)
{
    UINotifyMessage msg;
    msg.sender = sender;
    msg.type = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    DispatchNotify(msg, async);
}

void CPaintManagerUI::DispatchNotify(UINotifyMessage& msg, bool async)
{
    msg.mousePoint = m_ptLastMousePos;
    msg.timestamp = ::GetTickCount();
    if (m_bFillVirtualWnd && msg.sender != nullptr)
        msg.virtualWnd = msg.sender->GetVirtualWnd();
    if (async) {
        // Until the WM_APP+1 queue exists, a queued notification is delivered at once,
        // without its virtual-window name, as it would arrive from the queue.
        msg.virtualWnd.Empty();
    }
    if (msg.sender != nullptr && msg.sender->NotifyHandlers.HasDelegates())
        msg.sender->NotifyHandlers.Invoke(&msg);
    for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
        auto* listener = static_cast<INotifyUI*>(m_aNotifiers[i]);
        if (listener != nullptr)
            listener->Notify(msg);
    }
}

// --- styles ---

void CPaintManagerUI::AddStyle(LPCWSTR name, LPCWSTR attributeList, bool shared)
{
    if (name == nullptr || name[0] == L'\0')
        return;
    CUIStringMap& map = shared ? Settings().sharedStyles : m_styles;
    if (map.Find(name, false) != nullptr)
        return;
    auto* value = new CUIString(attributeList);
    if (!map.Insert(name, value))
        delete value;
}

LPCWSTR CPaintManagerUI::GetStyle(LPCWSTR name) const
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    auto* value = static_cast<CUIString*>(m_styles.Find(name));
    if (value == nullptr)
        value = static_cast<CUIString*>(Settings().sharedStyles.Find(name));
    return value != nullptr ? value->GetData() : nullptr;
}

bool CPaintManagerUI::RemoveStyle(LPCWSTR name, bool shared)
{
    if (name == nullptr)
        return true;
    CUIStringMap& map = shared ? Settings().sharedStyles : m_styles;
    auto* value = static_cast<CUIString*>(map.Find(name, false));
    if (value != nullptr) {
        delete value;
        map.Remove(name);
    }
    return true;
}

void CPaintManagerUI::RemoveAllStyles(bool shared)
{
    FreeStyles(shared ? Settings().sharedStyles : m_styles);
}

} // namespace ZvUI
