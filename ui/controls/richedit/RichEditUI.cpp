// Rich edit: attributes, event and message translation, painting and the thin text operations.
#include "richedit/RichEditUI.h"

#include <imm.h>
#include <tom.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "control/ScrollBarUI.h"
#include "edit/TextInputSupport.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIClipGuard.h"
#include "render/UIRender.h"
#include "richedit/TxtWinHost.h"

namespace ZvUI {

using textinput::Is;

namespace {

constexpr UINT kCaretTimerId = 20;
// The content view of OLE drawing (value 1): the only one text services draw.
constexpr DWORD kDrawContent = 1;

// Context menu command ids.
constexpr UINT kMenuUndo = 101;
constexpr UINT kMenuCut = 102;
constexpr UINT kMenuCopy = 103;
constexpr UINT kMenuPaste = 104;
constexpr UINT kMenuClear = 105;
constexpr UINT kMenuSelectAll = 106;
constexpr UINT kMenuRedo = 107;

constexpr UINT kLastKeyMessage = 0x109;

bool IsExactTrue(LPCWSTR value)
{
    return wcscmp(value, L"true") == 0;
}

bool IsMouseMessage(UINT msg)
{
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= kLastKeyMessage;
}

RECT Deflate(RECT rc, const RECT& by)
{
    rc.left += by.left;
    rc.top += by.top;
    rc.right -= by.right;
    rc.bottom -= by.bottom;
    return rc;
}

// --- font sizes of rich text ---

// Characters [start, end) share one size.
struct SizeRun {
    LONG start;
    LONG end;
    LONG height;
};

// mingw's headers declare it but no library defines it.
constexpr GUID kIIDTextDocument = {0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

// Formats the program changes behind the user's back: no change notices, the selection kept, and
// nothing for the user's next undo to take back (the text services record a format change like
// typing unless their undo is suspended).
class QuietFormatChange {
public:
    explicit QuietFormatChange(CRichEditUI& edit) : m_edit(edit), m_bCouldUndo(edit.CanUndo())
    {
        m_mask = edit.GetEventMask();
        edit.SetEventMask(m_mask & ~static_cast<DWORD>(ENM_CHANGE | ENM_SELCHANGE));
        edit.GetSel(m_sel);
        ITextServices* services = edit.GetTextHost() != nullptr ? edit.GetTextHost()->GetTextServices() : nullptr;
        if (services != nullptr &&
            FAILED(services->QueryInterface(kIIDTextDocument, reinterpret_cast<void**>(&m_pDocument))))
            m_pDocument = nullptr;
        if (m_pDocument != nullptr) {
            long count = 0;
            m_pDocument->Undo(tomSuspend, &count);
        }
    }
    QuietFormatChange(const QuietFormatChange&) = delete;
    QuietFormatChange& operator=(const QuietFormatChange&) = delete;
    ~QuietFormatChange()
    {
        m_edit.SetSel(m_sel);
        if (m_pDocument != nullptr) {
            long count = 0;
            m_pDocument->Undo(tomResume, &count);
            m_pDocument->Release();
        }
        // Where suspending is not offered, an empty history at least stays empty.
        if (!m_bCouldUndo)
            m_edit.EmptyUndoBuffer();
        m_edit.SetEventMask(m_mask);
    }

private:
    CRichEditUI& m_edit;
    bool m_bCouldUndo;
    DWORD m_mask = 0;
    CHARRANGE m_sel = {0, 0};
    ITextDocument* m_pDocument = nullptr;
};

// The size of [start, end) when all of it has one.
bool UniformSize(CRichEditUI& edit, LONG start, LONG end, LONG& height)
{
    edit.SetSel(start, end);
    CHARFORMAT2W format = {};
    if ((edit.GetSelectionCharFormat(format) & CFM_SIZE) == 0)
        return false;
    height = format.yHeight;
    return true;
}

// Every stretch of one size, found by doubling steps and then halving them, so a long text of few
// sizes costs few messages.
std::vector<SizeRun> ReadSizeRuns(CRichEditUI& edit)
{
    std::vector<SizeRun> runs;
    // The whole text with its final paragraph mark, which sizes an empty last line; never more
    // than the text's length says, whatever the selection answers.
    CHARRANGE all = {0, -1};
    edit.SetSel(all);
    edit.GetSel(all);
    all.cpMax = std::min<LONG>(all.cpMax, edit.GetTextLength(GTL_DEFAULT) + 1);
    for (LONG pos = 0; pos < all.cpMax;) {
        LONG height = 0;
        CHARFORMAT2W format = {};
        edit.SetSel(pos, pos + 1);
        edit.GetSelectionCharFormat(format);
        height = format.yHeight;
        LONG good = pos + 1;
        LONG bad = -1;
        for (LONG step = 1; good < all.cpMax; step *= 2) {
            const LONG probe = std::min(all.cpMax, good + step);
            LONG probed = 0;
            if (!UniformSize(edit, pos, probe, probed) || probed != height) {
                bad = probe;
                break;
            }
            good = probe;
        }
        while (bad > good + 1) {
            const LONG mid = good + (bad - good) / 2;
            LONG probed = 0;
            if (UniformSize(edit, pos, mid, probed) && probed == height)
                good = mid;
            else
                bad = mid;
        }
        runs.push_back(SizeRun{pos, good, height});
        pos = good;
    }
    return runs;
}

void SetRunSizes(CRichEditUI& edit, const std::vector<SizeRun>& runs, int oldScale, int newScale)
{
    for (const SizeRun& run : runs) {
        CHARFORMAT2W format = {};
        // The size alone: face, weight, colour and effects stay as the run has them.
        format.dwMask = CFM_SIZE;
        format.yHeight = ::MulDiv(run.height, newScale, oldScale);
        edit.SetSel(run.start, run.end);
        edit.SetSelectionCharFormat(format);
    }
}

} // namespace

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI()
{
    if (m_pTwh != nullptr) {
        m_pTwh->Release();
        m_pTwh = nullptr;
    }
    if (m_pManager != nullptr) {
        m_pManager->RemoveMessageFilter(this);
        m_pManager->KillTimer(this, kCaretTimerId);
    }
}

LPCWSTR CRichEditUI::GetClass() const
{
    return L"RichEditUI";
}

LPVOID CRichEditUI::GetInterface(LPCWSTR name)
{
    if (_wcsicmp(name, L"RichEdit") == 0)
        return static_cast<CRichEditUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CRichEditUI::GetControlFlags() const
{
    if (!IsEnabled())
        return CControlUI::GetControlFlags();
    const UINT stored = GetStoredControlFlags();
    return stored != 0 ? stored : (ControlFlagTabStop | ControlFlagSetCursor);
}

// --- initialisation and the road to the text services ---

void CRichEditUI::DoInit()
{
    if (m_bInited)
        return;
    TextHostCreateInfo info;
    info.style = static_cast<DWORD>(m_lTwhStyle);
    info.text = m_sText.GetData();
    m_pTwh = CTxtWinHost::CreateHost(this, info);
    if (m_pTwh != nullptr) {
        if (m_bTransparent)
            m_pTwh->SetTransparent(true);
        LRESULT result = 0;
        TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &result);
        TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_DROPFILES | ENM_LINK, &result);
        m_pTwh->OnTxInPlaceActivate(nullptr);
    }
    if (m_pManager != nullptr) {
        m_iTextScale = m_pManager->GetDpiHelper()->GetScale();
        m_pManager->AddMessageFilter(this);
        (void)m_pManager->SetTimer(this, kCaretTimerId, ::GetCaretBlinkTime());
        if (!IsEnabled() && m_pTwh != nullptr)
            m_pTwh->SetColor(m_pManager->GetDisabledColor());
    }
    m_bInited = true;
}

void CRichEditUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    const bool moved = manager != m_pManager;
    CContainerUI::SetManager(manager, parent, init);
    // The manager left behind dropped the filter (the timers travel with the control); an
    // initialised field filters in its new one (a field not initialised yet does so in DoInit).
    if (moved && m_bInited && m_pManager != nullptr)
        m_pManager->AddMessageFilter(this);
}

