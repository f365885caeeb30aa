// Control base: attribute parsing, geometry requests, state, invalidation and the default event path.
#include "control/ControlUI.h"

#include <cstdlib>
#include <cwchar>

#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIClipGuard.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

using attr::Is;
using attr::IsTrue;
using attr::ParseInt;
using attr::ParseColor;
using attr::ParseColorNoBlanks;
using attr::ParseRect;
using attr::ParseSize;

namespace {

struct CursorName {
    LPCWSTR name;
    WORD id;
};

constexpr CursorName kCursors[] = {
    {L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},     {L"cross", 32515},
    {L"uparrow", 32516},  {L"size", 32640},     {L"icon", 32641},     {L"sizenwse", 32642},
    {L"sizenesw", 32643}, {L"sizewe", 32644},   {L"sizens", 32645},   {L"sizeall", 32646},
    {L"no", 32648},       {L"hand", 32649},
};

// A style whose list names itself (directly or through "style") would recurse forever.
constexpr int kMaxStyleDepth = 16;
int g_styleDepth = 0;

class StyleDepthGuard {
public:
    StyleDepthGuard() { ++g_styleDepth; }
    StyleDepthGuard(const StyleDepthGuard&) = delete;
    StyleDepthGuard& operator=(const StyleDepthGuard&) = delete;
    ~StyleDepthGuard() { --g_styleDepth; }
};

// Steps over exactly one separator, never past the terminator.
LPCWSTR SkipSeparator(LPCWSTR end)
{
    return *end != L'\0' ? end + 1 : end;
}

void ParseDoubles(LPCWSTR value, double (&out)[4])
{
    LPCWSTR p = value;
    for (double& part : out) {
        LPWSTR end = nullptr;
        part = std::wcstod(p, &end);
        p = SkipSeparator(end);
    }
}

UINT ParseFloatAlign(LPCWSTR value, UINT align)
{
    CUIString word;
    for (LPCWSTR p = value;; p = ::CharNextW(p)) {
        const wchar_t ch = *p;
        if (ch != L'\0' && ch != L',' && ch != L' ') {
            word += ch;
            continue;
        }
        if (word == L"null") {
            align = 0;
        } else if (word == L"left") {
            align &= ~(DT_CENTER | DT_RIGHT);
        } else if (word == L"center") {
            align &= ~DT_RIGHT;
            align |= DT_CENTER;
        } else if (word == L"right") {
            align &= ~DT_CENTER;
            align |= DT_RIGHT;
        } else if (word == L"top") {
            align &= ~(DT_VCENTER | DT_BOTTOM);
        } else if (word == L"vcenter") {
            align &= ~DT_BOTTOM;
            align |= DT_VCENTER;
        } else if (word == L"bottom") {
            align &= ~DT_VCENTER;
            align |= DT_BOTTOM;
        }
        word.Empty();
        if (ch == L'\0')
            break;
    }
    return align;
}

} // namespace

// --- lifetime ---

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (DestroyHandlers.HasDelegates())
        DestroyHandlers.Invoke(this);
    RemoveAllCustomAttributes();
    if (m_pManager != nullptr)
        m_pManager->ControlDestroyed(this);
}

// --- identity ---

CUIString CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(LPCWSTR name)
{
    m_sName = name;
}

LPCWSTR CControlUI::GetClass() const
{
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && _wcsicmp(name, L"Control") == 0)
        return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return m_uControlFlags;
}

void CControlUI::SetControlFlags(UINT flags)
{
    m_uControlFlags = flags;
}

