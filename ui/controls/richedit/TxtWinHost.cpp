// Text host: answers the windowless text services from its fields and the owning control.
#include "richedit/TxtWinHost.h"

#include <imm.h>

#include <algorithm>

#include "control/ScrollBarUI.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "richedit/RichEditUI.h"

namespace ZvUI {

namespace {

// mingw declares these ids but no library defines them.
const IID kIIDTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIIDTextHost = {0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

constexpr LONG kTwipsPerInch = 1440;
// The content view of OLE drawing (value 1): the only one text services draw.
constexpr DWORD kDrawContent = 1;
constexpr LONG kHimetricPerInch = 2540;

// The owner may be kept apart from any window for a while (removed, between two windows):
// the text services then draw and measure on the screen and place nothing.
CPaintManagerUI* ManagerOf(const CRichEditUI* owner)
{
    return owner != nullptr ? owner->GetManager() : nullptr;
}

HWND WindowOf(const CRichEditUI* owner)
{
    CPaintManagerUI* manager = ManagerOf(owner);
    return manager != nullptr ? manager->GetWindowHandle() : nullptr;
}

HDC DcOf(const CRichEditUI* owner)
{
    CPaintManagerUI* manager = ManagerOf(owner);
    return manager != nullptr ? manager->GetWindowDC() : nullptr;
}

// The library stays loaded for the process: text services of later controls reuse it.
PCreateTextServices FindCreateTextServices()
{
    static const PCreateTextServices create = [] {
        for (LPCWSTR name : {L"Msftedit.dll", L"riched20.dll"}) {
            HMODULE module = ::LoadLibraryW(name);
            if (module == nullptr)
                continue;
            auto proc = reinterpret_cast<PCreateTextServices>(
                reinterpret_cast<void*>(::GetProcAddress(module, "CreateTextServices")));
            if (proc != nullptr)
                return proc;
            ::FreeLibrary(module);
        }
        return static_cast<PCreateTextServices>(nullptr);
    }();
    return create;
}

// A DC to measure with: the manager's window DC, or the screen's.
class MeasureDC {
public:
    explicit MeasureDC(HDC hDC) : m_hDC(hDC != nullptr ? hDC : ::GetDC(nullptr)), m_bOwn(hDC == nullptr) {}
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    ~MeasureDC()
    {
        if (m_bOwn)
            ::ReleaseDC(nullptr, m_hDC);
    }
    int LogPixels(int index) const
    {
        const int value = ::GetDeviceCaps(m_hDC, index);
        return value > 0 ? value : 96;
    }

private:
    HDC m_hDC;
    bool m_bOwn;
};

COLORREF SwapRedBlue(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void CopyFace(WCHAR (&target)[LF_FACESIZE], LPCWSTR face)
{
    wcsncpy(target, face, LF_FACESIZE - 1);
    target[LF_FACESIZE - 1] = L'\0';
}

} // namespace

CTxtWinHost* CTxtWinHost::CreateHost(CRichEditUI* owner, const TextHostCreateInfo& info)
{
    auto* host = new CTxtWinHost;
    if (host->Init(owner, &info))
        return host;
    delete host;
    return nullptr;
}

CTxtWinHost::~CTxtWinHost()
{
    if (m_pServices != nullptr) {
        m_pServices->OnTxInPlaceDeactivate();
        m_pServices->Release();
        m_pServices = nullptr;
    }
}

bool CTxtWinHost::Init(CRichEditUI* owner, const TextHostCreateInfo* info)
{
    m_pOwner = owner;
    m_cRefs = 1;
    if (!InitDefaultCharFormat())
        return false;
    InitDefaultParaFormat();
    m_dwStyle = ES_MULTILINE;
    m_bRich = owner->IsRich();
    m_nMaxLength = owner->GetLimitText();
    if (info != nullptr) {
        m_dwStyle = info->style;
        if ((m_dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0)
            m_bWordWrap = true;
        if (m_dwStyle & ES_CENTER)
            m_pf.wAlignment = PFA_CENTER;
        else if (m_dwStyle & ES_RIGHT)
            m_pf.wAlignment = PFA_RIGHT;
    }
    m_bInPlaceActive = true;
    // A password field without a mask character would show the text in clear.
    if ((m_dwStyle & ES_PASSWORD) && m_chPassword == 0)
        m_chPassword = L'*';

    const PCreateTextServices create = FindCreateTextServices();
    if (create == nullptr)
        return false;
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, this, &unknown)) || unknown == nullptr)
        return false;
    const HRESULT hr = unknown->QueryInterface(kIIDTextServices, reinterpret_cast<void**>(&m_pServices));
    unknown->Release();
    if (FAILED(hr) || m_pServices == nullptr) {
        m_pServices = nullptr;
        return false;
    }
    ApplyMaxLength();
    if (info != nullptr && info->text != nullptr && info->text[0] != L'\0') {
        if (FAILED(m_pServices->TxSetText(info->text)))
            return false;
    }
    return true;
}

bool CTxtWinHost::InitDefaultCharFormat()
{
    CPaintManagerUI* manager = m_pOwner->GetManager();
    if (manager == nullptr)
        return false;
    LOGFONTW lf = {};
    HFONT font = manager->GetFont(m_pOwner->GetFont());
    if (font == nullptr || ::GetObjectW(font, sizeof(lf), &lf) == 0)
        return false;
    m_cf = CHARFORMAT2W{};
    m_cf.cbSize = sizeof(CHARFORMAT2W);
    DWORD color = m_pOwner->GetTextColor();
    if (manager->IsLayered())
        CUIRender::AvoidPureBlack(color);
    m_cf.crTextColor = SwapRedBlue(color);
    const MeasureDC dc(manager->GetWindowDC());
    m_cf.yHeight = -lf.lfHeight * kTwipsPerInch / dc.LogPixels(LOGPIXELSY);
    m_cf.yOffset = 0;
    m_cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    m_cf.dwEffects = 0;
    if (lf.lfWeight >= FW_BOLD)
        m_cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic)
        m_cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline)
        m_cf.dwEffects |= CFE_UNDERLINE;
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    CopyFace(m_cf.szFaceName, lf.lfFaceName);
    return true;
}

