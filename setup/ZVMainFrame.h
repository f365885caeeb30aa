// The setup program's main window: the four-page wizard, the download, the hand-off and the finish.
#pragma once

#include "Downloader.h"
#include "WndShadow.h"
#include "ZVInstallPages.h"
#include "ZVInstallThread.h"
#include "ZVObjectWnd.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "layout/TabLayoutUI.h"
#include "layout/VerticalLayoutUI.h"

// Carries an event code (wParam) to the frame's UI thread.
constexpr UINT WM_ZVEVENT = WM_USER + 0x202;
// Carries a download status (wParam code, lParam packed value) from the worker to the frame.
constexpr UINT WM_ZVDOWNLOADSTATUS = WM_USER + 0x203;

// Window timers of the frame; the paint manager's own ids lie elsewhere.
constexpr UINT_PTR kZvPollTimer = 268;  // reads APP.ini and advances the bar
constexpr UINT kZvPollInterval = 108;
constexpr UINT_PTR kZvCloseTimer = 286; // closes the finished wizard
constexpr UINT kZvCloseDelay = 3000;

// A download status value in a message parameter and back: progress as parts per million,
// every other value (the result codes) as a whole number.
LPARAM PackDownloadStatusValue(int code, double value);
double UnpackDownloadStatusValue(int code, LPARAM packed);

class ZVMainFrame : public CZVObjectWnd {
public:
    // (status callback, URL, target path) -> a downloader that lives until the process ends.
    using DownloaderFactory = std::function<CDownloader*(DownloadStatusCallback, const std::wstring&, const std::wstring&)>;
    // Starts the downloaded full setup; false when it could not be started.
    using SetupStarter = std::function<bool(const std::wstring& targetPath)>;

    ZVMainFrame();
    ~ZVMainFrame() override;

    // The frame frees itself once its window is gone.
    void OnFinalMessage(HWND window) override;
    void InitWindow() override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // The top of the event chain.
    void OnEvent(int code, int argument, int extra) override;

    // A status of the download, on the UI thread (the worker posts it as WM_ZVDOWNLOADSTATUS).
    void OnDownloadStatus(int code, double value);

    // The real downloader and hand-off unless replaced, for instance by tests.
    void SetDownloaderFactory(DownloaderFactory factory) { m_makeDownloader = std::move(factory); }
    void SetSetupStarter(SetupStarter starter) { m_startSetup = std::move(starter); }

    [[nodiscard]] int GetCurrentPage() const;
    [[nodiscard]] double GetProgress() const { return m_progress; }
    [[nodiscard]] const std::wstring& GetTargetPath() const { return m_targetPath; }
    CZVInstallPage1& GetCustomPage() { return m_page1; }

    // The texts of a failure box.
    struct FailureText {
        LPCWSTR title;
        LPCWSTR message;
    };

private:
    void SelectPage(int page);
    void ShowProgress(double value);
    void StartInstall();
    // The dimmed box over the frame, counted in m_openBoxes; -1 when the window went meanwhile.
    int ShowBox(LPCWSTR title, LPCWSTR message);
    // What the pages' close buttons ask; "确定" closes the window.
    void ConfirmClose();
    // Shows the failure, or holds it while another box is open.
    void ReportFailure(const FailureText& failure);
    void ReportHeldFailure();
    void PollSetup();
    void CloseWhenNoBoxIsOpen();

    CZVInstallThread m_workQueue;
    CZVInstallPage0 m_page0;
    CZVInstallPage1 m_page1;
    CZVInstallPage2 m_page2;
    CZVInstallPage3 m_page3;
    ZvControlPtr<ZvUI::CVerticalLayoutUI> m_verRoot;
    ZvControlPtr<ZvUI::CTabLayoutUI> m_tabInstall;
    // Never freed: its destructor would wait for a run in progress, and the process ends soon
    // after the window anyway.
    CDownloader* m_downloader = nullptr;
    std::wstring m_targetPath;
    double m_progress = 0;
    CWndShadow m_shadow;
    DownloaderFactory m_makeDownloader;
    SetupStarter m_startSetup;
    // Never two boxes at once: a failure that arrives while one is open waits for its answer,
    // and a confirmed close drops it.
    int m_openBoxes = 0;
    const FailureText* m_heldFailure = nullptr;
    bool m_closeConfirmed = false;
};
