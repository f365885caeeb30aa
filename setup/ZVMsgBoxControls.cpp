#include "ZVMsgBoxControls.h"

using namespace ZvUI;

namespace {

void SetCaption(const ZvControlPtr<CButtonUI>& button, LPCWSTR caption)
{
    if (!button)
        return;
    if (caption == nullptr || caption[0] == L'\0')
        button->SetVisible(false);
    else
        button->SetText(caption);
}

} // namespace

void ZVMsgBoxControls::Bind(CPaintManagerUI& pm)
{
    m_title = FindZvControl<CTextUI>(pm, L"zv_txt_title");
    m_message = FindZvControl<CTextUI>(pm, L"zv_txt_msg");
    m_icon = FindZvControl<CLabelUI>(pm, L"zv_lab_ico");
    m_closeButton = FindZvControl<CButtonUI>(pm, L"closebtn");
    m_firstButton = FindZvControl<CButtonUI>(pm, L"okBtn");
    m_secondButton = FindZvControl<CButtonUI>(pm, L"cancelBtn");
}

void ZVMsgBoxControls::Fill(LPCWSTR title, LPCWSTR message, LPCWSTR firstCaption, LPCWSTR secondCaption,
                            LPCWSTR icon, bool closeButton) const
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

int ZVMsgBoxControls::ClickCode(CControlUI* sender, int current) const
{
    if (sender == nullptr)
        return -1;
    if (sender->GetName() == L"closebtn")
        return current;
    if (sender == m_firstButton.get())
        return 1;
    if (sender == m_secondButton.get())
        return 2;
    return -1;
}
