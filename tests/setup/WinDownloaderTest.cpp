#include "AppIni.h"
#include "DataFolder.h"
#include "InstallOptions.h"
#include "SetupHandOff.h"
#include "TestFolder.h"
#include "WinDownloader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

namespace {

const std::wstring kQuery = L"/openapi/download?ch=10009&app=50001";

struct Status {
    int code;
    double value;
    DWORD tick;
    DWORD thread;
    std::wstring threadName;
};

std::wstring CurrentThreadName()
{
    using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    for (const wchar_t* module : {L"kernel32.dll", L"kernelbase.dll"}) {
        HMODULE loaded = GetModuleHandleW(module);
        FARPROC found = loaded ? GetProcAddress(loaded, "GetThreadDescription") : nullptr;
        if (!found)
            continue;
        PWSTR name = nullptr;
        std::wstring result;
        if (SUCCEEDED(reinterpret_cast<GetDescription>(reinterpret_cast<void*>(found))(GetCurrentThread(), &name)) &&
            name) {
            result = name;
            LocalFree(name);
        }
        return result;
    }
    return L"<unsupported>";
}

// Collects the statuses that arrive on the worker thread.
class CStatusLog {
public:
    DownloadStatusCallback Callback()
    {
        return [this](int code, double value) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_statuses.push_back({code, value, GetTickCount(), GetCurrentThreadId(), CurrentThreadName()});
            if (code == kDownloadDone || code == kDownloadFailed)
                ++m_ends;
            m_changed.notify_all();
        };
    }

    // Waits up to a minute for the count-th end of a run, then a while longer to catch any
    // status that should not come.
    bool WaitForEnds(int count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const bool ended = m_changed.wait_for(lock, std::chrono::seconds(60), [&] { return m_ends >= count; });
        lock.unlock();
        Sleep(1500);
        return ended;
    }

    std::vector<Status> Statuses()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_statuses;
    }

    std::vector<int> Codes()
    {
        std::vector<int> codes;
        for (const Status& s : Statuses()) {
            if (codes.empty() || s.code != kDownloadProgress || codes.back() != kDownloadProgress)
                codes.push_back(s.code); // runs of progress collapse into one
        }
        return codes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Status> m_statuses;
    int m_ends = 0;
};

std::wstring Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

std::wstring HttpUrl(const std::wstring& prefix)
{
    return L"http://127.0.0.1:" + Env("ZV_TEST_HTTP_PORT") + prefix + kQuery;
}

// Number of requests the server logged for path (its request line without "GET ").
int RequestCount(const std::wstring& path)
{
    std::ifstream log(Env("ZV_TEST_REQUEST_LOG").c_str());
    const std::string wanted = "GET " + std::string(path.begin(), path.end());
    int count = 0;
    for (std::string line; std::getline(log, line);)
        count += line == wanted ? 1 : 0;
    return count;
}

std::vector<char> ReadWholeFile(const std::wstring& path)
{
    std::vector<char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    CloseHandle(file);
    return bytes;
}

// The server's payload: the full setup made to look signed.
bool IsPayload(const std::vector<char>& bytes)
{
    const std::vector<char> payload = ReadWholeFile(Env("ZV_TEST_PAYLOAD"));
    return !payload.empty() && bytes == payload;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ExpectOneCompleteRun(CStatusLog& log, int end)
{
    const std::vector<Status> statuses = log.Statuses();
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_EQ(statuses.front().code, kDownloadStarted);
    EXPECT_EQ(statuses.front().value, 1);
    EXPECT_EQ(statuses.back().code, end);
    for (size_t i = 1; i + 1 < statuses.size(); ++i) {
        EXPECT_EQ(statuses[i].code, kDownloadProgress);
        EXPECT_GE(statuses[i].value, 0.0);
        EXPECT_LE(statuses[i].value, 1.0);
    }
}

class WinDownloaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Env("ZV_TEST_HTTP_PORT").empty())
            GTEST_SKIP() << "no test server (run through run_download_test.sh)";
    }
};

} // namespace

