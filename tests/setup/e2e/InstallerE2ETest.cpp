// The real installer under Wine, driven with real mouse input against a loopback server:
// the install, its failure, closing, the custom folder and the download over HTTPS.
#include "InstallerDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>

using namespace e2e;

namespace {

constexpr char kDownloadPath[] = "/openapi/download?ch=10009&app=50001";

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool IsGuidExeName(const std::wstring& name)
{
    if (name.size() != 36 || name.compare(32, 4, L".exe") != 0)
        return false;
    for (int i = 0; i < 32; ++i)
        if (!std::iswdigit(name[i]) && !(name[i] >= L'A' && name[i] <= L'F'))
            return false;
    return true;
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The program part of a command line, without quotes, and the rest after one blank.
void SplitCommandLine(const std::wstring& line, std::wstring* program, std::wstring* args)
{
    size_t end = 0;
    if (!line.empty() && line[0] == L'"') {
        end = line.find(L'"', 1);
        *program = line.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
        end = end == std::wstring::npos ? line.size() : end + 1;
    } else {
        end = std::min(line.find(L' '), line.size());
        *program = line.substr(0, end);
    }
    *args = end < line.size() ? line.substr(end + 1) : L"";
}

// Wall-clock time as the server logs it.
double UnixSeconds()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return ticks.QuadPart / 1e7 - 11644473600.0;
}

class InstallerE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearDataFolder();
        log_ = Env(L"ZV_E2E_SERVER_LOG");
        ASSERT_FALSE(log_.empty()) << "run through run_e2e.sh";
        seen_ = ServerRequests(log_).size();
    }

    // Requests that reached the port since the test began.
    std::vector<Request> Requests(int port) const
    {
        std::vector<Request> out;
        const auto all = ServerRequests(log_);
        for (size_t i = seen_; i < all.size(); ++i)
            if (all[i].port == port)
                out.push_back(all[i]);
        return out;
    }

    static int Port(const wchar_t* name) { return _wtoi(Env(name).c_str()); }

    // Starts the installer named by the variable and waits for its start page.
    static HWND Launch(CInstaller& app, const wchar_t* exeVariable)
    {
        const std::wstring exe = Env(exeVariable);
        if (exe.empty() || !app.Start(exe)) {
            ADD_FAILURE() << "cannot start " << Narrow(exeVariable) << " = " << Narrow(exe);
            return nullptr;
        }
        HWND frameWnd = app.WaitWindow(kFrameClass, 30000);
        if (!frameWnd) {
            ADD_FAILURE() << "no visible main frame";
            return nullptr;
        }
        EXPECT_TRUE(app.WaitPage(0, 10000)) << "start page not shown";
        return frameWnd;
    }

    // Clicks a close button and waits for the confirmation box.
    static HWND AskToClose(const CInstaller& app, HWND frameWnd, SkinPoint closeButton)
    {
        ClickIn(frameWnd, kFrameWidth, closeButton);
        HWND box = app.WaitBox(10000);
        EXPECT_NE(box, nullptr) << "closing asked nothing";
        return box;
    }


    // Answers a box with one of its buttons and waits until it is gone.
    static void Answer(const CInstaller& app, HWND box, SkinPoint button)
    {
        ClickIn(box, kMsgBoxWidth, button);
        EXPECT_TRUE(app.WaitNoWindow(kMsgBoxClass, 10000)) << "the box stays open";
    }

    static void ExpectBoxOverDimmedFrame(HWND box, HWND frameWnd)
    {
        wchar_t caption[64] = {};
        GetWindowTextW(box, caption, 64);
        EXPECT_STREQ(caption, kCaption);
        EXPECT_EQ(GetWindow(box, GW_OWNER), frameWnd);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(frameWnd); }, 3000)) << "the box is not modal";
        EXPECT_TRUE(WaitFor([&] { return IsDimmed(frameWnd); }, 3000)) << "frame not dimmed";
    }

    // Waits for the program to end; the most boxes seen open meanwhile go to mostBoxes.
    static bool WaitExitCountingBoxes(CInstaller& app, DWORD* code, int* mostBoxes)
    {
        *mostBoxes = 0;
        return WaitFor([&] {
            *mostBoxes = std::max(*mostBoxes, app.VisibleCount(kMsgBoxClass));
            return app.WaitExit(0, code);
        }, 15000);
    }

    // Starts the installer whose downloads fail, closes on the progress page while the download
    // still retries and waits with the question open until the failure has reached the program;
    // the question is the only box then. Null when it does not come to that.
    HWND HoldTheCloseQuestionOverTheFailure(CInstaller& app, HWND* frameWnd)
    {
        const int port = Port(L"ZV_E2E_FAIL_PORT");
        *frameWnd = Launch(app, L"ZV_E2E_INSTALLER_FAIL");
        if (*frameWnd == nullptr)
            return nullptr;
        ClickIn(*frameWnd, kFrameWidth, frame::kInstall);
        EXPECT_TRUE(app.WaitPage(2, 5000)) << "progress page not shown";
        ClickIn(*frameWnd, kFrameWidth, frame::kClose);
        HWND box = app.WaitBox(10000);
        EXPECT_NE(box, nullptr) << "closing asked nothing";
        if (box == nullptr)
            return nullptr;
        EXPECT_TRUE(WaitFor([&] { return Requests(port).size() >= 3; }, 15000)) << "no third attempt";
        // The last attempt is followed by a one-second pause, then the failure is posted.
        Sleep(2500);
        EXPECT_EQ(app.VisibleCount(kMsgBoxClass), 1) << "a second box over the question";
        EXPECT_TRUE(IsWindow(box));
        EXPECT_FALSE(IsWindowEnabled(*frameWnd)) << "the frame is usable under the question";
        return box;
    }

    // Wine without a window manager takes about 2 s to destroy each top-level window (the box and
    // its shadow), and the frame repaints after that.
    static constexpr DWORD kAfterBox = 10000;

    // The light background beside the box is darkened by the dimming layer.
    static bool IsDimmed(HWND frameWnd)
    {
        const Rgb c = WindowPixel(frameWnd, kFrameWidth, frame::kPlainArea);
        return std::max({c.r, c.g, c.b}) < 225;
    }

    static void ExpectUndimmed(HWND frameWnd)
    {
        EXPECT_TRUE(WaitFor([&] { return !IsDimmed(frameWnd); }, kAfterBox)) << "frame still dimmed";
        EXPECT_TRUE(IsWindowEnabled(frameWnd)) << "frame still disabled";
    }

    // A close button asks over the dimmed frame; "取消" leaves the page as it was.
    static void ExpectCancelledCloseStaysOn(const CInstaller& app, HWND frameWnd, SkinPoint closeButton, int page)
    {
        HWND box = AskToClose(app, frameWnd, closeButton);
        ASSERT_NE(box, nullptr);
        ExpectBoxOverDimmedFrame(box, frameWnd);
        Answer(app, box, box::kCancel);
        EXPECT_TRUE(app.WaitPage(page, kAfterBox));
        ExpectUndimmed(frameWnd);
    }

    // After the install click on an installer whose downloads all fail: three attempts about a
    // second apart, then the failure box over the dimmed frame, the bar back at 0 and nothing
    // handed over. Null when no box came.
    HWND ExpectFailureAfterThreeAttempts(CInstaller& app, HWND frameWnd, int port, const std::string& path)
    {
        EXPECT_TRUE(app.WaitPage(2, 5000)) << "progress page not shown";
        HWND box = app.WaitBox(20000);
        EXPECT_NE(box, nullptr) << "no failure box";
        if (box == nullptr)
            return nullptr;
        const double shownAt = UnixSeconds();

        const auto requests = Requests(port);
        EXPECT_EQ(requests.size(), 3u);
        for (const auto& r : requests)
            EXPECT_EQ(r.path, path);
        for (size_t i = 1; i < requests.size(); ++i) {
            EXPECT_GE(requests[i].time - requests[i - 1].time, 0.9) << "attempt " << i;
            EXPECT_LE(requests[i].time - requests[i - 1].time, 3.0) << "attempt " << i;
        }
        if (!requests.empty())
            EXPECT_GE(shownAt - requests.back().time, 0.8) << "no pause after the last attempt";
        ExpectBoxOverDimmedFrame(box, frameWnd);
        EXPECT_FALSE(IsAccent(WindowPixel(frameWnd, kFrameWidth, frame::kProgressStart))) << "bar not back at 0";
        EXPECT_EQ(AppIniValue(L"active"), L"0");
        EXPECT_EQ(AppIniValue(L"channel"), L"darozeved");
        return box;
    }

    // From the install click on: the download of served from path, the hand-off with folder,
    // the finish page and the closing three seconds after the full setup reported itself active.
    void ExpectInstallRunsToTheEnd(CInstaller& app, HWND frameWnd, int port, const std::wstring& folder,
                                   const std::string& path = kDownloadPath,
                                   const wchar_t* served = L"ZV_E2E_FULL_SETUP")
    {
        ASSERT_TRUE(WaitFor([&] { return AppIniValue(L"active") == L"1"; }, 30000, 5))
            << "the full setup never reported itself active";
        const double active = Seconds();
        EXPECT_TRUE(app.WaitPage(3, 3000)) << "finish page not shown";
        ASSERT_TRUE(app.WaitNoWindow(kFrameClass, 15000)) << "the window did not close";
        const double closedAfter = Seconds() - active;
        EXPECT_GE(closedAfter, 2.7);
        EXPECT_LE(closedAfter, 5.0);
        std::printf("window closed %.2f s after the full setup reported itself active\n", closedAfter);
        EXPECT_TRUE(app.WaitNoWindow(kShadowClass, 3000)) << "the shadow outlived the window";
        DWORD code = 1234;
        ASSERT_TRUE(app.WaitExit(10000, &code)) << "the process did not end";
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(IsWindow(frameWnd));

        const auto requests = Requests(port);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].method, "GET");
        EXPECT_EQ(requests[0].path, path);

        EXPECT_EQ(AppIniValue(L"channel"), L"darozeved");
        EXPECT_EQ(AppIniValue(L"active"), L"1");

        const std::wstring data = DataFolder();
        std::vector<std::wstring> exes;
        for (const auto& name : FileNames(data))
            if (name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0)
                exes.push_back(name);
        ASSERT_EQ(exes.size(), 1u);
        EXPECT_TRUE(IsGuidExeName(exes[0])) << Narrow(exes[0]);
        EXPECT_EQ(FileSize(data + L"\\" + exes[0]), FileSize(Env(served))) << "download incomplete";

        std::wstring program, args;
        SplitCommandLine(ReadWideFile(data + L"\\handoff-args.txt"), &program, &args);
        EXPECT_EQ(Narrow(args), Narrow(L"-instdir=" + folder + L" -dsc=true"));
        EXPECT_EQ(lstrcmpiW(program.c_str(), (data + L"\\" + exes[0]).c_str()), 0) << Narrow(program);
    }

    std::wstring log_;
    size_t seen_ = 0;
};

