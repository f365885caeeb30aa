// The main frame on a real window: pages, the install request, download statuses posted from a
// worker thread, the hand-off, the APP.ini handshake, the failure box and the close confirmation.
#include "../../support/AccessViolationWatch.h"
#include "AppTestSupport.h"
#include "AppIni.h"
#include "DataFolder.h"
#include "InstallOptions.h"
#include "SetupHandOff.h"
#include "SetupUrls.h"
#include "WinDownloader.h"
#include "ZVInstallPages.h"
#include "ZVMainFrame.h"
#include "ZVMsgBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "control/ControlUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "layout/ContainerUI.h"
#include "layout/TabLayoutUI.h"

using namespace ZvUI;
using apptest::CTimerScript;

namespace {

class FakeDownloader : public CDownloader {
public:
    bool Start() override
    {
        ++starts;
        return startResult;
    }
    int starts = 0;
    bool startResult = true;
};

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dataFolder = PrepareDataFolder();
        ASSERT_FALSE(m_dataFolder.empty());
        ::DeleteFileW((m_dataFolder + L"\\APP.ini").c_str());
        m_savedFolder = CInstallOptions::Instance().GetInstallFolder();

        m_frame = ShowZVWindow<ZVMainFrame>(nullptr, nullptr, false, kZvWindowCaption, nullptr, nullptr,
                                            kZvWindowStyle, kZvWindowExStyle, 1, 0);
        ASSERT_NE(m_frame, nullptr);
        m_window = m_frame->GetHandle();
        m_frame->SetDownloaderFactory([this](DownloadStatusCallback report, const std::wstring& url,
                                             const std::wstring& target) {
            m_report = std::move(report);
            m_url = url;
            m_target = target;
            ++m_made;
            return &m_downloader;
        });
        m_frame->SetSetupStarter([this](const std::wstring& target) {
            m_started.push_back(target);
            return m_setupStarts;
        });
        m_pm = &m_frame->GetPaintManager();
        ASSERT_TRUE(apptest::PumpUntil([this] { return Laid(L"installBtn"); }, 2000));
    }

    void TearDown() override
    {
        if (::IsWindow(m_window))
            ::DestroyWindow(m_window);
        apptest::Pump(10);
        CInstallOptions::Instance().SetInstallFolder(m_savedFolder);
        CInstallOptions::Instance().SetDesktopShortcut(true);
        CInstallOptions::Instance().SetTaskbar(true);
    }

    bool Laid(LPCWSTR name) const
    {
        CControlUI* control = m_pm->FindControl(name);
        return control != nullptr && control->IsVisible() && !::IsRectEmpty(&control->GetPos());
    }

    // A real click on a control of the current page, once the page is laid out.
    void Click(LPCWSTR name)
    {
        ASSERT_TRUE(apptest::PumpUntil([&] { return Laid(name); }, 2000)) << "not on screen: " << name;
        ASSERT_TRUE(apptest::PostClick(*m_pm, name));
        apptest::Pump(30);
    }

    // Statuses come from another thread, as the real downloader's do.
    void ReportFromWorker(int code, double value, int times = 1)
    {
        ASSERT_TRUE(m_report);
        std::thread worker([&] {
            for (int i = 0; i < times; ++i)
                m_report(code, value);
        });
        worker.join();
    }

    void StartDownload()
    {
        const int before = m_downloader.starts;
        Click(L"installBtn");
        ASSERT_EQ(m_frame->GetCurrentPage(), 2);
        ASSERT_EQ(m_downloader.starts, before + 1);
    }

    CUIString ProgressText() const { return m_pm->FindControl(L"installproglab")->GetText(); }
    int BarValue() const { return static_cast<CProgressUI*>(m_pm->FindControl(L"installPrg"))->GetValue(); }
    bool IsEnabled(LPCWSTR name) const { return m_pm->FindControl(L"installBtn") && m_pm->FindControl(name)->IsEnabled(); }
    // Shows a page without the install request that page 2 would start.
    void SelectPageQuietly(int page)
    {
        static_cast<CTabLayoutUI*>(m_pm->FindControl(L"tabInstall"))->SelectItem(page);
    }
    void Tick(UINT_PTR timer, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            ::SendMessageW(m_window, WM_TIMER, timer, 0);
    }

    std::wstring m_dataFolder;
    std::wstring m_savedFolder;
    ZVMainFrame* m_frame = nullptr;
    HWND m_window = nullptr;
    CPaintManagerUI* m_pm = nullptr;
    FakeDownloader m_downloader;
    DownloadStatusCallback m_report;
    std::wstring m_url;
    std::wstring m_target;
    int m_made = 0;
    std::vector<std::wstring> m_started;
    bool m_setupStarts = true;
};

