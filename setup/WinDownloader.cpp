#include "WinDownloader.h"

#include "ProgramFileCheck.h"
#include "UrlCache.h"
#include "util/StringUtil.h"
#include "util/UrlCoding.h"

#include <utility>

namespace {

constexpr int kAttempts = 3;
constexpr DWORD kRetryDelayMs = 1000;
constexpr wchar_t kThreadName[] = L"ABDEF";

ULONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

// --- bind callback ---

CWinDownloader::CBindCallback::~CBindCallback()
{
    m_abort = true;
}

STDMETHODIMP CWinDownloader::CBindCallback::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnStartBinding(DWORD, IBinding*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnLowResource(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR)
{
    if (m_abort)
        return E_ABORT;
    if (statusCode == BINDSTATUS_DOWNLOADINGDATA || statusCode == BINDSTATUS_ENDDOWNLOADDATA) {
        // Under Wine these reports come only when the reads catch up with the host, and an abort
        // at the end is ignored: the downloader checks the file's size again afterwards.
        if (progress > m_byteLimit || progressMax > m_byteLimit)
            return E_ABORT;
        if (progressMax > m_announcedBytes)
            m_announcedBytes = progressMax;
    }
    if (progressMax != 0 && m_statusCallback)
        m_statusCallback(kDownloadProgress, static_cast<double>(progress) / static_cast<double>(progressMax));
    return S_OK;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnStopBinding(HRESULT, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* bindInfo)
{
    if (bindInfo)
        bindInfo->dwCodePage = CP_UTF8;
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWinDownloader::CBindCallback::GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*)
{
    return E_NOTIMPL;
}

// --- downloader ---

CWinDownloader::CWinDownloader(DownloadStatusCallback statusCallback, std::wstring url, std::wstring targetPath,
                               ULONGLONG maxBytes)
    : m_statusCallback(std::move(statusCallback)), m_targetPath(std::move(targetPath)), m_url(std::move(url))
{
    m_bindCallback.SetByteLimit(maxBytes);
    m_worker = MakeWorker();
}

CWinDownloader::~CWinDownloader()
{
    if (m_worker) {
        if (!m_workerStarted)
            (void)m_worker->Resume(); // the body sees no run requested and returns at once
        m_worker->Join();
    }
    ClearUrlCache();
}

bool CWinDownloader::Start()
{
    if (!m_worker || GetCurrentThreadId() == m_worker->GetId())
        return false;
    if (m_workerStarted) {
        if (!m_worker->HasEnded())
            return false;
        m_worker = MakeWorker();
        m_workerStarted = false;
        if (!m_worker)
            return false;
    }
    // Copied here, before the run begins, so the worker reads it without a lock.
    m_bindCallback.SetStatusCallback(m_statusCallback);
    m_runRequested = true;
    m_workerStarted = m_worker->Resume();
    if (!m_workerStarted)
        m_runRequested = false;
    return m_workerStarted;
}

std::unique_ptr<CWorkerThread> CWinDownloader::MakeWorker()
{
    auto worker = std::make_unique<CWorkerThread>(&CWinDownloader::DownloadThread, this, kThreadName);
    if (!worker->IsCreated())
        return nullptr;
    return worker;
}

int CWinDownloader::DownloadThread(void* downloader)
{
    auto* self = static_cast<CWinDownloader*>(downloader);
    if (self->m_runRequested)
        self->Run();
    return 0;
}

void CWinDownloader::Report(int code, double value) const
{
    if (m_statusCallback)
        m_statusCallback(code, value);
}

HRESULT CWinDownloader::DownloadOnce(const std::wstring& url)
{
    m_bindCallback.BeginAttempt();
    HRESULT result = URLDownloadToFileW(nullptr, url.c_str(), m_targetPath.c_str(), 0, &m_bindCallback);
    if (result == S_OK && !IsWholeDownload())
        result = INET_E_DOWNLOAD_FAILURE;
    // An aborted or failed transfer can leave its part behind: nothing of it may be started.
    if (result != S_OK)
        DeleteFileW(m_targetPath.c_str());
    return result;
}

bool CWinDownloader::IsWholeDownload() const
{
    // A connection that ends before the body's end still gives S_OK, with a length announced or
    // not, chunked or not: urlmon tells the bind callback nothing else either (not under Wine,
    // and its documentation promises nothing more). The file must have the announced size and
    // be a whole program by its own headers.
    const ULONGLONG size = FileSize(m_targetPath);
    const ULONG announced = m_bindCallback.GetAnnouncedBytes();
    if (size == 0 || size > m_bindCallback.GetByteLimit() || (announced != 0 && size != announced))
        return false;
    return IsWholeProgramFile(m_targetPath);
}

void CWinDownloader::Run()
{
    const HRESULT com = CoInitialize(nullptr);
    Report(kDownloadStarted, 1);
    if (m_targetPath.empty()) {
        Report(kDownloadFailed, 1);
    } else {
        const std::wstring url = ZVCore::StartsWith(m_url, L"file:///") ? m_url : ZVCore::UrlEncodeWide(m_url);
        HRESULT result = E_FAIL;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            result = DownloadOnce(url);
            if (result == S_OK)
                break;
            Sleep(kRetryDelayMs);
        }
        if (result == S_OK)
            Report(kDownloadDone, 0);
        else
            Report(kDownloadFailed, static_cast<double>(result));
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}