TEST_F(InstallerE2E, InstallDownloadsOnceHandsOverAndClosesAfterTheFullSetupIsActive)
{
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_OK");
    ASSERT_NE(frameWnd, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(frameWnd, caption, 64);
    EXPECT_STREQ(caption, kCaption);
    RECT client{};
    GetClientRect(frameWnd, &client);
    const int scale = ScalePercent(frameWnd, kFrameWidth);
    EXPECT_EQ(client.bottom, 420 * scale / 100);
    EXPECT_GE(app.VisibleCount(kShadowClass), 1) << "no drop shadow";
    const std::wstring folder = ProgramFilesFolder() + L"\\Velmora";
    EXPECT_EQ(folder, L"C:\\Program Files (x86)\\Velmora") << "the 32-bit programs' folder in every build";
    EXPECT_NE(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "default folder not made at start";

    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    ExpectInstallRunsToTheEnd(app, frameWnd, Port(L"ZV_E2E_OK_PORT"), folder);
}

TEST_F(InstallerE2E, FailedDownloadIsTriedThreeTimesThenOffersTheWayBack)
{
    const int port = Port(L"ZV_E2E_FAIL_PORT");
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_FAIL");
    ASSERT_NE(frameWnd, nullptr);

    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    HWND box = ExpectFailureAfterThreeAttempts(app, frameWnd, port, kDownloadPath);
    ASSERT_NE(box, nullptr);

    // "确定" goes back to the start page.
    Answer(app, box, box::kOk);
    EXPECT_TRUE(app.WaitPage(0, kAfterBox));
    ExpectUndimmed(frameWnd);

    // A second try downloads again; "取消" in its failure box stays on the progress page.
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    box = app.WaitBox(20000);
    ASSERT_NE(box, nullptr) << "no failure box on the second try";
    EXPECT_EQ(Requests(port).size(), 6u);
    Answer(app, box, box::kCancel);
    EXPECT_TRUE(app.WaitPage(2, kAfterBox));
    EXPECT_FALSE(IsAccent(WindowPixel(frameWnd, kFrameWidth, frame::kProgressStart)));

    // Closing the progress page asks first; "确定" ends the program.
    box = AskToClose(app, frameWnd, frame::kClose);
    ASSERT_NE(box, nullptr);
    ExpectBoxOverDimmedFrame(box, frameWnd);
    Answer(app, box, box::kOk);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(app.VisibleCount(kShadowClass), 0);
}

TEST_F(InstallerE2E, ACloseConfirmedWhileTheDownloadRunsEndsTheProgram)
{
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_FAIL");
    ASSERT_NE(frameWnd, nullptr);
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    ASSERT_TRUE(app.WaitPage(2, 5000)) << "progress page not shown";
    HWND box = AskToClose(app, frameWnd, frame::kClose);
    ASSERT_NE(box, nullptr);
    EXPECT_LT(Requests(Port(L"ZV_E2E_FAIL_PORT")).size(), 3u) << "the download had already ended";
    ClickIn(box, kMsgBoxWidth, box::kOk);
    // The failure that the running download still reports must not bring up a box.
    int mostBoxes = 0;
    DWORD code = 1234;
    ASSERT_TRUE(WaitExitCountingBoxes(app, &code, &mostBoxes)) << "the program did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_LE(mostBoxes, 1);
}

TEST_F(InstallerE2E, AFailureArrivingUnderTheCloseQuestionWaitsForItsAnswer)
{
    CInstaller app;
    HWND frameWnd = nullptr;
    HWND question = HoldTheCloseQuestionOverTheFailure(app, &frameWnd);
    ASSERT_NE(question, nullptr);

    // "取消" keeps the program; the failure comes next, on its own.
    ClickIn(question, kMsgBoxWidth, box::kCancel);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, kAfterBox)) << "the question stays open";
    HWND failure = app.WaitBox(kAfterBox);
    ASSERT_NE(failure, nullptr) << "the held failure was never shown";
    EXPECT_EQ(app.VisibleCount(kMsgBoxClass), 1);
    EXPECT_FALSE(IsWindowEnabled(frameWnd));
    Answer(app, failure, box::kOk);
    EXPECT_TRUE(app.WaitPage(0, kAfterBox)) << "the failure's 确定 did not lead back";
    ExpectUndimmed(frameWnd);
    EXPECT_EQ(Requests(Port(L"ZV_E2E_FAIL_PORT")).size(), 3u);
}

