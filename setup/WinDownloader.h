// The downloader on urlmon: one file fetched with URLDownloadToFileW on a worker thread.
#pragma once

#include "Downloader.h"
#include "WorkerThread.h"

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <memory>
#include <string>

// The most a download may bring: the full setup is tens of MB, and a host that sends without end
// must not fill the user's disk.
constexpr ULONGLONG kMaxDownloadBytes = 2ULL << 30;

class CWinDownloader : public CDownloader {
public:
    // Progress of one download. Lives inside the downloader, so it is not reference counted.
    class CBindCallback : public IBindStatusCallbackEx {
    public:
        CBindCallback() = default;
        virtual ~CBindCallback();

        void SetStatusCallback(DownloadStatusCallback callback) { m_statusCallback = std::move(callback); }
        // A transfer announcing or passing more than limit bytes is aborted.
        void SetByteLimit(ULONGLONG limit) { m_byteLimit = limit; }
        [[nodiscard]] ULONGLONG GetByteLimit() const { return m_byteLimit; }
        // Forgets the size announced by the previous attempt.
        void BeginAttempt() { m_announcedBytes = 0; }
        // The largest total the transfer announced; 0 when it announced none.
        [[nodiscard]] ULONG GetAnnouncedBytes() const { return m_announcedBytes; }

        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 0; }
        STDMETHODIMP_(ULONG) Release() override { return 0; }

        STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
        STDMETHODIMP GetPriority(LONG* priority) override;
        STDMETHODIMP OnLowResource(DWORD reserved) override;
        STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override;
        STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
        STDMETHODIMP GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
        STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
        STDMETHODIMP OnObjectAvailable(REFIID iid, IUnknown* object) override;
        STDMETHODIMP GetBindInfoEx(DWORD* bindFlags, BINDINFO* bindInfo, DWORD* bindFlags2, DWORD* reserved) override;

    private:
        DownloadStatusCallback m_statusCallback;
        std::atomic<bool> m_abort{false};
        ULONG m_announcedBytes = 0;
        ULONGLONG m_byteLimit = kMaxDownloadBytes;
    };

    // The callback runs on the worker thread (see DownloadStatusCallback). Tests lower maxBytes.
    CWinDownloader(DownloadStatusCallback statusCallback, std::wstring url, std::wstring targetPath,
                   ULONGLONG maxBytes = kMaxDownloadBytes);
    // Waits for a run in progress, then clears the URL cache except cookies.
    ~CWinDownloader() override;
    CWinDownloader(const CWinDownloader&) = delete;
    CWinDownloader& operator=(const CWinDownloader&) = delete;

    // Call from the owner's thread, not from the status callback. A run ends with exactly
    // one 1003 or 1004.
    [[nodiscard]] bool Start() override;

private:
    static int DownloadThread(void* downloader);
    void Run();
    void Report(int code, double value) const;
    [[nodiscard]] HRESULT DownloadOnce(const std::wstring& url);
    [[nodiscard]] bool IsWholeDownload() const;
    [[nodiscard]] std::unique_ptr<CWorkerThread> MakeWorker();

    CBindCallback m_bindCallback;
    DownloadStatusCallback m_statusCallback;
    std::wstring m_targetPath;
    std::wstring m_url;
    std::unique_ptr<CWorkerThread> m_worker;
    bool m_workerStarted = false;         // owner's thread only
    std::atomic<bool> m_runRequested{false}; // set before the worker is resumed
};