HRESULT CRichEditUI::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    if (m_pTwh == nullptr || m_pTwh->GetTextServices() == nullptr)
        return S_FALSE;
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
        if (!m_bWantReturn || (ctrl && !m_bWantCtrlReturn)) {
            if (m_pManager != nullptr)
                m_pManager->SendNotify(const_cast<CRichEditUI*>(this), L"return");
            return S_OK;
        }
    }
    LRESULT dummy = 0;
    return m_pTwh->GetTextServices()->TxSendMessage(msg, wParam, lParam, result != nullptr ? result : &dummy);
}

bool CRichEditUI::OnTxViewChanged(bool /*update*/)
{
    return true;
}

void CRichEditUI::OnTxNotify(DWORD code, void* data)
{
    switch (code) {
    case EN_CHANGE:
        if (m_pManager != nullptr)
            m_pManager->SendNotify(this, L"textchanged");
        break;
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_LINK:
    case EN_DRAGDROPDONE:
        if (data != nullptr && m_pManager != nullptr) {
            const HWND hwnd = m_pManager->GetWindowHandle();
            auto* header = static_cast<NMHDR*>(data);
            header->hwndFrom = hwnd;
            header->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(hwnd, GWL_ID));
            header->code = code;
            ::SendMessageW(hwnd, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(data));
        }
        break;
    default:
        break;
    }
}

// --- attributes and setters ---

void CRichEditUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (wcscmp(name, L"vscrollbar") == 0) {
        if (IsExactTrue(value))
            m_lTwhStyle |= ES_DISABLENOSCROLL | WS_VSCROLL;
        CContainerUI::SetAttribute(name, value);
    } else if (wcscmp(name, L"autovscroll") == 0) {
        if (IsExactTrue(value))
            m_lTwhStyle |= ES_AUTOVSCROLL;
        CContainerUI::SetAttribute(name, value);
    } else if (wcscmp(name, L"hscrollbar") == 0) {
        if (IsExactTrue(value))
            m_lTwhStyle |= ES_DISABLENOSCROLL | WS_HSCROLL;
        CContainerUI::SetAttribute(name, value);
    } else if (wcscmp(name, L"autohscroll") == 0) {
        if (IsExactTrue(value))
            m_lTwhStyle |= ES_AUTOHSCROLL;
    } else if (Is(name, L"multiline")) {
        SetMultiLine(IsExactTrue(value));
    } else if (wcscmp(name, L"wanttab") == 0) {
        SetWantTab(IsExactTrue(value));
    } else if (wcscmp(name, L"wantreturn") == 0) {
        SetWantReturn(IsExactTrue(value));
    } else if (wcscmp(name, L"wantctrlreturn") == 0) {
        SetWantCtrlReturn(IsExactTrue(value));
    } else if (wcscmp(name, L"transparent") == 0) {
        SetTransparent(IsExactTrue(value));
    } else if (wcscmp(name, L"rich") == 0) {
        SetRich(IsExactTrue(value));
    } else if (wcscmp(name, L"readonly") == 0) {
        if (IsExactTrue(value)) {
            m_lTwhStyle |= ES_READONLY;
            m_bReadOnly = true;
        }
    } else if (wcscmp(name, L"password") == 0) {
        if (IsExactTrue(value))
            m_lTwhStyle |= ES_PASSWORD;
    } else if (wcscmp(name, L"align") == 0) {
        if (wcsstr(value, L"left") != nullptr)
            m_lTwhStyle &= ~(ES_CENTER | ES_RIGHT);
        if (wcsstr(value, L"center") != nullptr) {
            m_lTwhStyle &= ~(ES_LEFT | ES_RIGHT);
            m_lTwhStyle |= ES_CENTER;
        }
        if (wcsstr(value, L"right") != nullptr) {
            m_lTwhStyle &= ~(ES_LEFT | ES_CENTER);
            m_lTwhStyle |= ES_RIGHT;
        }
    } else if (wcscmp(name, L"font") == 0) {
        SetFont(_wtoi(value));
    } else if (wcscmp(name, L"textcolor") == 0) {
        SetTextColor(textinput::ParseColor(value));
    } else if (Is(name, L"maxchar")) {
        SetLimitText(_wtoi(value));
    } else if (Is(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (Is(name, L"hotimage")) {
        SetHotImage(value);
    } else if (Is(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (Is(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (Is(name, L"textpadding")) {
        const RECT rc = textinput::ParseRect(value);
        SetTextPadding(rc.left, rc.top, rc.right, rc.bottom);
    } else if (Is(name, L"tipvalue")) {
        SetTipValue(value);
    } else if (Is(name, L"tipvaluecolor")) {
        SetTipValueColor(textinput::ParseColor(value));
    } else if (Is(name, L"tipvaluealign")) {
        UINT align = m_uTipValueAlign;
        if (wcsstr(value, L"left") != nullptr)
            align = DT_SINGLELINE | DT_LEFT;
        if (wcsstr(value, L"center") != nullptr)
            align = DT_SINGLELINE | DT_CENTER;
        if (wcsstr(value, L"right") != nullptr)
            align = DT_SINGLELINE | DT_RIGHT;
        SetTipValueAlign(align);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CRichEditUI::SetMultiLine(bool multiLine)
{
    if (multiLine)
        m_lTwhStyle |= ES_MULTILINE;
    else
        m_lTwhStyle &= ~ES_MULTILINE;
}

void CRichEditUI::SetTransparent(bool transparent)
{
    m_bTransparent = transparent;
    if (m_pTwh != nullptr)
        m_pTwh->SetTransparent(transparent);
}

void CRichEditUI::SetRich(bool rich)
{
    m_bRich = rich;
    if (m_pTwh != nullptr)
        m_pTwh->SetRichTextFlag(rich);
}

void CRichEditUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    if (m_pTwh != nullptr)
        m_pTwh->SetReadOnly(readOnly);
}

void CRichEditUI::SetWordWrap(bool wrap)
{
    m_bWordWrap = wrap;
    if (m_pTwh != nullptr)
        m_pTwh->SetWordWrap(wrap);
}

void CRichEditUI::SetFont(int index)
{
    m_iFont = index;
    if (m_pTwh == nullptr || m_pManager == nullptr)
        return;
    const int scale = m_pManager->GetDpiHelper()->GetScale();
    const int oldScale = m_iTextScale;
    m_iTextScale = scale;
    if (m_bRich) {
        // Each run keeps its own size, scaled with the window: read them before the host's new
        // default reaches any of them.
        if (oldScale <= 0 || oldScale == scale) {
            m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
            return;
        }
        const QuietFormatChange quiet(*this);
        const std::vector<SizeRun> runs = ReadSizeRuns(*this);
        m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
        SetRunSizes(*this, runs, oldScale, scale);
        return;
    }
    m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
    // Wine's text services ignore a default-format change for the text they hold already, so a
    // DPI change left plain text at the old size. Plain text has one format throughout: it takes
    // the new one whole, without a change notice (the text is the same).
    const QuietFormatChange quiet(*this);
    CHARFORMAT2W format = m_pTwh->GetCharFormat();
    TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format), nullptr);
}

void CRichEditUI::SetFontFace(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    if (m_pTwh == nullptr || face == nullptr)
        return;
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    // At most 31 characters: the face field keeps room for its terminator.
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold)
        lf.lfWeight += FW_BOLD;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfItalic = italic ? TRUE : FALSE;
    const textinput::UniqueFont font(::CreateFontIndirectW(&lf));
    m_pTwh->SetFont(font.get());
}

void CRichEditUI::SetTextColor(DWORD color)
{
    m_dwTextColor = color;
    if (m_pTwh != nullptr)
        m_pTwh->SetColor(color);
}

void CRichEditUI::SetLimitText(int chars)
{
    m_iLimitText = chars;
    if (m_pTwh != nullptr)
        m_pTwh->SetMaxLength(chars);
}

RECT CRichEditUI::GetTextPadding() const
{
    RECT rc = m_rcTextPadding;
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->ScaleRect(rc);
    return rc;
}

void CRichEditUI::SetTextPadding(int left, int top, int right, int bottom)
{
    m_rcTextPadding = RECT{left, top, right, bottom};
    Invalidate();
}

void CRichEditUI::SetNormalImage(LPCWSTR descriptor)
{
    m_sNormalImage = descriptor;
    Invalidate();
}

void CRichEditUI::SetHotImage(LPCWSTR descriptor)
{
    m_sHotImage = descriptor;
    Invalidate();
}

void CRichEditUI::SetFocusedImage(LPCWSTR descriptor)
{
    m_sFocusedImage = descriptor;
    Invalidate();
}

void CRichEditUI::SetDisabledImage(LPCWSTR descriptor)
{
    m_sDisabledImage = descriptor;
    Invalidate();
}

void CRichEditUI::SetTipValue(LPCWSTR text)
{
    m_sTipValue = text;
    Invalidate();
}

void CRichEditUI::SetTipValueColor(DWORD color)
{
    m_dwTipValueColor = color;
    Invalidate();
}

void CRichEditUI::SetTipValueAlign(UINT align)
{
    m_uTipValueAlign = align;
    if (GetText().IsEmpty())
        Invalidate();
}

void CRichEditUI::AddFocusKeepControl(CControlUI* control)
{
    if (control != nullptr && m_aFocusKeep.Find(control) < 0)
        m_aFocusKeep.Add(control);
}

void CRichEditUI::SetEnabled(bool enable)
{
    CContainerUI::SetEnabled(enable);
    if (m_pTwh != nullptr && m_pManager != nullptr)
        m_pTwh->SetColor(IsEnabled() ? m_dwTextColor : m_pManager->GetDisabledColor());
}

SIZE CRichEditUI::EstimateSize(SIZE available)
{
    return CControlUI::EstimateSize(available);
}

// --- text operations ---

int CRichEditUI::GetTextLength(DWORD flags) const
{
    GETTEXTLENGTHEX length = {flags, 1200};
    LRESULT result = 0;
    TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0, &result);
    return static_cast<int>(result);
}

CUIString CRichEditUI::GetText() const
{
    if (m_pTwh == nullptr)
        return CUIString();
    const int length = GetTextLength(GTL_DEFAULT);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX request = {};
    request.cb = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = 1200;
    LRESULT result = 0;
    TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer.data()),
                  &result);
    return CUIString(buffer.data());
}