void CTxtWinHost::InitDefaultParaFormat()
{
    m_pf = PARAFORMAT2{};
    m_pf.cbSize = sizeof(PARAFORMAT2);
    m_pf.dwMask = PFM_ALL;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = 720;
}

void CTxtWinHost::BitsChanged(DWORD mask, DWORD bits)
{
    if (m_pServices != nullptr)
        m_pServices->OnTxPropertyBitsChange(mask, bits);
}

// --- IUnknown ---

HRESULT CTxtWinHost::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIIDTextHost)) {
        AddRef();
        *object = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CTxtWinHost::AddRef()
{
    return ++m_cRefs;
}

ULONG CTxtWinHost::Release()
{
    const ULONG refs = --m_cRefs;
    if (refs == 0)
        delete this;
    return refs;
}

// --- ITextHost: device, scroll bars, invalidation ---

HDC CTxtWinHost::TxGetDC()
{
    return DcOf(m_pOwner);
}

INT CTxtWinHost::TxReleaseDC(HDC /*hdc*/)
{
    return 1;
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    CScrollBarUI* vertical = m_pOwner->GetVerticalScrollBar();
    CScrollBarUI* horizontal = m_pOwner->GetHorizontalScrollBar();
    if (vertical != nullptr && (bar == SB_VERT || bar == SB_BOTH))
        vertical->SetVisible(show == TRUE);
    if (horizontal != nullptr && (bar == SB_HORZ || bar == SB_BOTH))
        horizontal->SetVisible(show == TRUE);
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bar, INT arrows)
{
    const bool visible = arrows != ESB_DISABLE_BOTH;
    if (bar == SB_VERT) {
        m_pOwner->EnableScrollBar(true, m_pOwner->GetHorizontalScrollBar() != nullptr);
        m_pOwner->GetVerticalScrollBar()->SetVisible(visible);
    } else if (bar == SB_HORZ) {
        m_pOwner->EnableScrollBar(m_pOwner->GetVerticalScrollBar() != nullptr, true);
        m_pOwner->GetHorizontalScrollBar()->SetVisible(visible);
    } else if (bar == SB_BOTH) {
        m_pOwner->EnableScrollBar(true, true);
        m_pOwner->GetVerticalScrollBar()->SetVisible(visible);
        m_pOwner->GetHorizontalScrollBar()->SetVisible(visible);
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL /*redraw*/)
{
    const LONG range = maxPos - minPos;
    CScrollBarUI* vertical = m_pOwner->GetVerticalScrollBar();
    CScrollBarUI* horizontal = m_pOwner->GetHorizontalScrollBar();
    if (bar == SB_VERT && vertical != nullptr) {
        const LONG height = m_rcClient.bottom - m_rcClient.top;
        if (range - height > 0) {
            vertical->SetVisible(true);
            vertical->SetScrollRange(range - height);
        } else {
            vertical->SetVisible(false);
        }
    } else if (bar == SB_HORZ && horizontal != nullptr) {
        const LONG width = m_rcClient.right - m_rcClient.left;
        if (range - width > 0) {
            horizontal->SetVisible(true);
            horizontal->SetScrollRange(range - width);
        } else {
            horizontal->SetVisible(false);
        }
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL /*redraw*/)
{
    CScrollBarUI* vertical = m_pOwner->GetVerticalScrollBar();
    CScrollBarUI* horizontal = m_pOwner->GetHorizontalScrollBar();
    if (bar == SB_VERT && vertical != nullptr)
        vertical->SetScrollPos(pos);
    else if (bar == SB_HORZ && horizontal != nullptr)
        horizontal->SetScrollPos(pos);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rc, WINBOOL /*mode*/)
{
    RECT area = rc != nullptr ? *rc : m_rcClient;
    if (CPaintManagerUI* manager = ManagerOf(m_pOwner))
        manager->Invalidate(area);
}

void CTxtWinHost::TxViewChange(WINBOOL update)
{
    if (m_pOwner->OnTxViewChanged(update == TRUE))
        m_pOwner->Invalidate();
}

// --- caret, timers, capture, focus, cursor ---

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    m_nCaretWidth = width;
    m_nCaretHeight = height;
    const HWND hwnd = WindowOf(m_pOwner);
    return hwnd != nullptr ? ::CreateCaret(hwnd, bitmap, width, height) : FALSE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    m_bShowCaret = show == TRUE;
    const HWND hwnd = WindowOf(m_pOwner);
    if (hwnd == nullptr)
        return FALSE;
    return show ? ::ShowCaret(hwnd) : ::HideCaret(hwnd);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    CPaintManagerUI* manager = ManagerOf(m_pOwner);
    if (manager == nullptr)
        return FALSE;
    POINT old = {0, 0};
    ::GetCaretPos(&old);
    RECT oldRect = {old.x, old.y, old.x + m_nLastCaretWidth, old.y + m_nLastCaretHeight};
    if (manager->IsLayered()) {
        manager->Invalidate(oldRect);
    } else if (m_bNeedFreshCaret) {
        manager->Invalidate(oldRect);
        m_bNeedFreshCaret = false;
    }
    RECT newRect = {x, y, x + m_nCaretWidth, y + m_nCaretHeight};
    if (manager->IsLayered())
        manager->Invalidate(newRect);
    m_nLastCaretWidth = m_nCaretWidth;
    m_nLastCaretHeight = m_nCaretHeight;
    return ::SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    CPaintManagerUI* manager = ManagerOf(m_pOwner);
    if (manager == nullptr || (id & kTimerIdBit) != 0)
        return FALSE;
    // A running id is restarted with the new timeout, as a window's own SetTimer does.
    manager->KillTimer(m_pOwner, id | kTimerIdBit);
    const auto it = std::find(m_timers.begin(), m_timers.end(), id);
    if (!manager->SetTimer(m_pOwner, id | kTimerIdBit, timeout)) {
        if (it != m_timers.end())
            m_timers.erase(it);
        return FALSE;
    }
    if (it == m_timers.end())
        m_timers.push_back(id);
    return TRUE;
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    const auto it = std::find(m_timers.begin(), m_timers.end(), id);
    if (it != m_timers.end())
        m_timers.erase(it);
    CPaintManagerUI* manager = ManagerOf(m_pOwner);
    if (manager != nullptr && (id & kTimerIdBit) == 0)
        manager->KillTimer(m_pOwner, id | kTimerIdBit);
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture)
{
    CPaintManagerUI* manager = ManagerOf(m_pOwner);
    if (manager != nullptr && capture)
        manager->SetCapture();
    else if (manager != nullptr)
        manager->ReleaseCapture();
    m_bCaptured = capture == TRUE;
}

void CTxtWinHost::TxSetFocus()
{
    m_pOwner->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL /*text*/)
{
    ::SetCursor(cursor);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt)
{
    const HWND hwnd = WindowOf(m_pOwner);
    return hwnd != nullptr ? ::ScreenToClient(hwnd, pt) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt)
{
    const HWND hwnd = WindowOf(m_pOwner);
    return hwnd != nullptr ? ::ClientToScreen(hwnd, pt) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG* /*oldState*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG /*newState*/)
{
    return S_OK;
}

// --- what the text services read ---

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rc)
{
    *rc = m_rcClient;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rc)
{
    *rc = RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = reinterpret_cast<const PARAFORMAT*>(&m_pf);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    return ::GetSysColor(index);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = m_bTransparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = static_cast<DWORD>(m_nMaxLength);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars)
{
    *bars = m_dwStyle & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = m_chPassword;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos)
{
    *pos = m_laccelpos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent)
{
    *extent = m_sizelExtent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW* /*format*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT* /*format*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    DWORD all = 0;
    if (m_bRich)
        all |= TXTBIT_RICHTEXT;
    if (m_dwStyle & ES_MULTILINE)
        all |= TXTBIT_MULTILINE;
    if (m_dwStyle & ES_READONLY)
        all |= TXTBIT_READONLY;
    if (m_dwStyle & ES_PASSWORD)
        all |= TXTBIT_USEPASSWORD;
    if (!(m_dwStyle & ES_NOHIDESEL))
        all |= TXTBIT_HIDESELECTION;
    if (m_bSaveSelection)
        all |= TXTBIT_SAVESELECTION;
    if (m_bAutoWordSel)
        all |= TXTBIT_AUTOWORDSEL;
    if (m_bWordWrap)
        all |= TXTBIT_WORDWRAP;
    if (m_bAllowBeep)
        all |= TXTBIT_ALLOWBEEP;
    *bits = mask & all;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data)
{
    if (code == EN_REQUESTRESIZE) {
        const auto* request = static_cast<const REQRESIZE*>(data);
        if (request != nullptr) {
            RECT rc = m_rcClient;
            rc.right = rc.left + request->rc.right;
            rc.bottom = rc.top + request->rc.bottom;
            SetClientRect(rc);
        }
        return S_OK;
    }
    m_pOwner->OnTxNotify(code, data);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC /*himc*/) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = m_lSelBarWidth;
    return S_OK;
}

