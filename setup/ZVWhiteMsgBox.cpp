#include "ZVWhiteMsgBox.h"

#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kFrameImage[] = L"file='zv_appended\\shadow\\shadows_white.png' corner='16,16,16,16'";
// The frame image's width on every side, at 96 DPI.
constexpr int kFrame = 16;

} // namespace

CZVWhiteMsgBox::CZVWhiteMsgBox()
{
    m_skinFile = L"ZVWhiteMsgBox.xml";
    m_className = L"zvwhitemsgbox";
}

void CZVWhiteMsgBox::OnFinalMessage(HWND window)
{
    WindowImplBase::OnFinalMessage(window);
    DeleteWhenUnwound(this);
}

void CZVWhiteMsgBox::InitWindow()
{
    m_pm.SetLayered(true);
    m_center = FindZvControl<CVerticalLayoutUI>(m_pm, L"zv_center_ver");
    m_controls.Bind(m_pm);

    // The frame wraps the skin's root: the skin's content sits 16 pixels in on every side.
    auto* frame = new CContainerUI();
    frame->SetBkImage(kFrameImage);
    frame->SetInset(kFrame, kFrame, kFrame, kFrame);
    // The manager takes ownership of frame, which takes the old root as its child.
    m_pm.WrapRoot(frame);

    CDpiHelper& dpi = *m_pm.GetDpiHelper();
    const SIZE size = m_pm.GetInitialSize();
    m_pm.SetInitialSize(size.cx + dpi.Scale(2 * kFrame), size.cy + dpi.Scale(2 * kFrame));
    // The caption strip also covers the frame above the content.
    RECT caption = m_pm.GetCaptionRect();
    dpi.UnscaleRect(caption);
    caption.bottom += kFrame;
    m_pm.SetCaptionRect(caption);
}

void CZVWhiteMsgBox::Fill(LPCWSTR title, LPCWSTR message, LPCWSTR okCaption, LPCWSTR cancelCaption, LPCWSTR icon,
                          bool closeButton)
{
    m_controls.Fill(title, message, okCaption, cancelCaption, icon, closeButton);
}

void CZVWhiteMsgBox::OnCaptionButton(UINotifyMessage& msg)
{
    const int code = m_controls.ClickCode(msg.sender, m_result);
    if (code < 0)
        return;
    m_result = code;
    Close(code);
}

LRESULT CZVWhiteMsgBox::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (wParam != kFitOwnerTimer || owner == nullptr)
        return 0;
    ::GetWindowRect(owner, &m_ownerRect);
    const int width = m_ownerRect.right - m_ownerRect.left;
    const int height = m_ownerRect.bottom - m_ownerRect.top;
    ::SetWindowPos(m_hWnd, nullptr, m_ownerRect.left, m_ownerRect.top, width, height, SWP_NOACTIVATE);
    if (!m_center)
        return 0;
    // The content is centred in the owner's area by its padding, stored at 96 DPI.
    const RECT pos = m_center->GetPos();
    CDpiHelper& dpi = *m_pm.GetDpiHelper();
    const int left = (width - (pos.right - pos.left)) >> 1;
    const int top = (height - (pos.bottom - pos.top)) >> 1;
    m_center->SetPadding(RECT{dpi.Unscale(left), dpi.Unscale(top), 0, 0});
    return 0;
}

int ShowZVWhiteMsgBox(HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR okCaption,
                      LPCWSTR cancelCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton,
                      int userValue)
{
    auto* box = new CZVWhiteMsgBox();
    box->SetUserValue(userValue);
    return RunZVMsgBox(box, parent, caption, title, message, okCaption, cancelCaption, icon, style, exStyle,
                       closeButton);
}

CZVWhiteMsgBox* CreateZVWhiteMsgBox(HWND parent, ZvBase* nextSink, bool modal, LPCWSTR caption,
                                    const ZVWhiteMsgBoxArgs& args)
{
    return CreateZVWhiteMsgBox(parent, nextSink, modal, caption, args, nullptr);
}

CZVWhiteMsgBox* CreateZVWhiteMsgBox(HWND parent, ZvBase* nextSink, bool modal, LPCWSTR caption,
                                    const ZVWhiteMsgBoxArgs& args,
                                    const std::function<void(CZVWhiteMsgBox*)>& holder)
{
    return ShowZVWindow<CZVWhiteMsgBox>(parent, nextSink, modal, caption, args.onDestroy, args.aux, args.style,
                                        args.exStyle, args.showFlag, args.userValue, holder);
}