// --- bind callback ---

TEST(BindCallback, HandsOutOnlyItsOwnInterfaces)
{
    CWinDownloader::CBindCallback callback;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(callback.QueryInterface(IID_IHttpNegotiate, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(callback.QueryInterface(IID_IBindStatusCallbackEx, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(callback.QueryInterface(IID_IBindStatusCallback, &object), S_OK);
    EXPECT_EQ(object, static_cast<IBindStatusCallback*>(&callback));
    EXPECT_EQ(callback.QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<IUnknown*>(&callback));
    EXPECT_EQ(callback.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(BindCallback, ReportsProgressOnlyWithAKnownTotal)
{
    std::vector<std::pair<int, double>> seen;
    CWinDownloader::CBindCallback callback;
    callback.SetStatusCallback([&seen](int code, double value) { seen.emplace_back(code, value); });
    EXPECT_EQ(callback.OnProgress(10, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(1, 4, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(0x80000000, 0x80000000, BINDSTATUS_ENDDOWNLOADDATA, nullptr), S_OK);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(int(kDownloadProgress), 0.25));
    EXPECT_EQ(seen[1], std::make_pair(int(kDownloadProgress), 1.0));
}

TEST(BindCallback, AbortsATransferPastItsByteLimit)
{
    CWinDownloader::CBindCallback standard;
    EXPECT_EQ(standard.OnProgress(0x80000000, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK); // 2 GiB
    EXPECT_EQ(standard.OnProgress(0x80000001, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
    EXPECT_EQ(standard.OnProgress(10, 0x80000001, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);

    CWinDownloader::CBindCallback lowered;
    lowered.SetByteLimit(1000);
    EXPECT_EQ(lowered.OnProgress(1000, 1000, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    EXPECT_EQ(lowered.OnProgress(1001, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
    EXPECT_EQ(lowered.OnProgress(1001, 0, BINDSTATUS_ENDDOWNLOADDATA, nullptr), E_ABORT);
    EXPECT_EQ(lowered.OnProgress(10, 1001, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT) << "announced past it";
}

TEST(BindCallback, AsksForUtf8)
{
    CWinDownloader::CBindCallback callback;
    BINDINFO info = {};
    info.cbSize = sizeof(info);
    DWORD flags = 0;
    callback.GetBindInfo(&flags, &info);
    EXPECT_EQ(info.dwCodePage, static_cast<DWORD>(CP_UTF8));
    callback.GetBindInfo(&flags, nullptr); // no record: nothing to fill
}

// --- downloads from the loopback server ---

TEST_F(WinDownloaderTest, DownloadsOnceIntoTheGuidFile)
{
    CTestFolder data(L"dl-happy");
    const std::wstring target = MakeDownloadTarget(data.Path());
    const int before = RequestCount(kQuery);
    CStatusLog log;
    {
        CWinDownloader downloader(log.Callback(), HttpUrl(L""), target);
        ASSERT_TRUE(downloader.Start());
        ASSERT_TRUE(log.WaitForEnds(1));
    }
    ExpectOneCompleteRun(log, kDownloadDone);
    const std::vector<Status> statuses = log.Statuses();
    EXPECT_EQ(statuses.back().value, 0);
    EXPECT_GT(statuses.size(), 2u) << "no progress reported";
    for (const Status& s : statuses) {
        EXPECT_NE(s.thread, GetCurrentThreadId()); // all on the worker thread
        if (s.threadName != L"<unsupported>") {
            EXPECT_EQ(s.threadName, L"ABDEF");
        }
    }
    EXPECT_EQ(RequestCount(kQuery) - before, 1);
    EXPECT_TRUE(IsPayload(ReadWholeFile(target)));
}

TEST_F(WinDownloaderTest, RefusedConnectionFailsAfterThreeAttemptsOneSecondApart)
{
    CTestFolder data(L"dl-refused");
    const std::wstring url = L"http://127.0.0.1:" + Env("ZV_TEST_CLOSED_PORT") + kQuery;
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), url, MakeDownloadTarget(data.Path()));
    const DWORD begin = GetTickCount();
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    EXPECT_EQ(log.Codes(), (std::vector<int>{kDownloadStarted, kDownloadFailed}));
    const Status failed = log.Statuses().back();
    EXPECT_LT(failed.value, 0) << "a failing HRESULT";
    EXPECT_GE(failed.tick - begin, 2900u); // three attempts, each followed by a second's pause
    EXPECT_LT(failed.tick - begin, 30000u);
}

TEST_F(WinDownloaderTest, DroppedConnectionsAreRetried)
{
    CTestFolder data(L"dl-flaky");
    const std::wstring target = MakeDownloadTarget(data.Path());
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), HttpUrl(L"/flaky"), target);
    const DWORD begin = GetTickCount();
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    ExpectOneCompleteRun(log, kDownloadDone);
    EXPECT_GE(log.Statuses().back().tick - begin, 1900u);
    EXPECT_GE(RequestCount(L"/flaky" + kQuery), 3);
    EXPECT_TRUE(IsPayload(ReadWholeFile(target)));
}

TEST_F(WinDownloaderTest, BrokenTransferIsAFailure)
{
    CTestFolder data(L"dl-broken");
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), HttpUrl(L"/broken"), MakeDownloadTarget(data.Path()));
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    ExpectOneCompleteRun(log, kDownloadFailed);
    EXPECT_EQ(RequestCount(L"/broken" + kQuery), 3);
}

TEST_F(WinDownloaderTest, AChunkedTransferWithItsLastChunkIsDone)
{
    CTestFolder data(L"dl-chunked");
    const std::wstring target = MakeDownloadTarget(data.Path());
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), HttpUrl(L"/chunked"), target);
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    ExpectOneCompleteRun(log, kDownloadDone);
    EXPECT_EQ(RequestCount(L"/chunked" + kQuery), 1);
    EXPECT_TRUE(IsPayload(ReadWholeFile(target)));
}

// urlmon ends each of these in S_OK with what arrived on disk; none of it may count as done.
TEST_F(WinDownloaderTest, ACutOrForeignBodyIsTriedThreeTimesAndLeavesNoFile)
{
    constexpr ULONGLONG kLowered = 4 << 20;
    const struct {
        const wchar_t* prefix;
        ULONGLONG maxBytes;
        bool aborted; // stopped by the byte limit while it ran
    } cases[] = {
        {L"/chunked-cut", kMaxDownloadBytes, false}, // chunked, ends without its last chunk
        {L"/close-cut", kMaxDownloadBytes, false},   // no length, no chunking, closed early
        {L"/signin", kMaxDownloadBytes, false},      // a sign-in page with status 200
        {L"/endless", kLowered, true},
        {L"/flood", kLowered, false}, // progress may come only at the end: the size is checked then
    };
    for (const auto& c : cases) {
        const std::string name(c.prefix, c.prefix + wcslen(c.prefix));
        SCOPED_TRACE(name);
        CTestFolder data(L"dl-cut");
        const std::wstring target = MakeDownloadTarget(data.Path());
        CStatusLog log;
        CWinDownloader downloader(log.Callback(), HttpUrl(c.prefix), target, c.maxBytes);
        ASSERT_TRUE(downloader.Start());
        ASSERT_TRUE(log.WaitForEnds(1));
        ExpectOneCompleteRun(log, kDownloadFailed);
        EXPECT_EQ(RequestCount(c.prefix + kQuery), 3);
        EXPECT_FALSE(FileExists(target));
        const double result = log.Statuses().back().value;
        EXPECT_LT(result, 0);
        if (c.aborted) {
            EXPECT_EQ(result, static_cast<double>(E_ABORT));
        }
    }
}

TEST_F(WinDownloaderTest, EmptyTargetFailsOnceWithoutAnAttempt)
{
    CStatusLog log;
    const int before = RequestCount(kQuery);
    CWinDownloader downloader(log.Callback(), HttpUrl(L""), L"");
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    const std::vector<Status> statuses = log.Statuses();
    ASSERT_EQ(statuses.size(), 2u);
    EXPECT_EQ(statuses[0].code, kDownloadStarted);
    EXPECT_EQ(statuses[1].code, kDownloadFailed);
    EXPECT_EQ(statuses[1].value, 1);
    EXPECT_EQ(RequestCount(kQuery), before);
}

TEST_F(WinDownloaderTest, ASecondRunDownloadsAgainIntoTheSameFile)
{
    CTestFolder data(L"dl-again");
    const std::wstring target = MakeDownloadTarget(data.Path());
    const int before = RequestCount(kQuery);
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), HttpUrl(L""), target);
    ASSERT_TRUE(downloader.Start());
    EXPECT_FALSE(downloader.Start()); // one run at a time
    ASSERT_TRUE(log.WaitForEnds(1));
    DeleteFileW(target.c_str());
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(2));
    std::vector<int> codes = log.Codes();
    EXPECT_EQ(codes, (std::vector<int>{kDownloadStarted, kDownloadProgress, kDownloadDone, kDownloadStarted,
                                       kDownloadProgress, kDownloadDone}));
    EXPECT_EQ(RequestCount(kQuery) - before, 2);
    EXPECT_TRUE(IsPayload(ReadWholeFile(target)));
}

TEST_F(WinDownloaderTest, DownloadsOverHttpsFromLocalhost)
{
    if (Env("ZV_TEST_HTTPS_PORT").empty())
        GTEST_SKIP() << "no trusted HTTPS test server";
    CTestFolder data(L"dl-https");
    const std::wstring target = MakeDownloadTarget(data.Path());
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), L"https://localhost:" + Env("ZV_TEST_HTTPS_PORT") + kQuery, target);
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    ExpectOneCompleteRun(log, kDownloadDone);
    EXPECT_TRUE(IsPayload(ReadWholeFile(target)));
}

TEST_F(WinDownloaderTest, HandOffStartsTheDownloadedSetupWhichReportsActive)
{
    CTestFolder data(L"dl-handoff");
    const CAppIni ini(data.Path());
    ASSERT_TRUE(ini.PrepareInstall());
    const std::wstring target = MakeDownloadTarget(data.Path());
    CStatusLog log;
    CWinDownloader downloader(log.Callback(), HttpUrl(L"/fullsetup"), target);
    ASSERT_TRUE(downloader.Start());
    ASSERT_TRUE(log.WaitForEnds(1));
    ASSERT_EQ(log.Statuses().back().code, kDownloadDone);

    CInstallOptions& options = CInstallOptions::Instance();
    options.SetInstallFolder(L"C:\\Velmora Test");
    options.SetDesktopShortcut(false);
    ASSERT_TRUE(StartFullSetup(target));
    bool active = false;
    for (int i = 0; i < 100 && !active; ++i) {
        Sleep(108);
        active = ini.IsSetupActive();
    }
    EXPECT_TRUE(active);
    Sleep(200);
    const std::vector<char> args = ReadWholeFile(data.Sub(L"handoff-args.txt"));
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(args.data()), args.size() / sizeof(wchar_t));
    const std::wstring expected = L"-instdir=C:\\Velmora Test -dsc=false";
    ASSERT_GE(commandLine.size(), expected.size()) << commandLine;
    EXPECT_EQ(commandLine.substr(commandLine.size() - expected.size()), expected) << commandLine;
    options.SetDesktopShortcut(true);
}
