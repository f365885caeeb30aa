// IP address editor: quarters chosen by click, filled by digits, stepped by arrows and wheel.
#include "edit/IPAddressExUI.h"

#include <algorithm>
#include <cstdio>

#include "manager/PaintManagerUI.h"

namespace ZvUI {

namespace {

int ClampByte(int value)
{
    return std::min(255, std::max(0, value));
}

} // namespace

CIPAddressExUI::CIPAddressExUI()
{
    // Were the edit's native window ever shown, it must not take typing.
    SetReadOnly(true);
    UpdateText();
}

LPCWSTR CIPAddressExUI::GetClass() const
{
    return L"IPAddressExUI";
}

LPVOID CIPAddressExUI::GetInterface(LPCWSTR name)
{
    if (wcscmp(name, L"IPAddress") == 0)
        return static_cast<CIPAddressExUI*>(this);
    return CEditUI::GetInterface(name);
}

UINT CIPAddressExUI::GetControlFlags() const
{
    if (!IsEnabled())
        return CControlUI::GetControlFlags();
    return ControlFlagTabStop | ControlFlagSetCursor;
}

CUIString CIPAddressExUI::GetIP() const
{
    CUIString text;
    text.Format(L"%d.%d.%d.%d", m_nIP[0], m_nIP[1], m_nIP[2], m_nIP[3]);
    return text;
}

void CIPAddressExUI::SetIP(LPCWSTR text)
{
    CUIString rest = text != nullptr ? text : L"";
    int values[4] = {0, 0, 0, 0};
    int pieces = 0;
    for (;;) {
        const int dot = rest.Find(L'.');
        const CUIString piece = dot < 0 ? rest : rest.Left(dot);
        if (pieces < 4)
            values[pieces] = _wtoi(piece);
        ++pieces;
        if (dot < 0)
            break;
        rest = rest.Mid(dot + 1);
    }
    if (pieces == 4) {
        // Unclamped values would be drawn and reported as impossible addresses.
        for (int i = 0; i < 4; ++i)
            m_nIP[i] = ClampByte(values[i]);
    }
    UpdateText();
}

void CIPAddressExUI::UpdateText()
{
    m_sText = GetIP();
    Invalidate();
}

void CIPAddressExUI::StepActive(int delta)
{
    // Keys and the wheel can arrive before any quarter was chosen.
    if (m_nActiveSection < 1 || m_nActiveSection > 4)
        return;
    int& number = m_nIP[m_nActiveSection - 1];
    number = ClampByte(number + delta);
    UpdateText();
}

void CIPAddressExUI::TypeDigit(wchar_t digit)
{
    m_chNum = digit;
    m_strNum += digit;
    m_nIP[m_nActiveSection - 1] = ClampByte(_wtoi(m_strNum));
    UpdateText();
    if (m_strNum.GetLength() >= 3 && m_nActiveSection < 4) {
        ++m_nActiveSection;
        m_strNum.Empty();
    }
}

void CIPAddressExUI::DoEvent(UIControlEvent& event)
{
    if (IsEnabled()) {
        switch (event.type) {
        case EventKillFocus:
            m_nActiveSection = 0;
            Invalidate();
            break;
        case EventButtonDown:
        case EventDoubleClick:
        case EventRButtonDown: {
            m_strNum.Empty();
            const int quarter = (m_rcItem.right - m_rcItem.left) / 4;
            const int x = event.mousePoint.x - m_rcItem.left;
            m_nActiveSection = x <= quarter ? 1 : x <= 2 * quarter ? 2 : x <= 3 * quarter ? 3 : 4;
            UpdateText();
            break;
        }
        case EventScrollWheel:
            // The manager packs MAKEWPARAM(direction, delta): the low word says which way.
            StepActive(LOWORD(event.wParam) == SB_LINEUP ? 1 : -1);
            break;
        case EventKeyDown: {
            const wchar_t key = event.keyChar;
            if (key == VK_DELETE || key == VK_BACK) {
                if (m_nActiveSection >= 1) {
                    m_nIP[m_nActiveSection - 1] = 0;
                    m_strNum.Empty();
                    UpdateText();
                }
            } else if (key >= L'0' && key <= L'9') {
                if (m_nActiveSection >= 1)
                    TypeDigit(key);
            } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
                if (m_nActiveSection >= 1)
                    TypeDigit(static_cast<wchar_t>(L'0' + (key - VK_NUMPAD0)));
            } else if (key == VK_UP) {
                StepActive(1);
            } else if (key == VK_DOWN) {
                StepActive(-1);
            } else if (key == VK_LEFT) {
                if (m_nActiveSection > 1) {
                    m_strNum.Empty();
                    --m_nActiveSection;
                    Invalidate();
                }
            } else if (key == VK_RIGHT || key == VK_OEM_PERIOD || key == VK_DECIMAL) {
                if (m_nActiveSection >= 1 && m_nActiveSection < 4) {
                    m_strNum.Empty();
                    ++m_nActiveSection;
                    Invalidate();
                }
            }
            break;
        }
        default:
            break;
        }
    }
    // The label's handling, never the edit's: the native edit window must not open.
    CLabelUI::DoEvent(event);
}

void CIPAddressExUI::PaintText(HDC hDC)
{
    TakeDefaultColors();
    if (m_sText.IsEmpty() || m_pManager == nullptr)
        return;
    const RECT rc = GetTextRect();
    const DWORD argb = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    const COLORREF color = textinput::ToColorRef(argb);
    HGDIOBJ oldFont = ::SelectObject(hDC, m_pManager->GetFont(m_iFont));
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(hDC, color);
    const COLORREF oldBk = ::GetBkColor(hDC);
    const int quarter = (rc.right - rc.left) / 4;

    for (int i = 1; i <= 3; ++i) {
        RECT dot = rc;
        dot.left = rc.left + quarter * i;
        ::DrawTextW(hDC, L".", 1, &dot, m_uTextStyle | DT_SINGLELINE | DT_NOPREFIX);
    }
    const bool any = m_nIP[0] != 0 || m_nIP[1] != 0 || m_nIP[2] != 0 || m_nIP[3] != 0 || m_nActiveSection != 0;
    if (any) {
        for (int i = 0; i < 4; ++i) {
            char number[8] = {};
            std::snprintf(number, sizeof(number), "%d", m_nIP[i]);
            RECT cell = rc;
            cell.left = rc.left + quarter / 2 + quarter * i;
            const bool active = IsEnabled() && m_nActiveSection == i + 1;
            if (active) {
                ::SetBkMode(hDC, OPAQUE);
                ::SetBkColor(hDC, RGB(0x33, 0x99, 0xFF));
                ::SetTextColor(hDC, RGB(0xFF, 0xFF, 0xFF));
            } else {
                ::SetBkMode(hDC, TRANSPARENT);
                ::SetTextColor(hDC, color);
            }
            ::DrawTextA(hDC, number, std::min(3, static_cast<int>(strlen(number))), &cell,
                        m_uTextStyle | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    ::SetBkColor(hDC, oldBk);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
    ::SelectObject(hDC, oldFont);
}

} // namespace ZvUI