UINT CControlUI::GetStoredControlFlags() const
{
    return m_uControlFlags;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // Both ends of the binding change together: the manager left behind must hold nothing
    // that names this control once it lives elsewhere or nowhere.
    if (manager != m_pManager) {
        CPaintManagerUI* old = m_pManager;
        m_pManager = manager;
        if (old != nullptr)
            old->ControlUnbound(this);
        if (manager != nullptr)
            manager->ControlBound(this);
    }
    m_pParent = parent;
    if (init && m_pParent != nullptr)
        Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

// --- text ---

CUIString CControlUI::GetText() const
{
    // With resource text on, the stored text is an id; the table answers the id itself when
    // it has no text for it.
    if (m_bResourceText)
        return CUIResourceTable::Instance()->GetText(m_sText, nullptr);
    return m_sText;
}

void CControlUI::SetText(LPCWSTR text)
{
    if (m_sText == (text != nullptr ? text : L""))
        return;
    m_sText = text;
    m_sText.Replace(L"{\\n}", L"\n");
    Invalidate();
}

bool CControlUI::IsResourceText() const
{
    return m_bResourceText;
}

void CControlUI::SetResourceText(bool resource)
{
    if (m_bResourceText == resource)
        return;
    m_bResourceText = resource;
    Invalidate();
}

bool CControlUI::IsDragEnabled() const
{
    return m_bDragEnabled;
}

void CControlUI::SetDragEnabled(bool enable)
{
    m_bDragEnabled = enable;
}

bool CControlUI::IsDropEnabled() const
{
    return m_bDropEnabled;
}

void CControlUI::SetDropEnabled(bool enable)
{
    m_bDropEnabled = enable;
}

bool CControlUI::IsRichEvent() const
{
    return m_bRichEvent;
}

void CControlUI::SetRichEvent(bool enable)
{
    m_bRichEvent = enable;
}

// --- geometry ---

RECT CControlUI::GetRelativePos() const
{
    if (m_pParent == nullptr)
        return RECT{0, 0, 0, 0};
    const RECT& parent = m_pParent->GetPos();
    RECT rc = m_rcItem;
    ::OffsetRect(&rc, -parent.left, -parent.top);
    return rc;
}

RECT CControlUI::GetClientPos() const
{
    return m_rcItem;
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc, bool invalidate)
{
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;

    RECT invalidateRc = m_rcItem;
    if (::IsRectEmpty(&invalidateRc))
        invalidateRc = rc;
    m_rcItem = rc;
    if (m_pManager == nullptr)
        return;

    if (!m_bInSizeHandlers) {
        m_bInSizeHandlers = true;
        SizeHandlers.Invoke(this);
        m_bInSizeHandlers = false;
    }
    m_bUpdateNeeded = false;

    if (invalidate && IsVisible()) {
        ::UnionRect(&invalidateRc, &invalidateRc, &m_rcItem);
        for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
            if (!parent->IsVisible())
                return;
            RECT clipped = {};
            if (!::IntersectRect(&clipped, &invalidateRc, &parent->GetPos()))
                return;
            invalidateRc = clipped;
        }
        m_pManager->Invalidate(invalidateRc);
    }
}

void CControlUI::Move(SIZE offset, bool /*invalidate*/)
{
    m_cXY.cx += offset.cx;
    m_cXY.cy += offset.cy;
    NeedParentUpdate();
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetLayoutWidth() const
{
    return m_bFloat ? GetWidth() : GetFixedWidth();
}

int CControlUI::GetLayoutHeight() const
{
    return m_bFloat ? GetHeight() : GetFixedHeight();
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return ScaleRectValue(m_rcPadding);
}

void CControlUI::SetPadding(RECT padding)
{
    if (::EqualRect(&m_rcPadding, &padding))
        return;
    m_rcPadding = padding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return ScaleSizeValue(m_cXY);
}

void CControlUI::SetFixedXY(SIZE xy)
{
    if (m_cXY.cx == xy.cx && m_cXY.cy == xy.cy)
        return;
    m_cXY = xy;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedSize() const
{
    return ScaleSizeValue(m_cxyFixed);
}

int CControlUI::GetFixedWidth() const
{
    return ScaleValue(m_cxyFixed.cx);
}

void CControlUI::SetFixedWidth(int cx)
{
    // An unchanged size asks for no layout: a control that sizes itself while it paints would
    // otherwise lay the window out again after every paint.
    if (cx < 0 || m_cxyFixed.cx == cx)
        return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return ScaleValue(m_cxyFixed.cy);
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0 || m_cxyFixed.cy == cy)
        return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}

int CControlUI::GetMinWidth() const
{
    return ScaleValue(m_cxyMin.cx);
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0 || m_cxyMin.cx == cx)
        return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return ScaleValue(m_cxyMax.cx);
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0 || m_cxyMax.cx == cx)
        return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}

int CControlUI::GetMinHeight() const
{
    return ScaleValue(m_cxyMin.cy);
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0 || m_cxyMin.cy == cy)
        return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return ScaleValue(m_cxyMax.cy);
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0 || m_cxyMax.cy == cy)
        return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}