void CRichEditUI::SetText(LPCWSTR text)
{
    m_sText = text != nullptr ? text : L"";
    if (m_pTwh == nullptr)
        return;
    SetSel(0, -1);
    ReplaceSel(m_sText, false);
}

bool CRichEditUI::GetModify() const
{
    LRESULT result = 0;
    TxSendMessage(EM_GETMODIFY, 0, 0, &result);
    return result != 0;
}

void CRichEditUI::SetModify(bool modified) const
{
    TxSendMessage(EM_SETMODIFY, modified ? TRUE : FALSE, 0, nullptr);
}

void CRichEditUI::GetSel(CHARRANGE& range) const
{
    range = CHARRANGE{0, 0};
    TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
}

void CRichEditUI::GetSel(long& start, long& end) const
{
    CHARRANGE range = {};
    GetSel(range);
    start = range.cpMin;
    end = range.cpMax;
}

int CRichEditUI::SetSel(CHARRANGE& range)
{
    LRESULT result = 0;
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
    return static_cast<int>(result);
}

int CRichEditUI::SetSel(long start, long end)
{
    CHARRANGE range = {start, end};
    return SetSel(range);
}

int CRichEditUI::SetSelAll()
{
    return SetSel(0, -1);
}

int CRichEditUI::SetSelNone()
{
    return SetSel(-1, 0);
}

void CRichEditUI::ReplaceSel(LPCWSTR text, bool canUndo)
{
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text), nullptr);
}

CUIString CRichEditUI::GetSelText() const
{
    if (m_pTwh == nullptr)
        return CUIString();
    CHARRANGE range = {};
    GetSel(range);
    const long count = std::max(0L, range.cpMax - range.cpMin);
    std::vector<wchar_t> buffer(static_cast<size_t>(count) + 1, L'\0');
    TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()), nullptr);
    buffer[static_cast<size_t>(count)] = L'\0';
    return CUIString(buffer.data());
}

CUIString CRichEditUI::GetTextRange(long start, long end) const
{
    if (m_pTwh == nullptr || start < 0)
        return CUIString();
    // -1 stands for the end of the text; the buffer is sized from the end within the text, never
    // from what the caller asked for.
    const long length = GetTextLength(GTL_DEFAULT);
    if (end == -1 || end > length)
        end = length;
    if (end <= start)
        return CUIString();
    std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range = {};
    range.chrg.cpMin = start;
    range.chrg.cpMax = end;
    range.lpstrText = buffer.data();
    TxSendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range), nullptr);
    buffer.back() = L'\0';
    return CUIString(buffer.data());
}

WORD CRichEditUI::GetSelectionType() const
{
    LRESULT result = 0;
    TxSendMessage(EM_SELECTIONTYPE, 0, 0, &result);
    return static_cast<WORD>(result & 0xFFFF);
}

int CRichEditUI::InsertText(long position, LPCWSTR text, bool canUndo)
{
    const int result = SetSel(position, position);
    ReplaceSel(text, canUndo);
    return result;
}

int CRichEditUI::AppendText(LPCWSTR text, bool canUndo)
{
    const int result = SetSel(-1, -1);
    ReplaceSel(text, canUndo);
    return result;
}

void CRichEditUI::HideSelection(bool hide, bool changeStyle)
{
    TxSendMessage(EM_HIDESELECTION, hide ? TRUE : FALSE, changeStyle ? TRUE : FALSE, nullptr);
}

void CRichEditUI::ScrollCaret()
{
    TxSendMessage(EM_SCROLLCARET, 0, 0, nullptr);
}

bool CRichEditUI::GetZoom(int& numerator, int& denominator) const
{
    LRESULT result = 0;
    TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator), &result);
    return result == 1;
}

bool CRichEditUI::SetZoom(int numerator, int denominator)
{
    if (numerator < 0 || numerator > 64 || denominator < 0 || denominator > 64)
        return false;
    LRESULT result = 0;
    TxSendMessage(EM_SETZOOM, static_cast<WPARAM>(numerator), static_cast<LPARAM>(denominator), &result);
    return result == 1;
}

bool CRichEditUI::SetZoomOff()
{
    LRESULT result = 0;
    TxSendMessage(EM_SETZOOM, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::GetAutoURLDetect() const
{
    LRESULT result = 0;
    TxSendMessage(EM_GETAUTOURLDETECT, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::SetAutoURLDetect(bool autoDetect)
{
    LRESULT result = 0;
    TxSendMessage(EM_AUTOURLDETECT, autoDetect ? TRUE : FALSE, 0, &result);
    return result == 0;
}

DWORD CRichEditUI::GetEventMask() const
{
    LRESULT result = 0;
    TxSendMessage(EM_GETEVENTMASK, 0, 0, &result);
    return static_cast<DWORD>(result);
}

DWORD CRichEditUI::SetEventMask(DWORD mask)
{
    LRESULT result = 0;
    TxSendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetLinkAndDropEventMask()
{
    LRESULT result = 0;
    TxSendMessage(EM_SETEVENTMASK, 0, ENM_LINK | ENM_DROPFILES, &result);
    return result == 0;
}

DWORD CRichEditUI::GetDefaultCharFormat(CHARFORMAT2W& format) const
{
    format.cbSize = sizeof(CHARFORMAT2W);
    LRESULT result = 0;
    TxSendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetDefaultCharFormat(CHARFORMAT2W& format)
{
    if (m_pTwh == nullptr)
        return false;
    format.cbSize = sizeof(CHARFORMAT2W);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format), &result);
    if (result == 0)
        return false;
    CHARFORMAT2W current = {};
    current.cbSize = sizeof(CHARFORMAT2W);
    TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&current), nullptr);
    m_pTwh->SetDefaultCharFormat(current);
    return true;
}

DWORD CRichEditUI::GetSelectionCharFormat(CHARFORMAT2W& format) const
{
    format.cbSize = sizeof(CHARFORMAT2W);
    LRESULT result = 0;
    TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetSelectionCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(CHARFORMAT2W);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), &result);
    return result != 0;
}

