// The costliest inputs of each image format, loaded and drawn as a skin or a drop would, at 100 %
// and 200 %: the time and the peak memory of each, and whether it was accepted. Not a test; see
// README.md. Exits 1 when an accepted input takes 1 s or more, or 256 MiB or more.
//
// Usage: ImageCostBench.exe [RUNS] [LABEL]   (medians of RUNS, default 1; LABEL heads the table)
#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchMedian.h"
#include "ImageBytes.h"
#include "ImageCostInputs.h"
#include "PeakMemory.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

constexpr double kGoalMs = 1000;
constexpr size_t kGoalBytes = 256u << 20;

double NowMs()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A window-sized 32-bit DIB to draw into.
class Target {
public:
    Target(int width, int height)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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

enum class Path {
    Skin,      // LoadImageCached and a draw over a full-screen window
    Animation, // LoadGdiplusImage, the frame count and delays, the first frame drawn
    Metafile,  // dropped on a manager as CF_ENHMETAFILE
    DroppedDib // dropped on a manager as CF_DIB
};

struct Case {
    std::string name;
    Path path;
    zvcost::Bytes bytes;
};

void WriteBytes(const std::wstring& path, const zvcost::Bytes& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

// One load and draw of the case at the scale; true when the input was accepted.
bool RunOnce(const Case& c, int scale)
{
    // A 1920 x 1080 window in 100 % units.
    const int width = 1920 * scale / 100;
    const int height = 1080 * scale / 100;
    const RECT rc = {0, 0, width, height};
    switch (c.path) {
    case Path::Skin: {
        Target target(width, height);
        CPaintManagerUI manager;
        manager.GetDpiHelper()->SetScale(scale * 96 / 100);
        const UIImageInfo* image = manager.LoadImageCached(L"cost.img");
        if (image == nullptr)
            return false;
        (void)CUIRender::DrawImageString(target.DC(), &manager, rc, rc, L"file='cost.img'", nullptr, nullptr);
        ::GdiFlush();
        return true;
    }
    case Path::Animation: {
        std::unique_ptr<Gdiplus::Image> gdip(CUIRender::LoadGdiplusImage(L"file='cost.img'"));
        if (gdip == nullptr)
            return false;
        // What the animated GIF control asks: the frames of the first dimension and their delays.
        GUID dimension = {};
        if (gdip->GetFrameDimensionsCount() > 0 && gdip->GetFrameDimensionsList(&dimension, 1) == Gdiplus::Ok) {
            (void)gdip->GetFrameCount(&dimension);
            const UINT size = gdip->GetPropertyItemSize(PropertyTagFrameDelay);
            if (size > 0) {
                std::vector<BYTE> item(size);
                (void)gdip->GetPropertyItem(PropertyTagFrameDelay, size, reinterpret_cast<Gdiplus::PropertyItem*>(item.data()));
            }
        }
        Target target(width, height);
        Gdiplus::Graphics graphics(target.DC());
        (void)graphics.DrawImage(gdip.get(), 0, 0, width, height);
        ::GdiFlush();
        return true;
    }
    case Path::Metafile:
    case Path::DroppedDib: {
        CPaintManagerUI manager;
        manager.GetDpiHelper()->SetScale(scale * 96 / 100);
        STGMEDIUM medium = {};
        FORMATETC format = {};
        if (c.path == Path::Metafile) {
            medium.tymed = TYMED_ENHMF;
            medium.hEnhMetaFile = ::SetEnhMetaFileBits(static_cast<UINT>(c.bytes.size()), c.bytes.data());
            format = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
        } else {
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, c.bytes.size());
            if (medium.hGlobal != nullptr) {
                std::copy(c.bytes.begin(), c.bytes.end(), static_cast<BYTE*>(::GlobalLock(medium.hGlobal)));
                ::GlobalUnlock(medium.hGlobal);
            }
            format = {CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        }
        if (medium.hGlobal == nullptr)
            return false;
        // The manager has no window: the image it makes is freed at once; whether one was made is
        // what a window of its own would be sent.
        bool made = false;
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | SS_BITMAP, 0, 0, 8, 8, nullptr, nullptr, nullptr,
                                        nullptr);
        manager.AttachWindow(window, L"bench");
        (void)manager.EnableDragDrop(true);
        DWORD effect = DROPEFFECT_COPY;
        (void)manager.OnDrop(&format, medium, &effect);
        if (::SendMessageW(window, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0) {
            made = true;
            ::DeleteObject(reinterpret_cast<HBITMAP>(::SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, 0)));
        }
        (void)manager.EnableDragDrop(false);
        ::DestroyWindow(window);
        ::ReleaseStgMedium(&medium);
        return made;
    }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1;
    const char* label = argc > 2 ? argv[2] : "this build";
    ::OleInitialize(nullptr);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zvimagecost\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    CPaintManagerUI::SetResourceFolder(folder.c_str());
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));