void CControlUI::GetFloatPercent(double& left, double& top, double& right, double& bottom) const
{
    left = m_floatPercent[0];
    top = m_floatPercent[1];
    right = m_floatPercent[2];
    bottom = m_floatPercent[3];
}

void CControlUI::SetFloatPercent(double left, double top, double right, double bottom)
{
    if (m_floatPercent[0] == left && m_floatPercent[1] == top && m_floatPercent[2] == right &&
        m_floatPercent[3] == bottom)
        return;
    m_floatPercent[0] = left;
    m_floatPercent[1] = top;
    m_floatPercent[2] = right;
    m_floatPercent[3] = bottom;
    NeedParentUpdate();
}

void CControlUI::SetFloatAlign(UINT align)
{
    if (m_uFloatAlign == align)
        return;
    m_uFloatAlign = align;
    NeedParentUpdate();
}

UINT CControlUI::GetFloatAlign() const
{
    return m_uFloatAlign;
}

// --- tooltip, cursor, shortcut, user data ---

CUIString CControlUI::GetToolTip() const
{
    if (m_bResourceText)
        return CUIResourceTable::Instance()->GetText(m_sToolTip, nullptr);
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR text)
{
    m_sToolTip = text;
    m_sToolTip.Replace(L"<n>", L"\r\n");
}

void CControlUI::SetToolTipWidth(int width)
{
    m_nTooltipWidth = width;
}

int CControlUI::GetToolTipWidth() const
{
    return ScaleValue(m_nTooltipWidth);
}

WORD CControlUI::GetCursor() const
{
    return m_wCursor;
}

CUIString CControlUI::GetCursorName() const
{
    for (const CursorName& c : kCursors) {
        if (c.id == m_wCursor)
            return CUIString(c.name);
    }
    return CUIString();
}

void CControlUI::SetCursor(WORD cursor)
{
    m_wCursor = cursor;
    Invalidate();
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool used)
{
    m_bMenuUsed = used;
}

const CUIString& CControlUI::GetUserData() const
{
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR text)
{
    m_sUserData = text;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR tag)
{
    m_pTag = tag;
}

// --- state ---

bool CControlUI::IsVisibleOwn() const
{
    return m_bVisible;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible)
        return;
    const bool wasVisible = IsVisible();
    m_bVisible = visible;
    m_bFocused = false;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
    if (IsVisible() != wasVisible)
        NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible)
{
    m_bInternVisible = visible;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool enable)
{
    if (m_bEnabled == enable)
        return;
    m_bEnabled = enable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enable)
{
    m_bMouseEnabled = enable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enable)
{
    m_bKeyboardEnabled = enable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != nullptr)
        m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool isFloat)
{
    if (m_bFloat == isFloat)
        return;
    m_bFloat = isFloat;
    NeedParentUpdate();
}

// --- tree and events ---

CControlUI* CControlUI::FindControl(FindControlProc proc, LPVOID data, UINT flags)
{
    if ((flags & FindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & FindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((flags & FindHitTest) != 0) {
        if (!m_bMouseEnabled || data == nullptr)
            return nullptr;
        if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(data)))
            return nullptr;
    }
    return proc(this, data);
}