bool CRichEditUI::SetWordCharFormat(CHARFORMAT2W& format)
{
    format.cbSize = sizeof(CHARFORMAT2W);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format), &result);
    return result != 0;
}

DWORD CRichEditUI::GetParaFormat(PARAFORMAT2& format) const
{
    format.cbSize = sizeof(PARAFORMAT2);
    LRESULT result = 0;
    TxSendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetParaFormat(PARAFORMAT2& format)
{
    if (m_pTwh == nullptr)
        return false;
    format.cbSize = sizeof(PARAFORMAT2);
    LRESULT result = 0;
    TxSendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format), &result);
    if (result == 0)
        return false;
    m_pTwh->SetDefaultParaFormat(format);
    return true;
}

bool CRichEditUI::CanUndo()
{
    LRESULT result = 0;
    TxSendMessage(EM_CANUNDO, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::CanRedo()
{
    LRESULT result = 0;
    TxSendMessage(EM_CANREDO, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::CanPaste()
{
    LRESULT result = 0;
    TxSendMessage(EM_CANPASTE, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::Undo()
{
    LRESULT result = 0;
    TxSendMessage(EM_UNDO, 0, 0, &result);
    return result == 1;
}

bool CRichEditUI::Redo()
{
    LRESULT result = 0;
    TxSendMessage(EM_REDO, 0, 0, &result);
    return result == 1;
}

void CRichEditUI::Cut()
{
    TxSendMessage(WM_CUT, 0, 0, nullptr);
}

void CRichEditUI::Copy()
{
    TxSendMessage(WM_COPY, 0, 0, nullptr);
}

void CRichEditUI::Paste()
{
    TxSendMessage(WM_PASTE, 0, 0, nullptr);
}

void CRichEditUI::Clear()
{
    TxSendMessage(WM_CLEAR, 0, 0, nullptr);
}

void CRichEditUI::EmptyUndoBuffer()
{
    TxSendMessage(EM_EMPTYUNDOBUFFER, 0, 0, nullptr);
}

UINT CRichEditUI::SetUndoLimit(UINT limit)
{
    LRESULT result = 0;
    TxSendMessage(EM_SETUNDOLIMIT, limit, 0, &result);
    return static_cast<UINT>(result);
}

int CRichEditUI::GetLineCount() const
{
    LRESULT result = 0;
    TxSendMessage(EM_GETLINECOUNT, 0, 0, &result);
    return static_cast<int>(result);
}

CUIString CRichEditUI::GetLine(int line, int maxChars) const
{
    if (m_pTwh == nullptr || maxChars < 1)
        return CUIString();
    // The first word carries the buffer size, so no more than 0xFFFF characters ever come back:
    // the buffer is no larger, whatever the caller asked for.
    maxChars = std::min(maxChars, 0xFFFF);
    std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(maxChars);
    LRESULT copied = 0;
    TxSendMessage(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()), &copied);
    const size_t end = static_cast<size_t>(std::min<LRESULT>(std::max<LRESULT>(copied, 0), maxChars));
    buffer[end] = L'\0';
    return CUIString(buffer.data());
}

int CRichEditUI::LineIndex(int line) const
{
    LRESULT result = 0;
    TxSendMessage(EM_LINEINDEX, static_cast<WPARAM>(line), 0, &result);
    return static_cast<int>(result);
}

int CRichEditUI::LineLength(int line) const
{
    LRESULT result = 0;
    TxSendMessage(EM_LINELENGTH, static_cast<WPARAM>(line), 0, &result);
    return static_cast<int>(result);
}

long CRichEditUI::LineFromChar(long ch) const
{
    LRESULT result = 0;
    TxSendMessage(EM_EXLINEFROMCHAR, 0, static_cast<LPARAM>(ch), &result);
    return static_cast<long>(result);
}

bool CRichEditUI::LineScroll(int lines, int chars)
{
    LRESULT result = 0;
    TxSendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), static_cast<LPARAM>(lines), &result);
    return result == 1;
}

POINT CRichEditUI::GetCharPos(long ch) const
{
    POINT pt = {0, 0};
    TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), static_cast<LPARAM>(ch), nullptr);
    return pt;
}

POINT CRichEditUI::PosFromChar(UINT ch) const
{
    return GetCharPos(static_cast<long>(ch));
}

int CRichEditUI::CharFromPos(POINT pt) const
{
    LRESULT result = 0;
    TxSendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&pt), &result);
    return static_cast<int>(result);
}

long CRichEditUI::StreamIn(int format, EDITSTREAM& stream)
{
    LRESULT result = 0;
    TxSendMessage(EM_STREAMIN, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream), &result);
    return static_cast<long>(result);
}

long CRichEditUI::StreamOut(int format, EDITSTREAM& stream)
{
    LRESULT result = 0;
    TxSendMessage(EM_STREAMOUT, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream), &result);
    return static_cast<long>(result);
}

// --- scrolling ---

void CRichEditUI::SendScroll(UINT msg, WORD code)
{
    TxSendMessage(msg, code, 0, nullptr);
}

