// The downloader interface and the status codes it reports.
#pragma once

#include <functional>

enum DownloadStatus : int {
    kDownloadStarted = 1001,  // value 1
    kDownloadProgress = 1002, // value: bytes so far / total, 0 to 1
    kDownloadDone = 1003,     // value 0 (the final result)
    kDownloadFailed = 1004,   // value: the last failing HRESULT (signed), or 1 for an empty target path
    kDownloadRestart = 1005,  // sent by nothing; a receiver answers it by starting again
};

// Called on the download's worker thread with a status code and its value. A window owner
// must not touch its controls here: it posts code and value to its window and handles them
// on the UI thread.
using DownloadStatusCallback = std::function<void(int code, double value)>;

class CDownloader {
public:
    virtual ~CDownloader() = default;
    // Starts one download run; false while a run is in progress or when no thread could be made.
    [[nodiscard]] virtual bool Start() = 0;
};