void CControlUI::Init()
{
    DoInit();
    InitHandlers.Invoke(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(UIControlEvent& event)
{
    if (EventHandlers.Invoke(&event))
        DoEvent(event);
}

void CControlUI::DoEvent(UIControlEvent& event)
{
    switch (event.type) {
    case EventSetCursor: {
        const WORD id = m_wCursor != 0 ? m_wCursor : 32512;
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
        return;
    }
    case EventSetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventKillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventTimer:
        if (m_pManager != nullptr)
            m_pManager->RaiseNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case EventContextMenu:
        if (IsContextMenuUsed()) {
            if (m_pManager != nullptr)
                m_pManager->RaiseNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != nullptr)
        m_pParent->DoEvent(event);
}

SIZE CControlUI::EstimateSize(SIZE /*available*/)
{
    return ScaleSizeValue(m_cxyFixed);
}

// --- attributes ---

void CControlUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr)
        return;
    if (value == nullptr)
        value = L"";

    if (Is(name, L"style") && m_pManager != nullptr) {
        LPCWSTR style = m_pManager->GetStyle(value);
        if (style != nullptr) {
            ApplyAttributeList(style);
            return;
        }
    }
    if (Is(name, L"innerstyle")) {
        ApplyAttributeList(value);
    } else if (Is(name, L"pos")) {
        const RECT rc = ParseRect(value);
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(std::abs(rc.right - rc.left));
        SetFixedHeight(std::abs(rc.bottom - rc.top));
    } else if (Is(name, L"float")) {
        if (std::wcschr(value, L',') == nullptr) {
            SetFloat(IsTrue(value));
        } else {
            double percent[4] = {0, 0, 0, 0};
            ParseDoubles(value, percent);
            SetFloatPercent(percent[0], percent[1], percent[2], percent[3]);
            SetFloat(true);
        }
    } else if (Is(name, L"floatalign")) {
        SetFloatAlign(ParseFloatAlign(value, GetFloatAlign()));
    } else if (Is(name, L"padding")) {
        SetPadding(ParseRect(value));
    } else if (Is(name, L"gradient")) {
        SetGradient(value);
    } else if (Is(name, L"bkcolor") || Is(name, L"bkcolor1")) {
        SetBkColor(ParseColor(value));
    } else if (Is(name, L"bkcolor2")) {
        SetBkColor2(ParseColor(value));
    } else if (Is(name, L"bkcolor3")) {
        SetBkColor3(ParseColor(value));
    } else if (Is(name, L"forecolor")) {
        SetForeColor(ParseColor(value));
    } else if (Is(name, L"bordercolor")) {
        SetBorderColor(ParseColorNoBlanks(value));
    } else if (Is(name, L"focusbordercolor")) {
        SetFocusBorderColor(ParseColorNoBlanks(value));
    } else if (Is(name, L"colorhsl")) {
        SetColorHSL(IsTrue(value));
    } else if (Is(name, L"bordersize")) {
        if (std::wcschr(value, L',') == nullptr) {
            SetBorderSize(ParseInt(value));
            SetBorderRectSize(RECT{0, 0, 0, 0});
        } else {
            SetBorderRectSize(ParseRect(value));
        }
    } else if (Is(name, L"leftbordersize")) {
        SetLeftBorderSize(ParseInt(value));
    } else if (Is(name, L"topbordersize")) {
        SetTopBorderSize(ParseInt(value));
    } else if (Is(name, L"rightbordersize")) {
        SetRightBorderSize(ParseInt(value));
    } else if (Is(name, L"bottombordersize")) {
        SetBottomBorderSize(ParseInt(value));
    } else if (Is(name, L"borderstyle")) {
        SetBorderStyle(ParseInt(value));
    } else if (Is(name, L"borderround")) {
        SetBorderRound(attr::ParseSize(value));
    } else if (Is(name, L"bkimage")) {
        SetBkImage(value);
    } else if (Is(name, L"foreimage")) {
        SetForeImage(value);
    } else if (Is(name, L"width")) {
        SetFixedWidth(ParseInt(value));
    } else if (Is(name, L"height")) {
        SetFixedHeight(ParseInt(value));
    } else if (Is(name, L"minwidth")) {
        SetMinWidth(ParseInt(value));
    } else if (Is(name, L"minheight")) {
        SetMinHeight(ParseInt(value));
    } else if (Is(name, L"maxwidth")) {
        SetMaxWidth(ParseInt(value));
    } else if (Is(name, L"maxheight")) {
        SetMaxHeight(ParseInt(value));
    } else if (Is(name, L"name")) {
        SetName(value);
    } else if (Is(name, L"drag")) {
        SetDragEnabled(IsTrue(value));
    } else if (Is(name, L"drop")) {
        SetDropEnabled(IsTrue(value));
    } else if (Is(name, L"resourcetext")) {
        SetResourceText(IsTrue(value));
    } else if (Is(name, L"richevent")) {
        SetRichEvent(IsTrue(value));
    } else if (Is(name, L"autotextsizeenable")) {
        m_bAutoTextSize = IsTrue(value);
    } else if (Is(name, L"text")) {
        SetText(value);
    } else if (Is(name, L"tooltip")) {
        SetToolTip(value);
    } else if (Is(name, L"userdata")) {
        SetUserData(value);
    } else if (Is(name, L"enabled")) {
        SetEnabled(IsTrue(value));
    } else if (Is(name, L"mouse")) {
        SetMouseEnabled(IsTrue(value));
    } else if (Is(name, L"keyboard")) {
        SetKeyboardEnabled(IsTrue(value));
    } else if (Is(name, L"visible")) {
        SetVisible(IsTrue(value));
    } else if (Is(name, L"shortcut")) {
        SetShortcut(value[0]);
    } else if (Is(name, L"menu")) {
        SetContextMenuUsed(IsTrue(value));
    } else if (Is(name, L"cursor")) {
        for (const CursorName& c : kCursors) {
            if (_wcsicmp(value, c.name) == 0) {
                SetCursor(c.id);
                break;
            }
        }
    } else if (Is(name, L"virtualwnd")) {
        SetVirtualWnd(value);
    } else {
        AddCustomAttribute(name, value);
    }
}

void CControlUI::ApplyAttributeList(LPCWSTR list)
{
    if (list == nullptr || g_styleDepth >= kMaxStyleDepth)
        return;
    const StyleDepthGuard depth;

    if (m_pManager != nullptr) {
        LPCWSTR style = m_pManager->GetStyle(list);
        if (style != nullptr) {
            ApplyAttributeList(style);
            return;
        }
    }

    CUIString copy(list);
    copy.Replace(L"&quot;", L"\"");
    LPCWSTR p = copy.GetData();
    CUIString name;
    CUIString value;
    while (*p != L'\0') {
        // Names and values are taken whole: appending one character at a time made a long
        // value quadratic.
        LPCWSTR start = p;
        while (*p != L'\0' && *p != L'=')
            p = ::CharNextW(p);
        name.Assign(start, static_cast<int>(p - start));
        if (*p != L'=')
            return;
        p = ::CharNextW(p);
        if (*p != L'"')
            return;
        p = ::CharNextW(p);
        start = p;
        while (*p != L'\0' && *p != L'"')
            p = ::CharNextW(p);
        value.Assign(start, static_cast<int>(p - start));
        if (*p != L'"')
            return;
        SetAttribute(name, value);
        p = ::CharNextW(p);
        if (*p == L' ') {
            p = ::CharNextW(p);
            continue;
        }
        // One separator character, then a comma; the terminator is never stepped over.
        if (*p == L'\0')
            return;
        p = ::CharNextW(p);
        if (*p != L',')
            return;
        p = ::CharNextW(p);
    }
}

// --- custom attributes ---

void CControlUI::AddCustomAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr || name[0] == L'\0' || value == nullptr || value[0] == L'\0')
        return;
    if (m_mCustomAttrs.Find(name, false) != nullptr)
        return;
    auto* copy = new CUIString(value);
    if (!m_mCustomAttrs.Insert(name, copy))
        delete copy;
}

