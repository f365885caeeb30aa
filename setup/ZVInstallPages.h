// The four wizard pages: each acts on the controls of its layout and asks the main frame for the rest.
#pragma once

#include "ZVObjectWnd.h"
#include "ZvBase.h"

#include <windows.h>

#include <functional>
#include <string>

#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "manager/PaintManagerUI.h"
#include "window/NotifyPump.h"

// The shared start of the progress page's text.
extern const wchar_t kZvProgressPrefix[];
// The question of the close buttons that ask first.
constexpr wchar_t kZvCloseTitle[] = L"确定关闭？";
constexpr wchar_t kZvCloseMessage[] = L"关闭后将中断安装流程";

// What every page shares: the frame's paint manager, the caption buttons and the event rule.
class CZVInstallPage : public ZvUI::CNotifyPump, public ZvBase {
public:
    explicit CZVInstallPage(ZvUI::CPaintManagerUI& pm) : m_pm(pm) {}

    // Code 1 travels on to the next sink; a page drops every other code that reaches it.
    void OnEvent(int code, int argument, int extra) override;

    // What the close buttons that ask first run in place of the page's own question; the main
    // frame sets it, so that its boxes open one at a time.
    void SetCloseConfirmation(std::function<void()> confirm) { m_confirmClose = std::move(confirm); }

protected:
    template <class T>
    ZvControlPtr<T> Find(LPCWSTR name)
    {
        return FindZvControl<T>(m_pm, name);
    }
    [[nodiscard]] HWND GetFrameWindow() const { return m_pm.GetWindowHandle(); }
    // The page's own minimise and close buttons.
    void FindCaptionButtons(LPCWSTR minName, LPCWSTR closeName);
    // Minimises, or closes (after asking when confirm is set), when msg comes from one of
    // them; true when it did.
    bool OnCaptionClick(const ZvUI::UINotifyMessage& msg, bool confirm);
    void CloseFrame() const;

    ZvUI::CPaintManagerUI& m_pm;

private:
    // Asks first; the window closes only on "确定".
    void ConfirmClose();

    ZvControlPtr<ZvUI::CButtonUI> m_minButton;
    ZvControlPtr<ZvUI::CButtonUI> m_closeButton;
    std::function<void()> m_confirmClose;
};

// Start page: install, agreement check box and link, custom install.
class CZVInstallPage0 : public CZVInstallPage {
    ZV_DECLARE_MESSAGE_TABLE(CZVInstallPage0)

public:
    using CZVInstallPage::CZVInstallPage;
    void Init();
    void OnClick(ZvUI::UINotifyMessage& msg);
    void OnSelectChanged(ZvUI::UINotifyMessage& msg);

private:
    ZvControlPtr<ZvUI::CButtonUI> m_installButton;
    ZvControlPtr<ZvUI::COptionUI> m_agreement;
    ZvControlPtr<ZvUI::CButtonUI> m_agreementLink;
    ZvControlPtr<ZvUI::CButtonUI> m_customButton;
};

// Custom page: install folder, shortcut options, back and install.
class CZVInstallPage1 : public CZVInstallPage {
    ZV_DECLARE_MESSAGE_TABLE(CZVInstallPage1)

public:
    // (owner, start folder) -> chosen folder, empty when cancelled.
    using FolderPicker = std::function<std::wstring(HWND owner, const std::wstring& start)>;

    explicit CZVInstallPage1(ZvUI::CPaintManagerUI& pm);
    void Init();
    void OnClick(ZvUI::UINotifyMessage& msg);
    void OnSelectChanged(ZvUI::UINotifyMessage& msg);

    // The shell's folder picker unless replaced.
    void SetFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }

private:
    void ChangeFolder();

    ZvControlPtr<ZvUI::CButtonUI> m_backButton;
    ZvControlPtr<ZvUI::CButtonUI> m_installButton;
    ZvControlPtr<ZvUI::CLabelUI> m_pathLabel;
    ZvControlPtr<ZvUI::CButtonUI> m_modifyButton;
    ZvControlPtr<ZvUI::COptionUI> m_desktopShortcut;
    ZvControlPtr<ZvUI::COptionUI> m_taskbar;
    FolderPicker m_pickFolder;
};

// Progress page: the bar and its label.
class CZVInstallPage2 : public CZVInstallPage {
    ZV_DECLARE_MESSAGE_TABLE(CZVInstallPage2)

public:
    using CZVInstallPage::CZVInstallPage;
    void Init();
    void OnClick(ZvUI::UINotifyMessage& msg);

    // Shows value truncated to a whole percentage in the label and the bar.
    void SetProgress(double value);
    // The page's hooks for event 66 and for the frame's timers: nothing to do.
    void DoAction() {}
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

private:
    ZvControlPtr<ZvUI::CProgressUI> m_bar;
    ZvControlPtr<ZvUI::CLabelUI> m_label;
};

// Finish page: closing needs no confirmation any more.
class CZVInstallPage3 : public CZVInstallPage {
    ZV_DECLARE_MESSAGE_TABLE(CZVInstallPage3)

public:
    using CZVInstallPage::CZVInstallPage;
    void Init();
    void OnClick(ZvUI::UINotifyMessage& msg);
    // Writes the Uninstall entry and the Start-menu shortcuts of the product folder of the
    // install options. The wizard does not call it. True when the entry and both links were written.
    bool WriteShortcuts();

private:
    ZvControlPtr<ZvUI::CButtonUI> m_completeButton;
};
