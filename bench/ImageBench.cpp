// Load and first draw of the largest image the loaders accept, in each format, through the
// cached-bitmap path and the GDI+ path; exits 1 when one takes 2 s or more.
#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchMedian.h"
#include "ImageBytes.h"
#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

constexpr double kGoalMs = 2000;

double NowMs()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A full-screen target: a 32-bit DIB of the image's own size, drawn 1:1 as a background is.
class Target {
public:
    Target(int width, int height)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    ~Target()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    HDC DC() const { return m_dc; }

private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

struct Sample {
    const char* format;
    const wchar_t* file;
    Bytes bytes;
};

struct Times {
    std::vector<double> load, draw, gdipLoad, gdipDraw;
};

void WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

// One run: a fresh manager, so the image is decoded again.
bool RunOnce(const Sample& sample, int width, int height, Times& times)
{
    const RECT rc = {0, 0, width, height};
    const std::wstring descriptor = std::wstring(L"file='") + sample.file + L"'";
    Target target(width, height);
    bool ok = true;
    {
        CPaintManagerUI manager;
        double start = NowMs();
        const UIImageInfo* image = manager.LoadImageCached(sample.file);
        times.load.push_back(NowMs() - start);
        ok = ok && image != nullptr && image->width == width && image->height == height;
        start = NowMs();
        ok = CUIRender::DrawImageString(target.DC(), &manager, rc, rc, descriptor.c_str(), nullptr, nullptr) && ok;
        ::GdiFlush();
        times.draw.push_back(NowMs() - start);
    }
    double start = NowMs();
    std::unique_ptr<Gdiplus::Image> gdip(CUIRender::LoadGdiplusImage(descriptor.c_str()));
    times.gdipLoad.push_back(NowMs() - start);
    ok = ok && gdip != nullptr;
    start = NowMs();
    if (gdip != nullptr) {
        Gdiplus::Graphics graphics(target.DC());
        ok = graphics.DrawImage(gdip.get(), 0, 0, width, height) == Gdiplus::Ok && ok;
    }
    ::GdiFlush();
    times.gdipDraw.push_back(NowMs() - start);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 3;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zvimagebench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    CPaintManagerUI::SetResourceFolder(folder.c_str());

    // The pixel limit at the widest side allowed is the same count as 3840 x 2160.
    const int width = 3840;
    const int height = static_cast<int>(kMaxImagePixels / width);
    const unsigned w = static_cast<unsigned>(width);
    const unsigned h = static_cast<unsigned>(height);
    std::vector<Sample> samples;
    samples.push_back({"PNG stored", L"big_stored.png", MakePng(w, h, true)});
    samples.push_back({"PNG deflated", L"big_deflated.png", MakeZeroPng(w, h)});
    samples.push_back({"JPEG", L"big.jpg", MakeJpeg(w, h, false)});
    samples.push_back({"BMP", L"big.bmp", MakeBmp(width, height)});
    samples.push_back({"GIF", L"big.gif", MakeGifPixels(w, h)});

    std::printf("ImageBench: largest accepted image %d x %d (limit %d on a side, %lld pixels), medians of %d runs\n",
                width, height, kMaxImageSide, kMaxImagePixels, runs);
    std::printf("%-13s %10s | %9s %9s %9s | %9s %9s %9s\n", "format", "bytes", "load", "draw", "total",
                "GDI+ load", "GDI+ draw", "total");
    bool allOk = true;
    for (const Sample& sample : samples) {
        WriteBytes(folder + sample.file, sample.bytes);
        Times times;
        bool ok = true;
        for (int i = 0; i < runs; ++i)
            ok = RunOnce(sample, width, height, times) && ok;
        const double load = BenchMedian(times.load);
        const double draw = BenchMedian(times.draw);
        const double gdipLoad = BenchMedian(times.gdipLoad);
        const double gdipDraw = BenchMedian(times.gdipDraw);
        const bool fast = load + draw < kGoalMs && gdipLoad + gdipDraw < kGoalMs;
        std::printf("%-13s %10zu | %6.1f ms %6.1f ms %6.1f ms | %6.1f ms %6.1f ms %6.1f ms%s%s\n", sample.format,
                    sample.bytes.size(), load, draw, load + draw, gdipLoad, gdipDraw, gdipLoad + gdipDraw,
                    ok ? "" : "  NOT LOADED", fast ? "" : "  OVER 2 s");
        allOk = allOk && ok && fast;
        ::DeleteFileW((folder + sample.file).c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
    CPaintManagerUI::SetResourceFolder(L"");
    Gdiplus::GdiplusShutdown(token);
    return allOk ? 0 : 1;
}