LPCWSTR CControlUI::GetCustomAttribute(LPCWSTR name) const
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    auto* value = static_cast<CUIString*>(m_mCustomAttrs.Find(name));
    return value != nullptr ? value->GetData() : nullptr;
}

bool CControlUI::RemoveCustomAttribute(LPCWSTR name)
{
    if (name == nullptr || name[0] == L'\0')
        return false;
    auto* value = static_cast<CUIString*>(m_mCustomAttrs.Find(name, false));
    if (value == nullptr)
        return false;
    delete value;
    return m_mCustomAttrs.Remove(name);
}

void CControlUI::RemoveAllCustomAttributes()
{
    for (int i = 0; i < m_mCustomAttrs.GetSize(); ++i) {
        LPCWSTR key = m_mCustomAttrs.GetAt(i);
        if (key != nullptr)
            delete static_cast<CUIString*>(m_mCustomAttrs.Find(key, false));
    }
    m_mCustomAttrs.Resize(CUIStringMap::kDefaultBuckets);
}

// --- virtual window, timers ---

CUIString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty())
        return m_sVirtualWnd;
    if (m_pParent != nullptr)
        return m_pParent->GetVirtualWnd();
    return CUIString();
}

CUIString CControlUI::GetOwnVirtualWnd() const
{
    return m_sVirtualWnd;
}

void CControlUI::SetVirtualWnd(LPCWSTR name)
{
    m_sVirtualWnd = name;
    if (m_pManager != nullptr)
        m_pManager->SetFillVirtualWindowName(true);
}

bool CControlUI::SetTimer(UINT id, UINT elapse)
{
    if (m_pManager == nullptr)
        return false;
    return m_pManager->SetTimer(this, id, elapse);
}

