// The costliest input each image rule accepts, and the ones it now refuses, loaded once each
// through the cached-bitmap path and the GDI+ path: time and peak memory (committed private
// bytes, sampled every millisecond) over the load. Not a test: run by hand under Wine.
#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ImageBytes.h"
#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"
#include "render/UIImageLimits.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

double NowMs()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Committed private memory of the process: under Wine the peak fields of GetProcessMemoryInfo
// are not peaks.
long long CommittedPrivate()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (const BYTE* at = nullptr; ::VirtualQuery(at, &info, sizeof(info)) == sizeof(info);
         at = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<long long>(info.RegionSize);
    }
    return total;
}

class PeakWatch {
public:
    PeakWatch() : m_base(CommittedPrivate()), m_peak(m_base)
    {
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                const long long now = CommittedPrivate();
                if (now > m_peak.load())
                    m_peak.store(now);
                ::Sleep(1);
            }
        });
    }
    PeakWatch(const PeakWatch&) = delete;
    PeakWatch& operator=(const PeakWatch&) = delete;
    ~PeakWatch() { Stop(); }
    double StopMiB()
    {
        Stop();
        const long long now = CommittedPrivate();
        const long long peak = now > m_peak.load() ? now : m_peak.load();
        return static_cast<double>(peak - m_base) / (1024.0 * 1024.0);
    }

private:
    void Stop()
    {
        m_stop.store(true);
        if (m_thread.joinable())
            m_thread.join();
    }
    long long m_base;
    std::atomic<long long> m_peak;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// CPU time of this thread: less at the mercy of a loaded machine than the wall clock.
double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

struct Case {
    const char* name;
    const wchar_t* file;
    std::function<Bytes()> make;
};

} // namespace

int main(int argc, char** argv)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zvimagerulecost\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    CPaintManagerUI::SetResourceFolder(folder.c_str());

    // The widest costly PNG at its limit keeps the 16:9 shape's width.
    const unsigned costlyHeight = static_cast<unsigned>(kMaxPngCostlyPixels / 3840);
    const unsigned costliestHeight = static_cast<unsigned>(kMaxPngCostliestPixels / 3840);
    const std::vector<Case> cases = {
        {"PNG 8-bit RGBA 3840x2160 Paeth", L"png8.png", [] { return MakeShapedPng(3840, 2160, 8, 6, false, 4); }},
        {"PNG 16-bit RGBA 3840x2160 Paeth", L"png16full.png", [] { return MakeShapedPng(3840, 2160, 16, 6, false, 4); }},
        {"PNG 16-bit RGBA interlaced 3840x2160", L"png16ifull.png",
         [] { return MakeShapedPng(3840, 2160, 16, 6, true, 4); }},
        {"PNG 16-bit RGBA Paeth at its limit", L"png16.png",
         [&] { return MakeShapedPng(3840, costlyHeight, 16, 6, false, 4); }},
        {"PNG 8-bit RGBA interlaced at its limit", L"png8i.png",
         [&] { return MakeShapedPng(3840, costlyHeight, 8, 6, true, 4); }},
        {"PNG 16-bit RGBA interlaced at its limit", L"png16i.png",
         [&] { return MakeShapedPng(3840, costliestHeight, 16, 6, true, 4); }},
        {"PNG grey 3840x2160, data x8", L"grey8x.png",
         [] { return MakeShapedPng(3840, 2160, 8, 0, false, 0, 7ll * 3841 * 2160); }},
        {"JPEG progressive CMYK 4K, 8 planes", L"prog8.jpg", [] { return MakeCostlyProgressiveJpeg(3840, 2160, 0); }},
        {"JPEG progressive CMYK 4K, 16 planes", L"prog16.jpg", [] { return MakeCostlyProgressiveJpeg(3840, 2160, 2); }},
        {"JPEG progressive CMYK 4K, 24 planes", L"prog24.jpg", [] { return MakeCostlyProgressiveJpeg(3840, 2160, 4); }},
        {"JPEG progressive CMYK 4K, 32 planes", L"prog32.jpg", [] { return MakeCostlyProgressiveJpeg(3840, 2160, 6); }},
        {"GIF 1x1, long codes, 512 KB", L"long.gif", [] { return MakeGifLongCodes(512 * 1024); }},
        {"GIF frames at the cap, 16x16", L"frames.gif",
         [] { return MakeGifFrames(static_cast<unsigned>(kMaxGifFrames)); }},
        {"GIF frames at the cap, 3840x2160", L"frames4k.gif",
         [] { return MakeGifFrames(static_cast<unsigned>(kMaxGifFrames), 3840, 2160); }},
        {"GIF 100,000 frames", L"frames100k.gif", [] { return MakeGifFrames(100000); }},
    };
    const char* only = argc > 1 ? argv[1] : nullptr;
    std::printf("%-40s %9s | %-10s %8s %8s %9s | %-11s %8s %8s %9s\n", "input", "bytes", "bitmap", "ms", "cpu ms",
                "peak MiB", "GDI+", "ms", "cpu ms", "peak MiB");
    for (const Case& c : cases) {
        if (only != nullptr && std::strstr(c.name, only) == nullptr)
            continue;
        size_t size = 0;
        {
            const Bytes bytes = c.make();
            size = bytes.size();
            WriteBytes(folder + c.file, bytes);
        }
        char bitmap[32] = "refused";
        PeakWatch watch;
        double start = NowMs();
        double cpu = ThreadCpuMs();
        UIImageInfo* image = CUIRender::LoadImage(c.file, nullptr, 0, nullptr);
        const double loadMs = NowMs() - start;
        const double loadCpu = ThreadCpuMs() - cpu;
        if (image != nullptr)
            std::snprintf(bitmap, sizeof(bitmap), "%dx%d", image->width, image->height);
        CUIRender::FreeImage(image, true);
        const double loadMiB = watch.StopMiB();

        char gdip[32] = "refused";
        PeakWatch gdipWatch;
        start = NowMs();
        cpu = ThreadCpuMs();
        {
            std::unique_ptr<Gdiplus::Image> animation(CUIRender::LoadGdiplusImage(c.file));
            if (animation != nullptr) {
                GUID dimension = {};
                UINT frames = 0;
                if (animation->GetFrameDimensionsList(&dimension, 1) == Gdiplus::Ok)
                    frames = animation->GetFrameCount(&dimension);
                // What the animated GIF control reads next.
                const UINT delays = animation->GetPropertyItemSize(0x5100);
                std::vector<BYTE> item(delays > 0 ? delays : 1);
                if (delays > 0)
                    (void)animation->GetPropertyItem(0x5100, delays, reinterpret_cast<Gdiplus::PropertyItem*>(item.data()));
                std::snprintf(gdip, sizeof(gdip), "%u frame%s", frames, frames == 1 ? "" : "s");
            }
        }
        const double gdipMs = NowMs() - start;
        const double gdipCpu = ThreadCpuMs() - cpu;
        const double gdipMiB = gdipWatch.StopMiB();
        std::printf("%-40s %9zu | %-10s %8.1f %8.1f %9.1f | %-11s %8.1f %8.1f %9.1f\n", c.name, size, bitmap, loadMs,
                    loadCpu, loadMiB, gdip, gdipMs, gdipCpu, gdipMiB);
        std::fflush(stdout);
        ::DeleteFileW((folder + c.file).c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
    CPaintManagerUI::SetResourceFolder(L"");
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