void CRichEditUI::LineUp()
{
    SendScroll(WM_VSCROLL, SB_LINEUP);
}

void CRichEditUI::LineDown()
{
    CScrollBarUI* bar = GetVerticalScrollBar();
    const bool plain = !m_bRich && bar != nullptr && bar->IsVisible();
    const int before = plain ? bar->GetScrollPos() : 0;
    SendScroll(WM_VSCROLL, SB_LINEDOWN);
    // Plain text can stop short of the last line: the bar goes to its end then.
    if (plain && bar->GetScrollPos() <= before)
        bar->SetScrollPos(bar->GetScrollRange());
}

void CRichEditUI::PageUp()
{
    SendScroll(WM_VSCROLL, SB_PAGEUP);
}

void CRichEditUI::PageDown()
{
    SendScroll(WM_VSCROLL, SB_PAGEDOWN);
}

void CRichEditUI::HomeUp()
{
    SendScroll(WM_VSCROLL, SB_TOP);
}

void CRichEditUI::EndDown()
{
    SendScroll(WM_VSCROLL, SB_BOTTOM);
}

void CRichEditUI::LineLeft()
{
    SendScroll(WM_HSCROLL, SB_LINELEFT);
}

void CRichEditUI::LineRight()
{
    SendScroll(WM_HSCROLL, SB_LINERIGHT);
}

void CRichEditUI::PageLeft()
{
    SendScroll(WM_HSCROLL, SB_PAGELEFT);
}

void CRichEditUI::PageRight()
{
    SendScroll(WM_HSCROLL, SB_PAGERIGHT);
}

void CRichEditUI::HomeLeft()
{
    SendScroll(WM_HSCROLL, SB_LEFT);
}

void CRichEditUI::EndRight()
{
    SendScroll(WM_HSCROLL, SB_RIGHT);
}

void CRichEditUI::SetScrollPos(SIZE pos, bool /*notify*/)
{
    CScrollBarUI* vertical = GetVerticalScrollBar();
    CScrollBarUI* horizontal = GetHorizontalScrollBar();
    int dy = 0;
    int dx = 0;
    if (vertical != nullptr && vertical->IsVisible()) {
        const int old = vertical->GetScrollPos();
        vertical->SetScrollPos(pos.cy);
        dy = vertical->GetScrollPos() - old;
    }
    if (horizontal != nullptr && horizontal->IsVisible()) {
        const int old = horizontal->GetScrollPos();
        horizontal->SetScrollPos(pos.cx);
        dx = horizontal->GetScrollPos() - old;
    }
    if (dy != 0) {
        const bool plain = !m_bRich;
        const int remembered = vertical->GetScrollPos();
        // The scroll message carries 16 bits of position; the text services keep their ranges
        // within that.
        const int target = std::min(vertical->GetScrollPos(), 0xFFFF);
        TxSendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, target), 0, nullptr);
        if (plain && dy > 0 && vertical->GetScrollPos() <= remembered)
            vertical->SetScrollPos(remembered);
    }
    if (dx != 0) {
        const int target = horizontal->GetScrollPos();
        TxSendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::min(target, 0xFFFF)), 0, nullptr);
    }
}

// --- layout ---

RECT CRichEditUI::GetTextArea() const
{
    RECT rc = GetInsetRect();
    if (IsVScrollVisible())
        rc.right -= GetVScrollWidth();
    if (IsHScrollVisible())
        rc.bottom -= GetHScrollHeight();
    return rc;
}

RECT CRichEditUI::GetTextRect() const
{
    return Deflate(GetTextArea(), GetTextPadding());
}

void CRichEditUI::SetPos(RECT rc, bool invalidate)
{
    CControlUI::SetPos(rc, invalidate);
    RECT area = GetTextArea();
    CScrollBarUI* vertical = GetVerticalScrollBar();
    CScrollBarUI* horizontal = GetHorizontalScrollBar();
    const bool vVisible = vertical != nullptr && vertical->IsVisible();

    if (m_pTwh != nullptr) {
        const RECT text = GetTextRect();
        m_pTwh->SetClientRect(text);
        if (vVisible && (!vertical->IsVisible() || m_bVScrollBarFixing)) {
            LONG width = text.right - text.left + vertical->GetFixedWidth();
            LONG height = 0;
            SIZEL extent = {-1, -1};
            m_pTwh->GetTextServices()->TxGetNaturalSize(kDrawContent, m_pManager->GetWindowDC(), nullptr, nullptr,
                                                        TXTNS_FITTOCONTENT, &extent, &width, &height);
            const LONG room = text.bottom - text.top + vertical->GetScrollRange();
            if (room < height) {
                vertical->SetVisible(true);
                vertical->SetScrollPos(0);
                m_bVScrollBarFixing = true;
            } else if (m_bVScrollBarFixing) {
                vertical->SetVisible(false);
                m_bVScrollBarFixing = false;
            }
            area = GetTextArea();
        }
    }

    if (vertical != nullptr && vertical->IsVisible())
        vertical->SetPos(RECT{area.right, area.top, area.right + GetVScrollWidth(), area.bottom}, invalidate);
    if (horizontal != nullptr && horizontal->IsVisible())
        horizontal->SetPos(RECT{area.left, area.bottom, area.right, area.bottom + GetHScrollHeight()}, invalidate);

    for (int i = 0; i < m_items.GetSize(); ++i) {
        auto* child = static_cast<CControlUI*>(m_items[i]);
        if (!child->IsVisible())
            continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        const int width = std::min(std::max<int>(area.right - area.left, child->GetMinWidth()), child->GetMaxWidth());
        const int height =
            std::min(std::max<int>(area.bottom - area.top, child->GetMinHeight()), child->GetMaxHeight());
        child->SetPos(RECT{area.left, area.top, area.left + width, area.top + height}, invalidate);
    }
}