// --- what the control changes ---

void CTxtWinHost::SetClientRect(const RECT& rc)
{
    m_rcClient = rc;
    const MeasureDC dc(DcOf(m_pOwner));
    m_sizelExtent.cx = ::MulDiv(rc.right - rc.left, kHimetricPerInch, dc.LogPixels(LOGPIXELSX));
    m_sizelExtent.cy = ::MulDiv(rc.bottom - rc.top, kHimetricPerInch, dc.LogPixels(LOGPIXELSY));
    BitsChanged(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

void CTxtWinHost::SetColor(DWORD argb)
{
    m_cf.crTextColor = SwapRedBlue(argb);
    BitsChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetFont(HFONT font)
{
    if (font == nullptr)
        return;
    LOGFONTW lf = {};
    if (::GetObjectW(font, sizeof(lf), &lf) == 0)
        return;
    const MeasureDC dc(DcOf(m_pOwner));
    m_cf.yHeight = -lf.lfHeight * kTwipsPerInch / dc.LogPixels(LOGPIXELSY);
    if (lf.lfWeight >= FW_BOLD)
        m_cf.dwEffects |= CFE_BOLD;
    else
        m_cf.dwEffects &= ~CFE_BOLD;
    if (lf.lfItalic)
        m_cf.dwEffects |= CFE_ITALIC;
    else
        m_cf.dwEffects &= ~CFE_ITALIC;
    if (lf.lfUnderline)
        m_cf.dwEffects |= CFE_UNDERLINE;
    else
        m_cf.dwEffects &= ~CFE_UNDERLINE;
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    CopyFace(m_cf.szFaceName, lf.lfFaceName);
    BitsChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetDisabledEffect(bool on)
{
    m_cf.dwMask |= CFM_COLOR | CFM_DISABLED;
    m_cf.dwEffects |= CFE_AUTOCOLOR | CFE_DISABLED;
    if (!on)
        m_cf.dwEffects &= ~CFE_DISABLED;
    BitsChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetParagraphAlignment(WORD alignment)
{
    m_pf.wAlignment = alignment;
    BitsChanged(TXTBIT_PARAFORMATCHANGE, 0);
}

void CTxtWinHost::SetParagraphOffset(LONG offset)
{
    m_pf.dxOffset = offset;
    BitsChanged(TXTBIT_PARAFORMATCHANGE, 0);
}

void CTxtWinHost::SetExtent(SIZEL extent)
{
    m_sizelExtent = extent;
    BitsChanged(TXTBIT_EXTENTCHANGE, TXTBIT_EXTENTCHANGE);
}

void CTxtWinHost::SetMaxLength(int length)
{
    m_nMaxLength = length < 1 ? 0x7FFF : length;
    BitsChanged(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
    ApplyMaxLength();
}

void CTxtWinHost::ApplyMaxLength()
{
    // Some text services read the limit only at creation: tell them outright as well.
    if (m_pServices != nullptr) {
        LRESULT result = 0;
        m_pServices->TxSendMessage(EM_EXLIMITTEXT, 0, m_nMaxLength, &result);
    }
}

wchar_t CTxtWinHost::SetPasswordChar(wchar_t ch)
{
    const wchar_t previous = m_chPassword;
    m_chPassword = ch;
    BitsChanged(TXTBIT_USEPASSWORD, ch != 0 ? TXTBIT_USEPASSWORD : 0);
    return previous;
}

void CTxtWinHost::SetReadOnly(bool readOnly)
{
    if (readOnly)
        m_dwStyle |= ES_READONLY;
    else
        m_dwStyle &= ~ES_READONLY;
    BitsChanged(TXTBIT_READONLY, readOnly ? TXTBIT_READONLY : 0);
}

void CTxtWinHost::SetRichTextFlag(bool rich)
{
    m_bRich = rich;
    BitsChanged(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetSaveSelection(bool save)
{
    m_bSaveSelection = save;
    BitsChanged(TXTBIT_SAVESELECTION, save ? TXTBIT_SAVESELECTION : 0);
}

LONG CTxtWinHost::SetSelBarWidth(LONG width)
{
    const LONG previous = m_lSelBarWidth;
    m_lSelBarWidth = width;
    if (width != 0)
        m_dwStyle |= ES_SELECTIONBAR;
    else
        m_dwStyle &= ~ES_SELECTIONBAR;
    BitsChanged(TXTBIT_SELBARCHANGE, TXTBIT_SELBARCHANGE);
    return previous;
}

void CTxtWinHost::SetTransparent(bool transparent)
{
    m_bTransparent = transparent;
    BitsChanged(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetWordWrap(bool wrap)
{
    m_bWordWrap = wrap;
    BitsChanged(TXTBIT_WORDWRAP, wrap ? TXTBIT_WORDWRAP : 0);
}

void CTxtWinHost::SetAccelPos(LONG pos)
{
    m_laccelpos = pos;
    BitsChanged(TXTBIT_SHOWACCELERATOR, 0);
}

void CTxtWinHost::SetAllowBeep(bool allow)
{
    m_bAllowBeep = allow;
    BitsChanged(TXTBIT_ALLOWBEEP, allow ? TXTBIT_ALLOWBEEP : 0);
}

// --- activation and cursor ---

bool CTxtWinHost::OnTxInPlaceActivate(const RECT* rc)
{
    m_bInPlaceActive = true;
    if (m_pServices == nullptr || FAILED(m_pServices->OnTxInPlaceActivate(rc))) {
        m_bInPlaceActive = false;
        return false;
    }
    return true;
}

bool CTxtWinHost::OnTxInPlaceDeactivate()
{
    if (m_pServices == nullptr || FAILED(m_pServices->OnTxInPlaceDeactivate()))
        return false;
    m_bInPlaceActive = false;
    return true;
}

bool CTxtWinHost::DoSetCursor(const RECT* rc, const POINT* pt)
{
    const RECT area = rc != nullptr ? *rc : m_rcClient;
    if (m_pServices == nullptr || !::PtInRect(&area, *pt))
        return false;
    const RECT* client = rc == nullptr && m_bInPlaceActive ? nullptr : &area;
    m_pServices->OnTxSetCursor(kDrawContent, -1, nullptr, nullptr, DcOf(m_pOwner),
                               nullptr, client, pt->x, pt->y);
    return true;
}

} // namespace ZvUI
