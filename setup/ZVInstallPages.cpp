#include "ZVInstallPages.h"

#include "InstallOptions.h"
#include "SetupUrls.h"
#include "ShellFunctions.h"
#include "ZVMsgBox.h"
#include "util/Shortcuts.h"
#include "util/StringUtil.h"
#include "util/ZVReg.h"

#include "layout/ContainerUI.h"
#include "utils/UIString.h"

using namespace ZvUI;

const wchar_t kZvProgressPrefix[] = L"正在安装，请不要关闭";

namespace {

constexpr wchar_t kProductName[] = L"Velmora";

bool IsExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

template <class T>
bool IsSender(const UINotifyMessage& msg, const ZvControlPtr<T>& control)
{
    return control && msg.sender == control.get();
}

} // namespace

// --- shared ---

void CZVInstallPage::OnEvent(int code, int argument, int extra)
{
    if (code == kZvEventRepost && GetNextSink() != nullptr)
        GetNextSink()->OnEvent(code, argument, extra);
}

void CZVInstallPage::FindCaptionButtons(LPCWSTR minName, LPCWSTR closeName)
{
    m_minButton = Find<CButtonUI>(minName);
    m_closeButton = Find<CButtonUI>(closeName);
}

bool CZVInstallPage::OnCaptionClick(const UINotifyMessage& msg, bool confirm)
{
    if (IsSender(msg, m_minButton)) {
        ::SendMessageW(GetFrameWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return true;
    }
    if (!IsSender(msg, m_closeButton))
        return false;
    if (!confirm)
        CloseFrame();
    else if (m_confirmClose)
        m_confirmClose();
    else
        ConfirmClose();
    return true;
}

void CZVInstallPage::ConfirmClose()
{
    // The frame, and this page with it, may be gone when the box returns: keep only locals.
    const HWND frame = GetFrameWindow();
    const int answer = ShowDimmedMsgBox(m_pm, kZvCloseTitle, kZvCloseMessage, L"确定", L"取消");
    if (answer == 1 && ::IsWindow(frame))
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
}

void CZVInstallPage::CloseFrame() const
{
    ::PostMessageW(GetFrameWindow(), WM_CLOSE, 0, 0);
}

// --- page 0: start ---

ZV_BEGIN_MESSAGE_TABLE(CZVInstallPage0, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnClick)
ZV_ON_NOTIFY(L"selectchanged", OnSelectChanged)
ZV_END_MESSAGE_TABLE()

void CZVInstallPage0::Init()
{
    FindCaptionButtons(L"minbtn", L"closebtn");
    m_installButton = Find<CButtonUI>(L"installBtn");
    m_agreement = Find<COptionUI>(L"protocalOpt");
    m_agreementLink = Find<CButtonUI>(L"zv_btn_protocal");
    m_customButton = Find<CButtonUI>(L"customBtn");
}

void CZVInstallPage0::OnClick(UINotifyMessage& msg)
{
    if (OnCaptionClick(msg, true))
        return;
    if (IsSender(msg, m_installButton))
        RaiseEvent(kZvEventShowPage, 2);
    else if (IsSender(msg, m_customButton))
        RaiseEvent(kZvEventShowPage, 1);
    else if (IsSender(msg, m_agreementLink))
        OpenWithShell(GetAgreementUrl());
}

void CZVInstallPage0::OnSelectChanged(UINotifyMessage& msg)
{
    if (!IsSender(msg, m_agreement) || GetNextSink() == nullptr)
        return;
    // No install without the agreement.
    const bool agreed = m_agreement->IsSelected();
    if (m_customButton)
        m_customButton->SetEnabled(agreed);
    if (m_installButton)
        m_installButton->SetEnabled(agreed);
}

// --- page 1: custom install ---

ZV_BEGIN_MESSAGE_TABLE(CZVInstallPage1, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnClick)
ZV_ON_NOTIFY(L"selectchanged", OnSelectChanged)
ZV_END_MESSAGE_TABLE()

CZVInstallPage1::CZVInstallPage1(CPaintManagerUI& pm)
    : CZVInstallPage(pm), m_pickFolder(BrowseForFolder)
{
}

void CZVInstallPage1::Init()
{
    m_backButton = Find<CButtonUI>(L"gobackbtn");
    FindCaptionButtons(L"minbtn1", L"closebtn1");
    m_installButton = Find<CButtonUI>(L"installBtn1");
    m_pathLabel = Find<CLabelUI>(L"pathLab");
    m_modifyButton = Find<CButtonUI>(L"modifyBtn");
    m_desktopShortcut = Find<COptionUI>(L"desktopShortCutOpt");
    m_taskbar = Find<COptionUI>(L"addtaskbarOpt");

    const CInstallOptions& options = CInstallOptions::Instance();
    if (m_pathLabel)
        m_pathLabel->SetText(options.GetInstallFolder().c_str());
    if (m_desktopShortcut)
        m_desktopShortcut->Selected(options.IsDesktopShortcut(), true);
    if (m_taskbar)
        m_taskbar->Selected(options.IsTaskbar(), true);
}

void CZVInstallPage1::OnClick(UINotifyMessage& msg)
{
    if (OnCaptionClick(msg, true))
        return;
    if (IsSender(msg, m_backButton))
        RaiseEvent(kZvEventShowPage, 0);
    else if (IsSender(msg, m_installButton))
        RaiseEvent(kZvEventShowPage, 2);
    else if (IsSender(msg, m_modifyButton))
        ChangeFolder();
}

void CZVInstallPage1::OnSelectChanged(UINotifyMessage& msg)
{
    // The full setup learns the shortcut choice from the options; the taskbar box is only shown
    // and its flag stays as it was.
    if (IsSender(msg, m_desktopShortcut))
        CInstallOptions::Instance().SetDesktopShortcut(m_desktopShortcut->IsSelected());
}

void CZVInstallPage1::ChangeFolder()
{
    CInstallOptions& options = CInstallOptions::Instance();
    const std::wstring chosen = m_pickFolder ? m_pickFolder(GetFrameWindow(), options.GetInstallFolder()) : L"";
    // The picker lists files too: a file is no install folder, so the folder stays as it was.
    if (chosen.empty() || IsExistingFile(chosen))
        return;
    // A drive root comes back as "D:\": no second separator before the product folder.
    const std::wstring folder = ZVCore::EndsWith(chosen, L"\\") ? chosen + kProductName
                                                                 : chosen + L"\\" + kProductName;
    options.SetInstallFolder(folder);
    if (m_pathLabel)
        m_pathLabel->SetText(folder.c_str());
}

// --- page 2: progress ---

ZV_BEGIN_MESSAGE_TABLE(CZVInstallPage2, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnClick)
ZV_END_MESSAGE_TABLE()

void CZVInstallPage2::Init()
{
    FindCaptionButtons(L"minbtn2", L"closebtn2");
    m_bar = Find<CProgressUI>(L"installPrg");
    m_label = Find<CLabelUI>(L"installproglab");
    if (m_bar)
        m_bar->SetValue(0);
}

void CZVInstallPage2::OnClick(UINotifyMessage& msg)
{
    OnCaptionClick(msg, true);
}

void CZVInstallPage2::SetProgress(double value)
{
    const int percent = static_cast<int>(value);
    if (m_label) {
        CUIString text;
        text.Format(L"%ls %d%%", kZvProgressPrefix, percent);
        m_label->SetText(text);
    }
    if (m_bar)
        m_bar->SetValue(percent);
}

// --- page 3: finish ---

ZV_BEGIN_MESSAGE_TABLE(CZVInstallPage3, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnClick)
ZV_END_MESSAGE_TABLE()

void CZVInstallPage3::Init()
{
    FindCaptionButtons(L"minbtn3", L"closebtn3");
    m_completeButton = Find<CButtonUI>(L"completeBtn");
}

void CZVInstallPage3::OnClick(UINotifyMessage& msg)
{
    // Finished: nothing left to interrupt, so no question.
    if (!OnCaptionClick(msg, false) && IsSender(msg, m_completeButton))
        CloseFrame();
}

bool CZVInstallPage3::WriteShortcuts()
{
    constexpr wchar_t kProductTitle[] = L"Tessaly";
    const std::wstring folder = CInstallOptions::Instance().ProductFolder();
    const std::wstring program = folder + L"\\ZVApp.exe";
    const std::wstring uninstaller = folder + L"\\ZVUnInstall.exe";
    const bool entry = ZVCore::WriteUninstallEntry(folder);
    CUIString description;
    description.Format(L"位置: %ls(%ls)", kProductTitle, folder.c_str());
    const bool links = ZVCore::CreateStartMenuShortcuts(program, uninstaller, folder, kProductTitle,
                                                       description.GetData());
    return entry && links;
}