void CControlUI::KillTimer(UINT id)
{
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, id);
}

// --- invalidation and layout requests ---

void CControlUI::Invalidate()
{
    if (!IsVisible())
        return;
    RECT rc = m_rcItem;
    for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
        RECT clipped = {};
        if (!::IntersectRect(&clipped, &rc, &parent->GetPos()))
            return;
        rc = clipped;
    }
    if (m_pManager != nullptr)
        m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible())
        return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr)
        m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager != nullptr)
        m_pManager->NeedUpdate();
}

// --- colours, images, border ---

DWORD CControlUI::GetAdjustColor(DWORD color) const
{
    if (!m_bColorHSL)
        return color;
    short h = 0;
    short s = 0;
    short l = 0;
    CPaintManagerUI::GetHSL(h, s, l);
    return CUIRender::AdjustColor(color, h, s, l);
}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR descriptor, LPCWSTR modify)
{
    return CUIRender::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, descriptor, modify,
                                      m_hImageInstance);
}

void CControlUI::SetBkColor(DWORD color)
{
    if (m_dwBackColor == color)
        return;
    m_dwBackColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD color)
{
    if (m_dwBackColor2 == color)
        return;
    m_dwBackColor2 = color;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD color)
{
    if (m_dwBackColor3 == color)
        return;
    m_dwBackColor3 = color;
    Invalidate();
}

void CControlUI::SetForeColor(DWORD color)
{
    if (m_dwForeColor == color)
        return;
    m_dwForeColor = color;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color)
{
    if (m_dwBorderColor == color)
        return;
    m_dwBorderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color)
{
    if (m_dwFocusBorderColor == color)
        return;
    m_dwFocusBorderColor = color;
    Invalidate();
}

void CControlUI::SetBkImage(LPCWSTR descriptor)
{
    if (m_sBkImage == (descriptor != nullptr ? descriptor : L""))
        return;
    m_sBkImage = descriptor;
    Invalidate();
}

void CControlUI::SetForeImage(LPCWSTR descriptor)
{
    if (m_sForeImage == (descriptor != nullptr ? descriptor : L""))
        return;
    m_sForeImage = descriptor;
    Invalidate();
}

void CControlUI::SetGradient(LPCWSTR gradient)
{
    if (m_sGradient == (gradient != nullptr ? gradient : L""))
        return;
    m_sGradient = gradient;
    Invalidate();
}

void CControlUI::SetColorHSL(bool hsl)
{
    if (m_bColorHSL == hsl)
        return;
    m_bColorHSL = hsl;
    Invalidate();
}

int CControlUI::GetBorderSize() const
{
    return ScaleValue(m_nBorderSize);
}

void CControlUI::SetBorderSize(int size)
{
    if (m_nBorderSize == size)
        return;
    m_nBorderSize = size;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return ScaleSizeValue(m_cxyBorderRound);
}

void CControlUI::SetBorderRound(SIZE round)
{
    m_cxyBorderRound = round;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style)
{
    m_nBorderStyle = style;
    Invalidate();
}

RECT CControlUI::GetBorderRectSize() const
{
    return ScaleRectValue(m_rcBorderSize);
}

void CControlUI::SetBorderRectSize(RECT sides)
{
    m_rcBorderSize = sides;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const
{
    return GetBorderRectSize().left;
}

void CControlUI::SetLeftBorderSize(int size)
{
    m_rcBorderSize.left = size;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const
{
    return GetBorderRectSize().top;
}

void CControlUI::SetTopBorderSize(int size)
{
    m_rcBorderSize.top = size;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const
{
    return GetBorderRectSize().right;
}

void CControlUI::SetRightBorderSize(int size)
{
    m_rcBorderSize.right = size;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const
{
    return GetBorderRectSize().bottom;
}

void CControlUI::SetBottomBorderSize(int size)
{
    m_rcBorderSize.bottom = size;
    Invalidate();
}

// --- painting by layer ---

bool CControlUI::Paint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    if (stopControl == this)
        return false;
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem))
        return true;
    return DoPaint(hDC, m_rcPaint, stopControl);
}

bool CControlUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* /*stopControl*/)
{
    const SIZE round = GetBorderRound();
    CUIClipGuard clip;
    CUIClipGuard::GenerateRoundClip(hDC, rcPaint, m_rcItem, round.cx, round.cy, clip);
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintForeColor(hDC);
    PaintForeImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
    return true;
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0)
        return;
    const bool vertical = _wcsicmp(m_sGradient, L"hor") != 0;
    if (m_dwBackColor2 == 0) {
        // An opaque fill needs only the damaged part; a translucent one covers the whole item
        // so that blending over it stays consistent between partial repaints.
        const DWORD color = GetAdjustColor(m_dwBackColor);
        CUIRender::DrawColor(hDC, m_dwBackColor >= 0xFF000000 ? m_rcPaint : m_rcItem, color);
        return;
    }
    if (m_dwBackColor3 != 0) {
        // Split at the vertical middle whatever the direction.
        RECT upper = m_rcItem;
        upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
        RECT lower = m_rcItem;
        lower.top = upper.bottom;
        CUIRender::DrawGradient(hDC, upper, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2),
                                vertical, 8);
        CUIRender::DrawGradient(hDC, lower, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3),
                                vertical, 8);
        return;
    }
    CUIRender::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2),
                            vertical, 16);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (!m_sBkImage.IsEmpty())
        DrawImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC /*hDC*/) {}