void CRichEditUI::Move(SIZE offset, bool invalidate)
{
    CContainerUI::Move(offset, invalidate);
    if (m_pTwh != nullptr)
        m_pTwh->SetClientRect(GetTextRect());
}

// --- events ---

void CRichEditUI::DoEvent(UIControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetCursor:
        if (IsEnabled() && m_pTwh != nullptr && m_pTwh->DoSetCursor(nullptr, &event.mousePoint))
            return;
        break;
    case EventWindowSize:
        if (m_pTwh != nullptr)
            m_pTwh->NeedFreshCaret();
        break;
    case EventSetFocus:
        if (m_pTwh != nullptr) {
            m_pTwh->OnTxInPlaceActivate(nullptr);
            TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
        }
        m_bFocused = true;
        Invalidate();
        return;
    case EventKillFocus:
        if (event.sender != nullptr && m_aFocusKeep.Find(event.sender) >= 0)
            return;
        if (m_pTwh != nullptr) {
            m_pTwh->OnTxInPlaceActivate(nullptr);
            TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
        }
        m_bFocused = false;
        Invalidate();
        return;
    case EventTimer:
        if (event.wParam == kCaretTimerId) {
            if (m_pManager == nullptr || m_pTwh == nullptr || !IsFocused() ||
                ::GetFocus() != m_pManager->GetWindowHandle())
                return;
            if (m_pManager->IsLayered()) {
                if (!m_pTwh->IsCaretShown())
                    return;
                m_bDrawCaret = !m_bDrawCaret;
                POINT pt = {0, 0};
                ::GetCaretPos(&pt);
                const SIZE caret = m_pTwh->GetCaretSize();
                RECT rc = {pt.x, pt.y, pt.x + caret.cx, pt.y + caret.cy};
                RECT clip = {};
                if (!::IntersectRect(&clip, &rc, &m_rcItem))
                    return;
                clip = textinput::ClipByAncestors(this, clip);
                if (!::IsRectEmpty(&clip))
                    m_pManager->Invalidate(clip);
            } else {
                m_pTwh->TxShowCaret(m_pTwh->IsCaretShown() ? FALSE : TRUE);
            }
            return;
        }
        // Only the text services' own timers go to them, under their own ids.
        if ((event.wParam & CTxtWinHost::kTimerIdBit) != 0)
            TxSendMessage(WM_TIMER, event.wParam & ~static_cast<WPARAM>(CTxtWinHost::kTimerIdBit), event.lParam,
                          nullptr);
        return;
    case EventScrollWheel:
        if (event.keyState & KeyStateControl)
            return;
        break;
    case EventButtonDown:
    case EventDoubleClick:
    case EventMouseMove:
    case EventButtonUp:
    case EventKeyDown:
    case EventKeyUp:
    case EventChar:
    case EventSysKey:
        // The message filter hands these to the text services.
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CRichEditUI::ShowContextMenu(POINT screenPt)
{
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr)
        return;
    CHARRANGE sel = {};
    GetSel(sel);
    const bool noSelection = sel.cpMin == sel.cpMax;
    const bool readOnly = m_bReadOnly || (m_lTwhStyle & ES_READONLY) != 0;
    auto state = [](bool gray) { return MF_STRING | (gray ? MF_GRAYED : MF_ENABLED); };
    ::AppendMenuW(menu, state(!CanUndo()), kMenuUndo, L"撤销(&U)");
    ::AppendMenuW(menu, state(!CanRedo()), kMenuRedo, L"重做(&R)");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, state(noSelection || readOnly), kMenuCut, L"剪切(&X)");
    ::AppendMenuW(menu, state(noSelection), kMenuCopy, L"复制(&C)");
    ::AppendMenuW(menu, state(readOnly), kMenuPaste, L"粘帖(&V)");
    ::AppendMenuW(menu, state(noSelection || readOnly), kMenuClear, L"清空(&L)");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kMenuSelectAll, L"全选(&A)");
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, screenPt.x, screenPt.y, 0, m_pManager->GetWindowHandle(), nullptr);
    ::DestroyMenu(menu);
}

LRESULT CRichEditUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (!IsVisible() || !IsEnabled() || m_pManager == nullptr)
        return 0;
    if (IsMouseMessage(msg) && !IsMouseEnabled())
        return 0;
    if (msg == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0)
        return 0;
    if (m_pTwh == nullptr)
        return 0;

    const HWND hwnd = m_pManager->GetWindowHandle();
    if (msg == WM_IME_COMPOSITION) {
        HIMC imc = ::ImmGetContext(hwnd);
        if (imc != nullptr) {
            POINT caret = {0, 0};
            ::GetCaretPos(&caret);
            COMPOSITIONFORM form = {};
            form.dwStyle = CFS_POINT;
            form.ptCurrentPos = caret;
            ::ImmSetCompositionWindow(imc, &form);
            ::ImmReleaseContext(hwnd, imc);
        }
        return 0;
    }

    bool prepared = true;
    if (IsMouseMessage(msg) || msg == WM_SETCURSOR) {
        if (!m_pTwh->IsCaptured() && msg >= WM_MOUSEMOVE && msg <= WM_RBUTTONUP) {
            const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_pManager->FindControl(at) != this)
                return 0;
        }
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (msg == WM_SETCURSOR) {
            ::GetCursorPos(&pt);
            ::ScreenToClient(hwnd, &pt);
        } else if (msg == WM_MOUSEWHEEL) {
            ::ScreenToClient(hwnd, &pt);
        }
        const RECT client = m_pTwh->GetClientRect();
        if (!m_pTwh->IsCaptured() && !(::PtInRect(&client, pt) && !m_pManager->IsCaptured()))
            return 0;
        if (msg == WM_SETCURSOR) {
            prepared = false;
        } else if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) {
            if (!m_pManager->IsNoActivate())
                ::SetFocus(hwnd);
            SetFocus();
        }
    } else if (IsKeyMessage(msg) || msg == WM_IME_CHAR) {
        // Composed characters come as WM_IME_CHAR; they are typing like WM_CHAR.
        if (!IsFocused())
            return 0;
    } else if (msg == WM_CONTEXTMENU) {
        if (!IsContextMenuUsed())
            return 0;
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        POINT client = pt;
        ::ScreenToClient(hwnd, &client);
        if (m_pManager->FindControl(client) != this)
            return 0;
        ShowContextMenu(pt);
        handled = true;
        return 0;
    } else if (msg == WM_COMMAND) {
        handled = false;
        prepared = false;
        if (!IsFocused())
            return 0;
        switch (wParam) {
        case kMenuUndo: Undo(); break;
        case kMenuCut: Cut(); break;
        case kMenuCopy: Copy(); break;
        case kMenuPaste: Paste(); break;
        case kMenuClear: Clear(); break;
        case kMenuSelectAll: SetSelAll(); break;
        case kMenuRedo: Redo(); break;
        default: break;
        }
    } else if (msg == WM_HELP) {
        prepared = false;
    } else {
        return 0;
    }

    LRESULT result = 0;
    // The text services type a composed character like any other; they take no WM_IME_CHAR.
    const HRESULT hr = TxSendMessage(msg == WM_IME_CHAR ? WM_CHAR : msg, wParam, lParam, &result);
    if (hr == S_OK || IsKeyMessage(msg) || msg == WM_IME_CHAR || (IsMouseMessage(msg) && m_pTwh->IsCaptured()))
        handled = prepared;
    return result;
}