TEST_F(InstallerE2E, AConfirmedCloseWinsOverAFailureThatArrivedMeanwhile)
{
    CInstaller app;
    HWND frameWnd = nullptr;
    HWND question = HoldTheCloseQuestionOverTheFailure(app, &frameWnd);
    ASSERT_NE(question, nullptr);

    ClickIn(question, kMsgBoxWidth, box::kOk);
    int mostBoxes = 0;
    DWORD code = 1234;
    ASSERT_TRUE(WaitExitCountingBoxes(app, &code, &mostBoxes)) << "确定 on the question did not end the program";
    EXPECT_EQ(code, 0u);
    EXPECT_LE(mostBoxes, 1) << "the failure was shown after the close was confirmed";
}

TEST_F(InstallerE2E, ClosingAsksFirstOnTheStartAndCustomPages)
{
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_OK");
    ASSERT_NE(frameWnd, nullptr);

    ExpectCancelledCloseStaysOn(app, frameWnd, frame::kClose, 0);

    ClickIn(frameWnd, kFrameWidth, frame::kCustom);
    ASSERT_TRUE(app.WaitPage(1, 5000)) << "custom page not shown";
    ExpectCancelledCloseStaysOn(app, frameWnd, frame::kClosePage1, 1);

    ClickIn(frameWnd, kFrameWidth, frame::kBack);
    ASSERT_TRUE(app.WaitPage(0, 5000)) << "back did not return to the start page";
    HWND box = AskToClose(app, frameWnd, frame::kClose);
    ASSERT_NE(box, nullptr);
    Answer(app, box, box::kOk);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(Requests(Port(L"ZV_E2E_OK_PORT")).empty()) << "closing downloaded something";
}