// A step that notes the open box's title and message, calls also, then answers with okBtn.
CTimerScript::Step NoteBoxAndAnswerOk(CUIString& title, CUIString& message, std::function<void()> also = {})
{
    return [&title, &message, also] {
        CPaintManagerUI* box = apptest::ManagerOf(apptest::FindMsgBox());
        if (box == nullptr)
            return false;
        title = box->FindControl(L"zv_txt_title")->GetText();
        message = box->FindControl(L"zv_txt_msg")->GetText();
        if (also)
            also();
        return apptest::PostClick(*box, L"okBtn");
    };
}

std::wstring Percent(int value)
{
    return std::wstring(kZvProgressPrefix) + L" " + std::to_wstring(value) + L"%";
}

} // namespace

// --- pages ---

TEST_F(MainFrame, StartsOnTheFirstPageWithItsButtonsEnabled)
{
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_TRUE(IsEnabled(L"installBtn"));
    EXPECT_TRUE(IsEnabled(L"customBtn"));
    EXPECT_STREQ(ProgressText(), Percent(0).c_str());
}

TEST_F(MainFrame, PageEventsSelectTabsAndOnlyTheProgressPageDownloads)
{
    m_frame->OnEvent(64, 1, 0);
    EXPECT_EQ(m_frame->GetCurrentPage(), 1);
    m_frame->OnEvent(64, 0, 0);
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_EQ(m_made, 0);
    m_frame->OnEvent(64, 2, 0);
    EXPECT_EQ(m_frame->GetCurrentPage(), 2);
    EXPECT_EQ(m_made, 1);
    EXPECT_EQ(m_downloader.starts, 1);
}

TEST_F(MainFrame, BelowAnotherSinkTheProgressPageStillStartsItsOwnDownload)
{
    struct Listener : ZvBase {
        std::vector<int> codes;
        void OnEvent(int code, int, int) override { codes.push_back(code); }
    } above;
    m_frame->SetNextSink(&above);
    m_frame->OnEvent(64, 2, 0);
    m_frame->SetNextSink(nullptr);
    EXPECT_EQ(m_frame->GetCurrentPage(), 2);
    EXPECT_EQ(m_downloader.starts, 1);
    EXPECT_TRUE(above.codes.empty());
}

TEST_F(MainFrame, CodeOneComesBackAsAnEventOnTheWindowsQueue)
{
    m_frame->OnEvent(64, 1, 0);
    m_frame->OnEvent(1, 64, 0); // re-raised as code 64, argument 0, once the queue runs
    EXPECT_EQ(m_frame->GetCurrentPage(), 1);
    apptest::Pump(30);
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
}

TEST_F(MainFrame, TheAgreementBoxEnablesInstallAndCustomInstall)
{
    Click(L"protocalOpt");
    EXPECT_FALSE(static_cast<COptionUI*>(m_pm->FindControl(L"protocalOpt"))->IsSelected());
    EXPECT_FALSE(IsEnabled(L"installBtn"));
    EXPECT_FALSE(IsEnabled(L"customBtn"));
    Click(L"installBtn"); // disabled: nothing happens
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_EQ(m_made, 0);

    Click(L"protocalOpt");
    EXPECT_TRUE(IsEnabled(L"installBtn"));
    EXPECT_TRUE(IsEnabled(L"customBtn"));
}