void CControlUI::PaintForeColor(HDC hDC)
{
    CUIRender::DrawColor(hDC, m_rcItem, GetAdjustColor(m_dwForeColor));
}

void CControlUI::PaintForeImage(HDC hDC)
{
    if (!m_sForeImage.IsEmpty())
        DrawImage(hDC, m_sForeImage);
}

void CControlUI::PaintText(HDC /*hDC*/) {}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0)
        return;
    const int size = GetBorderSize();
    const SIZE round = GetBorderRound();
    const RECT sides = GetBorderRectSize();
    const bool focusColor = IsFocused() && m_dwFocusBorderColor != 0;
    const DWORD color = GetAdjustColor(focusColor ? m_dwFocusBorderColor : m_dwBorderColor);

    if (size > 0 && (round.cx > 0 || round.cy > 0)) {
        CUIRender::DrawRoundRect(hDC, m_rcItem, size, round.cx, round.cy, color, m_nBorderStyle);
        return;
    }
    if (focusColor && size > 0) {
        CUIRender::DrawRect(hDC, m_rcItem, size, color, m_nBorderStyle);
        return;
    }
    if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        const DWORD sideColor = GetAdjustColor(m_dwBorderColor);
        const RECT& rc = m_rcItem;
        if (sides.left > 0)
            CUIRender::DrawLine(hDC, RECT{rc.left, rc.top, rc.left, rc.bottom}, sides.left, sideColor,
                                m_nBorderStyle);
        if (sides.top > 0)
            CUIRender::DrawLine(hDC, RECT{rc.left, rc.top, rc.right, rc.top}, sides.top, sideColor, m_nBorderStyle);
        if (sides.right > 0)
            CUIRender::DrawLine(hDC, RECT{rc.right - 1, rc.top, rc.right - 1, rc.bottom}, sides.right,
                                sideColor, m_nBorderStyle);
        if (sides.bottom > 0)
            CUIRender::DrawLine(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom - 1}, sides.bottom,
                                sideColor, m_nBorderStyle);
        return;
    }
    if (size > 0)
        CUIRender::DrawRect(hDC, m_rcItem, size, color, m_nBorderStyle);
}

void CControlUI::DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) {}

SIZE CControlUI::MeasureText(LPCWSTR text, int font)
{
    if (m_pManager == nullptr)
        return SIZE{0, 0};
    const SIZE size = CUIRender::GetTextSize(m_pManager->GetWindowDC(), m_pManager, text, font);
    const CDpiHelper* dpi = m_pManager->GetDpiHelper();
    return SIZE{dpi->Unscale(size.cx), dpi->Unscale(size.cy)};
}

// --- scaling ---

int CControlUI::ScaleValue(int value) const
{
    if (m_pManager == nullptr)
        return value;
    return m_pManager->GetDpiHelper()->Scale(value);
}

SIZE CControlUI::ScaleSizeValue(SIZE sz) const
{
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->ScaleSize(sz);
    return sz;
}

RECT CControlUI::ScaleRectValue(RECT rc) const
{
    if (m_pManager != nullptr)
        m_pManager->GetDpiHelper()->ScaleRect(rc);
    return rc;
}

} // namespace ZvUI