    using namespace zvcost;
    const unsigned w = 3840;
    const unsigned h = 2160;
    std::vector<Case> cases;
    // PNG: the largest size in each depth and layout that costs the decoder most.
    cases.push_back({"PNG 8-bit RGBA Paeth", Path::Skin, MakeFlatPng(w, h, 8, 6, false, 4)});
    cases.push_back({"PNG 8-bit RGBA interlaced", Path::Skin, MakeFlatPng(w, h, 8, 6, true, 4)});
    cases.push_back({"PNG 16-bit RGBA Paeth", Path::Skin, MakeFlatPng(w, h, 16, 6, false, 4)});
    cases.push_back({"PNG 16-bit RGBA interlaced", Path::Skin, MakeFlatPng(w, h, 16, 6, true, 0)});
    // At the lower limits of the costly layouts: half the pixels for 16-bit or interlaced, a
    // quarter for both.
    cases.push_back({"PNG 16-bit RGBA 3840x1080", Path::Skin, MakeFlatPng(w, h / 2, 16, 6, false, 4)});
    cases.push_back({"PNG 8-bit interlaced 3840x1080", Path::Skin, MakeFlatPng(w, h / 2, 8, 6, true, 4)});
    cases.push_back({"PNG 16-bit il. 1920x1080", Path::Skin, MakeFlatPng(1920, 1080, 16, 6, true, 4)});
    cases.push_back({"PNG 8-bit grey, data x8", Path::Skin, MakeOverfullPng(w, h, 8)});
    cases.push_back({"PNG 1-bit palette interl.", Path::Skin, MakeFlatPng(w, h, 1, 3, true, 4)});
    cases.push_back({"PNG via GDI+ 16-bit interl.", Path::Animation, MakeFlatPng(w, h, 16, 6, true, 0)});
    // JPEG: baseline three components, and progressive scans over 32 full-size planes.
    cases.push_back({"JPEG baseline", Path::Skin, MakeJpeg(w, h, false)});
    cases.push_back({"JPEG progressive 32 planes", Path::Skin, MakeProgressiveJpeg(w, h, 32)});
    cases.push_back({"JPEG CMYK progr. 8 planes", Path::Skin, MakeCostlyProgressiveJpeg(w, h, 0)});
    cases.push_back({"JPEG CMYK progr. 16 planes", Path::Skin, MakeCostlyProgressiveJpeg(w, h, 2)});
    cases.push_back({"JPEG CMYK progr. 24 planes", Path::Skin, MakeCostlyProgressiveJpeg(w, h, 4)});
    cases.push_back({"JPEG CMYK 3840x1080, 16 pl.", Path::Skin, MakeCostlyProgressiveJpeg(w, h / 2, 6)});
    cases.push_back({"JPEG CMYK progr. 32 planes", Path::Skin, MakeCostlyProgressiveJpeg(w, h, 6)});
    // BMP and GIF at the size limit; GIF code streams and frame counts.
    cases.push_back({"BMP 24-bit", Path::Skin, MakeBmp(static_cast<int>(w), static_cast<int>(h))});
    cases.push_back({"GIF one frame", Path::Skin, MakeGifPixels(w, h)});
    cases.push_back({"GIF one frame, GDI+", Path::Animation, MakeGifPixels(w, h)});
    cases.push_back({"GIF 1x1, long codes 512 KB", Path::Skin, MakeLongCodeGif(1, 1, 87)});
    cases.push_back({"GIF 1x1, long codes, GDI+", Path::Animation, MakeLongCodeGif(1, 1, 87)});
    cases.push_back({"GIF 1,000 frames (cap), GDI+", Path::Animation, MakeGifFrames(1000)});
    cases.push_back({"GIF 1,000 frames on 4K, GDI+", Path::Animation, MakeGifFrames(1000, w, h)});
    cases.push_back({"GIF 100,000 frames, GDI+", Path::Animation, MakeGifFrames(100000)});
    // Formats with no rule of their own (the 16-bit PNM is left out: it crashes the old decoder).
    for (const NamedBytes& unruled : MakeUnruledFormats()) {
        if (unruled.name != "pnm16" && unruled.name != "pnm16-header")
            cases.push_back({unruled.name, Path::Skin, unruled.bytes});
    }
    // Dropped data: an uncompressed 32-bit DIB at the size limit, and metafiles of full-size records.
    {
        zvcost::Bytes dib(sizeof(BITMAPINFOHEADER) + size_t{w} * h * 4, 0x40);
        const BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(w), static_cast<LONG>(h), 1, 32,
                                         BI_RGB, 0, 0, 0, 0, 0};
        std::copy(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1), dib.begin());
        cases.push_back({"dropped DIB 32-bit", Path::DroppedDib, dib});
    }
    const struct {
        const char* name;
        int count;
        int kind;
    } metafiles[] = {{"EMF 15 alpha blends (cap)", 15, 2},
                     {"EMF 15 stretched DIBs (cap)", 15, 1},
                     {"EMF 16 rectangles", 16, 0},
                     {"EMF 1,003 rectangles", 1003, 0},
                     {"EMF 1,003 stretched DIBs", 1003, 1},
                     {"EMF polygon, 885 points", 885, 3},
                     {"EMF polygon, 240 points", 240, 3}};
    for (const auto& m : metafiles) {
        // Two pixels short of the limit: the play rectangle, rounded up from the frame, must fit.
        const HENHMETAFILE made = MakeCoveringMetafile(static_cast<int>(w) - 2, static_cast<int>(h) - 2, m.count, m.kind);
        cases.push_back({m.name, Path::Metafile, MetafileBytes(made)});
        ::DeleteEnhMetaFile(made);
    }

    std::printf("ImageCostBench (%s): costliest inputs at 100 %% and 200 %%, medians of %d runs; budget %.0f ms, %zu MiB\n",
                label, runs, kGoalMs, kGoalBytes >> 20);
    std::printf("%-29s %9s | %-8s %9s %8s | %-8s %9s %8s\n", "input", "bytes", "100 %", "time", "peak", "200 %", "time",
                "peak");
    PeakMemory memory;
    bool within = true;
    for (const Case& c : cases) {
        WriteBytes(folder + L"cost.img", c.bytes);
        std::printf("%-29s %9zu", c.name.c_str(), c.bytes.size());
        for (const int scale : {100, 200}) {
            std::vector<double> times;
            std::vector<double> peaks;
            bool accepted = false;
            for (int i = 0; i < runs; ++i) {
                memory.Start();
                const double start = NowMs();
                accepted = RunOnce(c, scale);
                times.push_back(NowMs() - start);
                peaks.push_back(static_cast<double>(memory.Growth()) / (1 << 20));
            }
            const double ms = BenchMedian(times);
            const double mib = BenchMedian(peaks);
            const bool over = accepted && (ms >= kGoalMs || mib >= static_cast<double>(kGoalBytes >> 20));
            within = within && !over;
            std::printf(" | %-8s %6.0f ms %4.0f MiB%s", accepted ? "accepted" : "refused", ms, mib, over ? "!" : " ");
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    std::printf("! marks an accepted input over the budget\n");
    ::DeleteFileW((folder + L"cost.img").c_str());
    ::RemoveDirectoryW(folder.c_str());
    CPaintManagerUI::SetResourceFolder(L"");
    Gdiplus::GdiplusShutdown(token);
    ::OleUninitialize();
    return within ? 0 : 1;
}