// --- painting ---

bool CRichEditUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    RECT temp = {};
    if (!::IntersectRect(&temp, &rcPaint, &m_rcItem))
        return true;
    CUIClipGuard clip;
    CUIClipGuard::GenerateClip(hDC, temp, clip);

    CControlUI::DoPaint(hDC, rcPaint, stopControl);
    if (m_pTwh != nullptr) {
        RECT client = m_pTwh->GetClientRect();
        RECT update = rcPaint;
        m_pTwh->GetTextServices()->TxDraw(kDrawContent, 0, nullptr, nullptr, hDC, nullptr,
                                          reinterpret_cast<LPCRECTL>(&client), nullptr, &update, nullptr, 0,
                                          TXTVIEW_ACTIVE);
        if (m_bVScrollBarFixing && GetVerticalScrollBar() != nullptr) {
            LONG width = client.right - client.left + GetVerticalScrollBar()->GetFixedWidth();
            LONG height = 0;
            SIZEL extent = {-1, -1};
            m_pTwh->GetTextServices()->TxGetNaturalSize(kDrawContent, hDC, nullptr, nullptr, TXTNS_FITTOCONTENT,
                                                        &extent, &width, &height);
            if (height <= client.bottom - client.top)
                NeedUpdate();
        }
    }

    const RECT view = GetTextArea();
    RECT inner = {};
    if (::IntersectRect(&inner, &rcPaint, &view)) {
        CUIClipGuard childClip;
        CUIClipGuard::GenerateClip(hDC, inner, childClip);
        for (int i = 0; i < m_items.GetSize(); ++i) {
            auto* child = static_cast<CControlUI*>(m_items[i]);
            if (child == stopControl)
                return false;
            RECT hit = {};
            if (!child->IsVisible() || !::IntersectRect(&hit, &rcPaint, &child->GetPos()))
                continue;
            if (!child->Paint(hDC, rcPaint, stopControl))
                return false;
        }
    }

    if (m_pManager->IsLayered() && IsFocused() && m_pTwh != nullptr && m_pTwh->IsCaretShown() && m_bDrawCaret) {
        POINT pt = {0, 0};
        ::GetCaretPos(&pt);
        if (::PtInRect(&m_rcItem, pt)) {
            const SIZE caret = m_pTwh->GetCaretSize();
            const RECT line = {pt.x, pt.y, pt.x, pt.y + caret.cy};
            CUIRender::DrawLine(hDC, line, caret.cx, m_dwTextColor);
        }
    }

    for (CControlUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar == nullptr || !bar->IsVisible())
            continue;
        if (bar == stopControl)
            return false;
        RECT hit = {};
        if (::IntersectRect(&hit, &rcPaint, &bar->GetPos()) && !bar->Paint(hDC, rcPaint, stopControl))
            return false;
    }

    const int length = m_pTwh != nullptr ? GetTextLength(GTL_DEFAULT) : m_sText.GetLength();
    if (length == 0 && !IsFocused() && !m_sTipValue.IsEmpty()) {
        RECT rc = Deflate(m_rcItem, GetTextPadding());
        UINT style = m_uTipValueAlign;
        if (!IsMultiLine())
            style |= DT_VCENTER;
        CUIRender::DrawText(hDC, m_pManager, rc, m_sTipValue, m_dwTipValueColor, m_iFont, style);
    }

    if (IsAutoTextSize() && length > 0 && m_pTwh != nullptr) {
        const RECT padding = GetTextPadding();
        LONG width = 100000;
        LONG height = 0;
        SIZEL extent = {-1, -1};
        m_pTwh->GetTextServices()->TxGetNaturalSize(kDrawContent, hDC, nullptr, nullptr, TXTNS_FITTOCONTENT,
                                                    &extent, &width, &height);
        const int wanted = std::min<int>(padding.left + width + padding.right, GetMaxWidth());
        // Compared as stored, at 96 dpi: an odd width at 200 % does not survive the trip there
        // and back, and each new width lays the window out and paints it again.
        const int stored = m_pManager->GetDpiHelper()->Unscale(wanted);
        if (stored != m_cxyFixed.cx)
            SetFixedWidth(stored);
    }
    return true;
}

void CRichEditUI::PaintStatusImage(HDC hDC)
{
    textinput::PaintStatusImages(*this, hDC, m_uButtonState, m_sNormalImage, m_sHotImage, m_sFocusedImage,
                                 m_sDisabledImage);
}

} // namespace ZvUI
