#include "ZVMsgBox.h"

#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

namespace {

constexpr DWORD kDimColor = 0x33000000;

void SetCaption(const ZvControlPtr<CButtonUI>& button, LPCWSTR caption)
{
    if (!button)
        return;
    if (caption == nullptr || caption[0] == L'\0')
        button->SetVisible(false);
    else
        button->SetText(caption);
}

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
    delete this;
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
    m_title = FindZvControl<CTextUI>(m_pm, L"zv_txt_title");
    m_message = FindZvControl<CTextUI>(m_pm, L"zv_txt_msg");
    m_icon = FindZvControl<CLabelUI>(m_pm, L"zv_lab_ico");
    m_closeButton = FindZvControl<CButtonUI>(m_pm, L"closebtn");
    m_firstButton = FindZvControl<CButtonUI>(m_pm, L"okBtn");
    m_secondButton = FindZvControl<CButtonUI>(m_pm, L"cancelBtn");
}

void CZVMsgBox::Fill(LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption, LPCWSTR secondCaption, LPCWSTR icon,
                     bool closeButton)
{
    SetCaption(m_firstButton, firstCaption);
    if (m_closeButton)
        m_closeButton->SetVisible(closeButton);
    SetCaption(m_secondButton, secondCaption);
    if (m_title)
        m_title->SetText(title);
    if (m_message)
        m_message->SetText(message);
    if (icon != nullptr && m_icon)
        m_icon->SetBkImage(icon);
}

void CZVMsgBox::OnClick(UINotifyMessage& msg)
{
    if (msg.sender == nullptr)
        return;
    if (msg.sender->GetName() == L"closebtn") {
        Close(m_result);
    } else if (msg.sender == m_firstButton.get()) {
        m_result = 1;
        Close(1);
    } else if (msg.sender == m_secondButton.get()) {
        m_result = 2;
        Close(2);
    }
}

int ShowZVMsgBox(HWND parent, LPCWSTR caption, LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption,
                 LPCWSTR secondCaption, LPCWSTR icon, DWORD style, DWORD exStyle, bool closeButton)
{
    auto* box = new CZVMsgBox();
    if (box->Create(parent, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT) ==
        nullptr) {
        delete box; // no window, so no final message to free it
        return 0;
    }
    box->Fill(title, message, firstCaption, secondCaption, icon, closeButton);
    box->CenterOnOwner(RECT{}, POINT{});
    box->SetIcon(kZvIconResource);
    // The box is gone when the modal run ends: only its result is left.
    return static_cast<int>(box->RunModal());
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
