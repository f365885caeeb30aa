#include "ZVMsgBox.h"

#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

namespace {

constexpr DWORD kDimColor = 0x33000000;

// A floating layer over all of root, rounded like it, so the corners stay clean.
CControlUI* MakeDimLayer(CControlUI& root, CDpiHelper& dpi)
{
    auto* layer = new CControlUI();
    layer->SetFloat(true);
    layer->SetFloatPercent(0, 0, 1, 1);
    layer->SetBkColor(kDimColor);
    const SIZE round = root.GetBorderRound();
    layer->SetBorderRound(SIZE{dpi.Unscale(round.cx), dpi.Unscale(round.cy)});
    return layer;
}

} // namespace

CZVMsgBox::CZVMsgBox()
{
    m_skinFile = L"ZVMsgBox.xml";
    m_className = L"zvmsgbox";
}

void CZVMsgBox::OnFinalMessage(HWND window)
{
    WindowImplBase::OnFinalMessage(window);
    DeleteWhenUnwound(this);
}

void CZVMsgBox::InitWindow()
{
    m_pm.SetLayered(true);
    if (CShadowUI* shadow = m_pm.GetShadow()) {
        shadow->SetImage(L"zv_appended\\shadow\\shadow_black.png");
        shadow->SetCorner(38, 38, 38, 38);
        shadow->SetShadowEnabled(true);
        shadow->SetSize(16);
        shadow->Create(&m_pm);
    }
    m_controls.Bind(m_pm);
}

void CZVMsgBox::Fill(LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption, LPCWSTR secondCaption, LPCWSTR icon,
                     bool closeButton)
{
    m_controls.Fill(title, message, firstCaption, secondCaption, icon, closeButton);
}

void CZVMsgBox::OnClick(UINotifyMessage& msg)
{
    const int code = m_controls.ClickCode(msg.sender, m_result);
    if (code < 0)
        return;
    m_result = code;
    Close(code);
}

int ShowZVMsgBox(HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                 LPCWSTR secondCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton)
{
    return RunZVMsgBox(new CZVMsgBox(), parent, caption, title, message, firstCaption, secondCaption, icon, style,
                       exStyle, closeButton);
}

int ShowDimmedMsgBox(CPaintManagerUI& host, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                     LPCWSTR secondCaption)
{
    const HWND window = host.GetWindowHandle();
    CControlUI* root = host.GetContentRoot();
    auto* container = root ? static_cast<IContainerUI*>(root->GetInterface(L"IContainer")) : nullptr;
    CControlUI* layer = nullptr;
    if (container != nullptr) {
        layer = MakeDimLayer(*root, *host.GetDpiHelper());
        // The container takes ownership of layer; last, so it is drawn over everything.
        container->AddAt(layer, container->GetCount());
        host.Invalidate();
    }
    const int result = ShowZVMsgBox(window, kZvWindowCaption, title, message, firstCaption, secondCaption, nullptr,
                                    kZvWindowStyle, kZvWindowExStyle, true);
    // A host destroyed meanwhile took the layer with its controls.
    if (layer != nullptr && ::IsWindow(window))
        container->Remove(layer);
    return result;
}