TEST_F(InstallerE2E, FolderChosenOnTheCustomPageIsHandedOver)
{
    const std::wstring chosen = L"C:\\e2e-dest";
    CreateDirectoryW(chosen.c_str(), nullptr);
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_OK");
    ASSERT_NE(frameWnd, nullptr);

    ClickIn(frameWnd, kFrameWidth, frame::kCustom);
    ASSERT_TRUE(app.WaitPage(1, 5000)) << "custom page not shown";
    ClickIn(frameWnd, kFrameWidth, frame::kModify);
    HWND picker = app.WaitWindow(kPickerClass, 10000);
    ASSERT_NE(picker, nullptr) << "no folder picker";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), frameWnd);
    Sleep(300);  // the picker fills its tree once it is up
    ASSERT_TRUE(ChooseInPicker(picker, chosen));
    ASSERT_TRUE(app.WaitNoWindow(kPickerClass, 10000));
    EXPECT_TRUE(app.WaitPage(1, 3000));

    ClickIn(frameWnd, kFrameWidth, frame::kInstallPage1);
    ExpectInstallRunsToTheEnd(app, frameWnd, Port(L"ZV_E2E_OK_PORT"), chosen + L"\\Velmora");
}

// A host that answers chunked with no length: the whole transfer is started, one cut before its
// last chunk (after the program's sections, so that the cut file would still start) never is.
TEST_F(InstallerE2E, AChunkedDownloadWithItsLastChunkIsHandedOver)
{
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_CHUNKED");
    ASSERT_NE(frameWnd, nullptr);
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    ExpectInstallRunsToTheEnd(app, frameWnd, Port(L"ZV_E2E_OK_PORT"), ProgramFilesFolder() + L"\\Velmora",
                              std::string("/chunked") + kDownloadPath, L"ZV_E2E_SIGNED_SETUP");
}