TEST_F(MainFrame, CustomPageChangesTheFolderAndGoesBack)
{
    std::vector<std::wstring> answers = {L"D:\\Apps", L"", L"E:\\"};
    std::vector<std::wstring> starts;
    HWND owner = nullptr;
    m_frame->GetCustomPage().SetFolderPicker([&](HWND parent, const std::wstring& start) {
        owner = parent;
        starts.push_back(start);
        const std::wstring answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    Click(L"customBtn");
    ASSERT_EQ(m_frame->GetCurrentPage(), 1);
    EXPECT_STREQ(m_pm->FindControl(L"pathLab")->GetText(), m_savedFolder.c_str());

    Click(L"modifyBtn");
    EXPECT_EQ(owner, m_window);
    EXPECT_EQ(starts.back(), m_savedFolder);
    EXPECT_STREQ(m_pm->FindControl(L"pathLab")->GetText(), L"D:\\Apps\\Velmora");
    EXPECT_EQ(CInstallOptions::Instance().GetInstallFolder(), L"D:\\Apps\\Velmora");

    Click(L"modifyBtn"); // cancelled: nothing changes
    EXPECT_EQ(starts.back(), L"D:\\Apps\\Velmora");
    EXPECT_STREQ(m_pm->FindControl(L"pathLab")->GetText(), L"D:\\Apps\\Velmora");

    Click(L"modifyBtn"); // a drive root gets one separator only
    EXPECT_STREQ(m_pm->FindControl(L"pathLab")->GetText(), L"E:\\Velmora");

    Click(L"gobackbtn");
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
}

TEST_F(MainFrame, AFileChosenInThePickerIsNoInstallFolder)
{
    const std::wstring file = m_dataFolder + L"\\readme.txt";
    std::ofstream(file.c_str()) << "not a folder";
    m_frame->GetCustomPage().SetFolderPicker([&](HWND, const std::wstring&) { return file; });
    Click(L"customBtn");
    Click(L"modifyBtn");
    EXPECT_STREQ(m_pm->FindControl(L"pathLab")->GetText(), m_savedFolder.c_str());
    EXPECT_EQ(CInstallOptions::Instance().GetInstallFolder(), m_savedFolder);
    ::DeleteFileW(file.c_str());
}

TEST_F(MainFrame, TheDesktopShortcutBoxDecidesTheHandOffFlag)
{
    Click(L"customBtn");
    Click(L"desktopShortCutOpt");
    EXPECT_FALSE(CInstallOptions::Instance().IsDesktopShortcut());
    EXPECT_EQ(MakeHandOffParameters(L"C:\\V", CInstallOptions::Instance().IsDesktopShortcut()),
              L"-instdir=C:\\V -dsc=false");
    Click(L"desktopShortCutOpt");
    EXPECT_TRUE(CInstallOptions::Instance().IsDesktopShortcut());

    Click(L"installBtn1");
    EXPECT_EQ(m_frame->GetCurrentPage(), 2);
    EXPECT_EQ(m_downloader.starts, 1);
}

TEST_F(MainFrame, TheTaskbarBoxLeavesItsFlagAlone)
{
    Click(L"customBtn");
    auto* taskbar = static_cast<COptionUI*>(m_pm->FindControl(L"addtaskbarOpt"));
    ASSERT_NE(taskbar, nullptr);
    taskbar->Selected(false, true); // hidden in the skin, so not clickable
    apptest::Pump(30);
    EXPECT_TRUE(CInstallOptions::Instance().IsTaskbar());
    EXPECT_TRUE(CInstallOptions::Instance().IsDesktopShortcut());
}

TEST_F(MainFrame, ProgressShowsWholePercentages)
{
    CZVInstallPage2 page(*m_pm); // works on the frame's own controls
    page.Init();
    page.SetProgress(99.7);
    EXPECT_STREQ(ProgressText(), Percent(99).c_str());
    EXPECT_EQ(BarValue(), 99);
    page.SetProgress(42.0);
    EXPECT_STREQ(ProgressText(), Percent(42).c_str());
    EXPECT_EQ(BarValue(), 42);
}

// --- install request ---

TEST_F(MainFrame, TheInstallRequestPreparesAppIniAndOneTargetFile)
{
    StartDownload();
    EXPECT_EQ(m_url, GetDownloadUrl());
    const std::wstring prefix = m_dataFolder + L"\\";
    ASSERT_EQ(m_target.size(), prefix.size() + 32 + 4);
    EXPECT_EQ(m_target.substr(0, prefix.size()), prefix);
    EXPECT_EQ(m_target.substr(m_target.size() - 4), L".exe");
    EXPECT_EQ(m_frame->GetTargetPath(), m_target);

    const CAppIni ini(m_dataFolder);
    EXPECT_EQ(ini.ReadInstallValue(L"channel"), L"darozeved");
    EXPECT_EQ(ini.ReadInstallValue(L"active"), L"0");

    // A second request keeps downloader and file, leaves the channel and resets "active".
    ASSERT_TRUE(ini.WriteInstallValue(L"channel", L"store"));
    ASSERT_TRUE(ini.WriteInstallValue(L"active", L"1"));
    m_frame->OnEvent(64, 2, 0);
    EXPECT_EQ(m_made, 1);
    EXPECT_EQ(m_downloader.starts, 2);
    EXPECT_EQ(m_frame->GetTargetPath(), m_target);
    EXPECT_EQ(ini.ReadInstallValue(L"channel"), L"store");
    EXPECT_EQ(ini.ReadInstallValue(L"active"), L"0");
}

TEST_F(MainFrame, AnAppIniThatCannotBeResetIsAPathFailureAndNoDownload)
{
    // An earlier run's "active" that cannot be reset would pass for the full setup's answer.
    const CAppIni ini(m_dataFolder);
    ASSERT_TRUE(ini.WriteInstallValue(L"active", L"1"));
    // Held open without sharing, as another program may hold it.
    struct HeldFile {
        HANDLE h;
        ~HeldFile() { Release(); }
        void Release()
        {
            if (h != INVALID_HANDLE_VALUE)
                ::CloseHandle(h);
            h = INVALID_HANDLE_VALUE;
        }
    } held{::CreateFileW(ini.GetPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
    ASSERT_NE(held.h, INVALID_HANDLE_VALUE);
    CUIString title, message;
    CTimerScript script(NoteBoxAndAnswerOk(title, message));
    Click(L"installBtn");
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    held.Release();
    EXPECT_EQ(m_downloader.starts, 0) << "downloaded with a stale handshake";
    EXPECT_STREQ(title, L"安装失败！");
    EXPECT_NE(std::wstring(message.GetData()).find(L"路径"), std::wstring::npos) << "not told it is the path";
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_FALSE(::KillTimer(m_window, kZvPollTimer));

    StartDownload(); // writable again: the next request goes ahead
    EXPECT_EQ(ini.ReadInstallValue(L"active"), L"0");
}

TEST_F(MainFrame, ProgressReportsMoveTheBarOneStepEachUpToSeventy)
{
    StartDownload();
    ReportFromWorker(1001, 1);
    ReportFromWorker(1002, 0.5, 10);
    apptest::Pump(50);
    EXPECT_STREQ(ProgressText(), Percent(10).c_str());
    EXPECT_EQ(BarValue(), 10);
    ReportFromWorker(1002, 0.9, 100);
    apptest::Pump(50);
    EXPECT_EQ(m_frame->GetProgress(), 70);
    EXPECT_STREQ(ProgressText(), Percent(70).c_str());
    EXPECT_EQ(BarValue(), 70);
}

TEST_F(MainFrame, DoneHandsOffAndThePollClimbsToNinetyNine)
{
    StartDownload();
    ReportFromWorker(1003, 0);
    ASSERT_TRUE(apptest::PumpUntil([this] { return !m_started.empty(); }, 1000));
    EXPECT_EQ(m_started, (std::vector<std::wstring>{m_target}));
    // The poll timer runs on the frame's own window.
    EXPECT_TRUE(apptest::PumpUntil([this] { return m_frame->GetProgress() > 71; }, 2000));

    Tick(kZvPollTimer, 40);
    EXPECT_STREQ(ProgressText(), Percent(99).c_str());
    EXPECT_EQ(BarValue(), 99);
    Tick(kZvPollTimer, 5);
    EXPECT_STREQ(ProgressText(), Percent(99).c_str());
    EXPECT_EQ(m_frame->GetCurrentPage(), 2);
}

TEST_F(MainFrame, AnActiveSetupShowsTheFinishPageAndClosesTheWindow)
{
    StartDownload();
    ReportFromWorker(1003, 0);
    ASSERT_TRUE(apptest::PumpUntil([this] { return !m_started.empty(); }, 1000));
    ASSERT_TRUE(CAppIni(m_dataFolder).WriteInstallValue(L"active", L"1"));

    Tick(kZvPollTimer);
    EXPECT_STREQ(ProgressText(), Percent(100).c_str());
    EXPECT_EQ(BarValue(), 100);
    EXPECT_EQ(m_frame->GetCurrentPage(), 3);
    EXPECT_FALSE(::KillTimer(m_window, kZvPollTimer)); // the poll has stopped
    EXPECT_TRUE(::KillTimer(m_window, kZvCloseTimer)); // and the close is armed

    Tick(kZvCloseTimer); // the close timer's tick, without its three seconds
    EXPECT_TRUE(apptest::PumpUntil([this] { return !::IsWindow(m_window); }, 1000));
}

TEST_F(MainFrame, OnTheFinishPageBothButtonsCloseWithoutAsking)
{
    for (LPCWSTR button : {L"completeBtn", L"closebtn3"}) {
        TearDown();
        SetUp();
        m_frame->OnEvent(64, 3, 0);
        Click(button);
        EXPECT_TRUE(apptest::PumpUntil([this] { return !::IsWindow(m_window); }, 1000)) << button;
        EXPECT_EQ(apptest::FindMsgBox(), nullptr);
    }
}

TEST_F(MainFrame, EveryPageMinimisesTheWindow)
{
    const LPCWSTR buttons[] = {L"minbtn", L"minbtn1", L"minbtn2", L"minbtn3"};
    for (int page = 0; page < 4; ++page) {
        ::ShowWindow(m_window, SW_RESTORE);
        SelectPageQuietly(page);
        Click(buttons[page]);
        EXPECT_TRUE(::IsIconic(m_window)) << buttons[page];
    }
}

// --- failures and closing ---

TEST_F(MainFrame, AFailedDownloadOffersTheWayBackToTheStartPage)
{
    StartDownload();
    ReportFromWorker(1002, 0.2, 5);
    CUIString title, message;
    int layers = 0;
    const int before = static_cast<IContainerUI*>(m_pm->GetContentRoot()->GetInterface(L"IContainer"))->GetCount();
    CTimerScript script(NoteBoxAndAnswerOk(title, message, [&] {
        layers = static_cast<IContainerUI*>(m_pm->GetContentRoot()->GetInterface(L"IContainer"))->GetCount();
    }));
    ReportFromWorker(1004, -2146697208.0); // INET_E_DOWNLOAD_FAILURE
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    EXPECT_STREQ(title, L"下载失败！");
    EXPECT_STREQ(message, L"请检查网络");
    EXPECT_EQ(layers, before + 1);
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_EQ(BarValue(), 0);

    StartDownload(); // and a second attempt starts again
}

TEST_F(MainFrame, CancellingTheFailureBoxStaysOnTheProgressPage)
{
    StartDownload();
    ReportFromWorker(1002, 0.2, 5);
    CTimerScript script(apptest::ClickInMsgBox(L"cancelBtn"));
    ReportFromWorker(1004, 1);
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    EXPECT_EQ(m_frame->GetCurrentPage(), 2);
    EXPECT_EQ(BarValue(), 0);
    EXPECT_STREQ(ProgressText(), Percent(0).c_str());
}

TEST_F(MainFrame, ASetupThatCannotStartIsReportedAsAFailure)
{
    m_setupStarts = false;
    StartDownload();
    CTimerScript script(apptest::ClickInMsgBox(L"okBtn"));
    ReportFromWorker(1003, 0);
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    EXPECT_EQ(m_started.size(), 1u);
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
    EXPECT_FALSE(::KillTimer(m_window, kZvPollTimer)); // no poll for a setup that never ran
}

TEST_F(MainFrame, ADownloadThatCannotStartIsReportedAsAFailure)
{
    m_downloader.startResult = false;
    CTimerScript script(apptest::ClickInMsgBox(L"okBtn"));
    Click(L"installBtn");
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    EXPECT_EQ(m_downloader.starts, 1);
    EXPECT_EQ(m_frame->GetCurrentPage(), 0);
}

TEST_F(MainFrame, CloseAsksFirstAndCancelKeepsTheDownloadRunning)
{
    StartDownload();
    {
        CTimerScript script(apptest::ClickInMsgBox(L"cancelBtn"));
        Click(L"closebtn2");
        ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    }
    apptest::Pump(30);
    EXPECT_TRUE(::IsWindow(m_window));
    ReportFromWorker(1002, 0.5, 3); // the download goes on
    apptest::Pump(30);
    EXPECT_EQ(BarValue(), 3);

    CTimerScript script(apptest::ClickInMsgBox(L"okBtn"));
    Click(L"closebtn2");
    EXPECT_TRUE(apptest::PumpUntil([this] { return !::IsWindow(m_window); }, 3000));
    ReportFromWorker(1002, 0.6); // a late status finds no window and goes nowhere
    apptest::Pump(30);
}

TEST_F(MainFrame, TheFinishTimerWaitsForAnOpenBoxToBeAnswered)
{
    m_frame->OnEvent(64, 2, 0);
    int ticks = 0;
    bool openAfterTick = false;
    CTimerScript script([&] {
        const HWND box = apptest::FindMsgBox();
        if (box == nullptr)
            return false;
        if (++ticks == 1) {
            ::SendMessageW(m_window, WM_TIMER, kZvCloseTimer, 0); // the finish timer fires under the box
            return false;
        }
        if (ticks < 4)
            return false;
        openAfterTick = ::IsWindow(m_window) && ::IsWindow(box);
        return apptest::PostClick(*apptest::ManagerOf(box), L"cancelBtn");
    });
    Click(L"closebtn2");
    ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && apptest::FindMsgBox() == nullptr; }, 3000));
    apptest::Pump(30);
    EXPECT_TRUE(openAfterTick);
    EXPECT_TRUE(::IsWindow(m_window));

    Tick(kZvCloseTimer); // the next tick, with the box answered
    EXPECT_TRUE(apptest::PumpUntil([this] { return !::IsWindow(m_window); }, 1000));
}

TEST_F(MainFrame, AWindowClosedUnderItsBoxOutlivesTheHandlerThatOpenedIt)
{
    // The close comes from outside (the taskbar, another program) while a box is up; the
    // handler that opened the box returns into the frame afterwards. Freed memory is poisoned.
    for (const bool question : {false, true}) {
        TearDown();
        SetUp();
        StartDownload();
        AccessViolationWatch violations;
        CTimerScript script([this] {
            if (apptest::FindMsgBox() == nullptr)
                return false;
            ::SendMessageW(m_window, WM_CLOSE, 0, 0);
            return true;
        });
        if (question)
            Click(L"closebtn2");
        else
            ReportFromWorker(1004, 1);
        ASSERT_TRUE(apptest::PumpUntil([&] { return script.IsDone() && !::IsWindow(m_window); }, 3000));
        apptest::Pump(50);
        EXPECT_EQ(violations.Count(), 0) << (question ? "under the close question" : "under the failure box");
        EXPECT_EQ(apptest::FindMsgBox(), nullptr);
    }
}

TEST_F(MainFrame, TheRealDownloadersWorkerReachesTheFrameThroughItsWindow)
{
    // A whole program, as the downloader starts nothing else: this test program itself.
    const std::wstring source = m_dataFolder + L"\\package-source.bin";
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    ASSERT_TRUE(::CopyFileW(self, source.c_str(), FALSE));
    WIN32_FILE_ATTRIBUTE_DATA sourceData = {};
    ASSERT_TRUE(::GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &sourceData));
    std::unique_ptr<CDownloader> real;
    DWORD reportingThread = 0;
    m_frame->SetDownloaderFactory([&](DownloadStatusCallback report, const std::wstring&, const std::wstring& target) {
        m_target = target;
        // Notes the thread the statuses come from, then hands them on as the frame asked.
        auto spy = [&reportingThread, report](int code, double value) {
            reportingThread = ::GetCurrentThreadId();
            report(code, value);
        };
        std::wstring url = L"file:///" + source;
        for (wchar_t& c : url)
            c = c == L'\\' ? L'/' : c;
        real = std::make_unique<CWinDownloader>(spy, url, target);
        return real.get();
    });
    Click(L"installBtn");
    ASSERT_TRUE(apptest::PumpUntil([this] { return !m_started.empty(); }, 5000));
    EXPECT_NE(reportingThread, ::GetCurrentThreadId());
    EXPECT_EQ(m_started, (std::vector<std::wstring>{m_target}));
    EXPECT_GE(m_frame->GetProgress(), 70);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(::GetFileAttributesExW(m_target.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, sourceData.nFileSizeLow);

    ::DestroyWindow(m_window);
    real.reset(); // the run has ended: nothing to wait for
    ::DeleteFileW(m_target.c_str());
    ::DeleteFileW(source.c_str());
}

TEST(DownloadStatusValue, SurvivesTheTripThroughAMessage)
{
    struct Case {
        int code;
        double value;
    };
    for (const Case& c : {Case{1001, 1}, Case{1002, 0.123456}, Case{1002, 1}, Case{1003, 0},
                          Case{1004, -2146697208.0}, Case{1004, 1}}) {
        EXPECT_NEAR(UnpackDownloadStatusValue(c.code, PackDownloadStatusValue(c.code, c.value)), c.value, 1e-6)
            << c.code;
    }
}
