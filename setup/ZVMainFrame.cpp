#include "ZVMainFrame.h"

#include "AppIni.h"
#include "DataFolder.h"
#include "SetupHandOff.h"
#include "SetupUrls.h"
#include "WinDownloader.h"
#include "ZVMsgBox.h"

#include <shlwapi.h>

#include <cmath>

using namespace ZvUI;

namespace {

constexpr double kPartsPerMillion = 1000000.0;
constexpr double kDownloadShare = 70; // the bar's part for the download; the rest waits for the setup

enum WizardPage : int { kStartPage = 0, kCustomPage = 1, kProgressPage = 2, kFinishPage = 3 };

const wchar_t* const kPageNames[] = {L"install0", L"install1", L"install2", L"install3"};

constexpr int kWindowGone = -1;

constexpr ZVMainFrame::FailureText kDownloadFailure = {L"下载失败！", L"请检查网络"};
// The data folder, APP.ini in it or the download's file name cannot be had: a long or
// unwritable profile path, not the network.
constexpr ZVMainFrame::FailureText kPathFailure = {L"安装失败！", L"无法写入数据文件夹，请检查路径"};

CDownloader* MakeWinDownloader(DownloadStatusCallback callback, const std::wstring& url, const std::wstring& target)
{
    return new CWinDownloader(std::move(callback), url, target);
}

} // namespace

LPARAM PackDownloadStatusValue(int code, double value)
{
    if (code == kDownloadProgress)
        return static_cast<LPARAM>(std::lround(value * kPartsPerMillion));
    return static_cast<LPARAM>(std::lround(value));
}

double UnpackDownloadStatusValue(int code, LPARAM packed)
{
    const double value = static_cast<double>(static_cast<LONG>(packed));
    return code == kDownloadProgress ? value / kPartsPerMillion : value;
}

ZVMainFrame::ZVMainFrame()
    : m_page0(m_pm), m_page1(m_pm), m_page2(m_pm), m_page3(m_pm), m_makeDownloader(MakeWinDownloader),
      m_startSetup(StartFullSetup)
{
    m_skinFile = L"ZVMainFrame.xml";
    m_className = L"zvmainframe";
    CZVInstallPage* pages[] = {&m_page0, &m_page1, &m_page2, &m_page3};
    for (int i = 0; i < 4; ++i) {
        // The skin's page layouts name these virtual windows, so their notifications reach the pages.
        RegisterVirtualWindow(kPageNames[i], pages[i]);
        pages[i]->SetNextSink(this);
        pages[i]->SetCloseConfirmation([this] { ConfirmClose(); });
    }
    (void)m_workQueue.Start(); // idle: nothing is ever queued
}

ZVMainFrame::~ZVMainFrame()
{
    for (const wchar_t* name : kPageNames)
        UnregisterVirtualWindow(name);
    m_workQueue.Stop();
}

void ZVMainFrame::OnFinalMessage(HWND window)
{
    WindowImplBase::OnFinalMessage(window);
    DeleteWhenUnwound(this);
}

void ZVMainFrame::InitWindow()
{
    m_pm.SetLayered(true);
    m_verRoot = FindZvControl<CVerticalLayoutUI>(m_pm, L"verRoot");
    m_tabInstall = FindZvControl<CTabLayoutUI>(m_pm, L"tabInstall");
    m_page0.Init();
    m_page1.Init();
    m_page2.Init();
    m_page3.Init();
    SelectPage(kStartPage);

    m_shadow.Create(m_hWnd);
    (void)m_shadow.SetSize(8);
    m_shadow.SetColor(0x646464);
    (void)m_shadow.SetDarkness(24);
    (void)m_shadow.SetSharpness(10);
    (void)m_shadow.SetPosition(0, 0);
}

LRESULT ZVMainFrame::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (msg == WM_ZVEVENT)
        OnEvent(static_cast<int>(wParam), 0, 0);
    else if (msg == WM_ZVDOWNLOADSTATUS)
        OnDownloadStatus(static_cast<int>(wParam), UnpackDownloadStatusValue(static_cast<int>(wParam), lParam));
    CZVObjectWnd::HandleCustomMessage(msg, wParam, lParam, handled);
    handled = FALSE;
    return 0;
}

// --- events ---

void ZVMainFrame::OnEvent(int code, int argument, int)
{
    switch (code) {
    case kZvEventRepost:
        PostMessage(WM_ZVEVENT, static_cast<WPARAM>(argument), 0);
        break;
    case kZvEventShowPage:
        SelectPage(argument);
        // The frame handles the install request itself, even below another sink.
        if (argument == kProgressPage)
            OnEvent(kZvEventInstall, 0, 0);
        break;
    case kZvEventInstall:
        StartInstall();
        break;
    case kZvEventPageAction:
        m_page2.DoAction();
        break;
    default:
        break;
    }
}

int ZVMainFrame::GetCurrentPage() const
{
    return m_tabInstall ? m_tabInstall->GetCurSel() : -1;
}

void ZVMainFrame::SelectPage(int page)
{
    if (m_tabInstall)
        m_tabInstall->SelectItem(page);
}

void ZVMainFrame::ShowProgress(double value)
{
    m_page2.SetProgress(value);
}