TEST_F(InstallerE2E, AChunkedDownloadCutBeforeItsLastChunkIsNeverStarted)
{
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_CUT");
    ASSERT_NE(frameWnd, nullptr);
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    HWND box = ExpectFailureAfterThreeAttempts(app, frameWnd, Port(L"ZV_E2E_OK_PORT"),
                                               std::string("/chunked-cut") + kDownloadPath);
    const std::wstring data = DataFolder();
    EXPECT_EQ(GetFileAttributesW((data + L"\\handoff-args.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the cut file was started: " << Narrow(ReadWideFile(data + L"\\handoff-args.txt"));
    for (const auto& name : FileNames(data))
        EXPECT_FALSE(name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0) << "left: " << Narrow(name);
    ASSERT_NE(box, nullptr);
    Answer(app, box, box::kOk);
    EXPECT_TRUE(app.WaitPage(0, kAfterBox)) << "the failure's 确定 did not lead back";
}

// Windows will not start a program whose manifest names another architecture than its own.
TEST(InstallerProgram, ManifestNamesTheProgramsOwnArchitectureAndAsksForAdministrator)
{
    const std::wstring exe = Env(L"ZV_E2E_INSTALLER_OK");
    ASSERT_FALSE(exe.empty()) << "run through run_e2e.sh";
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(image, found)));
    const std::string manifest(text, SizeofResource(image, found));
    FreeLibrary(image);

    const size_t identity = manifest.find("<assemblyIdentity");
    ASSERT_NE(identity, std::string::npos);
    const std::string own = manifest.substr(identity, manifest.find("/>", identity) - identity);
    const char* arch = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(own.find(arch), std::string::npos) << own;
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
}

TEST_F(InstallerE2E, InstallOverHttpsWithACertificateTrustedInThePrefix)
{
    if (Env(L"ZV_E2E_INSTALLER_TLS").empty())
        GTEST_SKIP() << "no test certificate could be made or trusted";
    CInstaller app;
    HWND frameWnd = Launch(app, L"ZV_E2E_INSTALLER_TLS");
    ASSERT_NE(frameWnd, nullptr);
    ClickIn(frameWnd, kFrameWidth, frame::kInstall);
    ExpectInstallRunsToTheEnd(app, frameWnd, Port(L"ZV_E2E_TLS_PORT"), ProgramFilesFolder() + L"\\Velmora");
}

}  // namespace