void ZVMainFrame::StartInstall()
{
    m_progress = 0;
    ShowProgress(m_progress);
    const std::wstring dataFolder = PrepareDataFolder();
    // One file name for every run, so a retry overwrites the failed attempt.
    if (m_targetPath.empty())
        m_targetPath = MakeDownloadTarget(dataFolder);
    // Without the folder, the file name or a fresh "active" there is nothing to hand over to:
    // a stale "1" left in APP.ini would pass for the full setup's answer.
    if (!::PathIsDirectoryW(dataFolder.c_str()) || m_targetPath.empty() || !CAppIni(dataFolder).PrepareInstall()) {
        ReportFailure(kPathFailure);
        return;
    }

    if (m_downloader == nullptr) {
        // The worker only posts to the window: it never touches the frame or its controls.
        const HWND window = m_hWnd;
        DownloadStatusCallback post = [window](int statusCode, double value) {
            ::PostMessageW(window, WM_ZVDOWNLOADSTATUS, static_cast<WPARAM>(statusCode),
                           PackDownloadStatusValue(statusCode, value));
        };
        m_downloader = m_makeDownloader(std::move(post), GetDownloadUrl(), m_targetPath);
    }
    // A run that cannot start would leave the page waiting for ever.
    if (m_downloader == nullptr || !m_downloader->Start())
        ReportFailure(kDownloadFailure);
}

// --- download statuses ---

void ZVMainFrame::OnDownloadStatus(int code, double)
{
    switch (code) {
    case kDownloadProgress:
        if (m_progress < kDownloadShare)
            m_progress += 1;
        ShowProgress(m_progress);
        break;
    case kDownloadDone:
        m_progress = kDownloadShare;
        ShowProgress(m_progress);
        // A setup that cannot be started would leave the bar at 99 for ever.
        if (!m_startSetup(m_targetPath)) {
            ReportFailure(kDownloadFailure);
            break;
        }
        ::SetTimer(m_hWnd, kZvPollTimer, kZvPollInterval, nullptr);
        break;
    case kDownloadFailed:
        ReportFailure(kDownloadFailure);
        break;
    case kDownloadRestart:
        if (m_downloader != nullptr && !m_downloader->Start())
            ReportFailure(kDownloadFailure);
        break;
    default:
        break;
    }
}

// --- boxes ---

int ZVMainFrame::ShowBox(LPCWSTR title, LPCWSTR message)
{
    const HWND window = m_hWnd;
    ++m_openBoxes;
    const int answer = ShowDimmedMsgBox(m_pm, title, message, L"确定", L"取消");
    // The window may have been closed while the box was up. The frame object outlives it until
    // the frame's own handler that opened the box returns, but a caller from outside any of them
    // could find it freed: nothing of it is touched then.
    if (!::IsWindow(window))
        return kWindowGone;
    --m_openBoxes;
    return answer;
}

void ZVMainFrame::ConfirmClose()
{
    if (m_closeConfirmed || m_openBoxes > 0)
        return;
    const int answer = ShowBox(kZvCloseTitle, kZvCloseMessage);
    if (answer == kWindowGone)
        return;
    if (answer == 1) {
        // The close wins over a failure that arrived while the question was open.
        m_closeConfirmed = true;
        m_heldFailure = nullptr;
        PostMessage(WM_CLOSE);
        return;
    }
    ReportHeldFailure();
}

void ZVMainFrame::ReportFailure(const FailureText& failure)
{
    if (m_closeConfirmed)
        return;
    if (m_openBoxes > 0) {
        m_heldFailure = &failure;
        return;
    }
    m_progress = 0;
    ShowProgress(m_progress);
    const int answer = ShowBox(failure.title, failure.message);
    if (answer == kWindowGone)
        return;
    if (answer == 1)
        SelectPage(kStartPage);
    ReportHeldFailure();
}

void ZVMainFrame::ReportHeldFailure()
{
    if (m_heldFailure == nullptr)
        return;
    const FailureText& held = *m_heldFailure;
    m_heldFailure = nullptr;
    ReportFailure(held);
}

// --- timers ---

LRESULT ZVMainFrame::OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (wParam == kZvPollTimer)
        PollSetup();
    else if (wParam == kZvCloseTimer)
        CloseWhenNoBoxIsOpen();
    return m_page2.OnTimer(msg, wParam, lParam, handled);
}

void ZVMainFrame::CloseWhenNoBoxIsOpen()
{
    // A box over the frame (it disables the frame while it runs) was opened from inside a
    // handler of this window; destroying the window now would pull the frame from under that
    // handler. The timer keeps running, so the next tick closes once the box is answered.
    if (::IsWindowEnabled(m_hWnd))
        PostMessage(WM_CLOSE);
}

void ZVMainFrame::PollSetup()
{
    if (CAppIni(PrepareDataFolder()).IsSetupActive()) {
        ShowProgress(100);
        ::KillTimer(m_hWnd, kZvPollTimer);
        RaiseEvent(kZvEventShowPage, kFinishPage);
        ::SetTimer(m_hWnd, kZvCloseTimer, kZvCloseDelay, nullptr);
        return;
    }
    // One step per tick, up to 99 until the full setup reports itself active.
    if (m_progress < 100) {
        ShowProgress(m_progress);
        m_progress += 1;
    }
}
