// Mutation fuzzer for the skin loaders: markup, layouts built into a window, skin archives and
// images, fed through the public loading paths for a bounded time. Not a test: see README.md.
//
// Usage: LoaderFuzz.exe SECONDS SEED WORKFOLDER [SKIP], or LoaderFuzz.exe replay IMAGEFILE
// Every input is written to WORKFOLDER\current.* before it is fed, so a crash leaves it behind;
// a watchdog ends the process (exit 3) when one input runs past 10 seconds, and an image input
// that takes more than 1 s or 256 MiB of memory at its peak ends it too (exit 4).
#include <windows.h>
#include <objidl.h>
#include <psapi.h>
#include <gdiplus.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ImageBytes.h"
#include "ImageCostInputs.h"
#include "PeakMemory.h"
#include "archive/ZipArchive.h"
#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"
#include "xml/XmlDocument.h"

using namespace ZvUI;

namespace {

// --- seed inputs ---

Bytes Text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

const char* const kLayouts[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"300,200\" caption=\"0,0,0,30\" "
    "roundcorner=\"4,4\"><Font id=\"0\" name=\"Tahoma\" size=\"12\" default=\"true\"/>"
    "<Default name=\"Button\" value=\"bkcolor=&quot;#FF00FF00&quot;\"/><Image name=\"img.png\"/>"
    "<VerticalLayout bkimage=\"file='img.png' corner='2,2,2,2'\" inset=\"4,4,4,4\">"
    "<Label text=\"&lt;b&gt;hi&amp;\" showhtml=\"true\" height=\"20\"/><Button text=\"ok\" width=\"60\"/>"
    "<HorizontalLayout><Option group=\"g\" selected=\"true\"/><CheckBox/><Progress value=\"40\"/></HorizontalLayout>"
    "<Include source=\"inc.xml\" count=\"2\"/><ChildLayout xmlfile=\"inc.xml\"/></VerticalLayout></Window>",
    "<Window><TabLayout selectedid=\"1\"><Text text=\"{a x}link{/a} {b}bold{/b} {i img.png}\" showhtml=\"true\"/>"
    "<TileLayout columns=\"3\"><Control bkimage=\"img.gif\"/><Control bkimage=\"img.bmp\"/></TileLayout>"
    "</TabLayout></Window>",
    "<Window><VerticalLayout><Include source=\"current.xml\"/><Label text=\"x\"/></VerticalLayout></Window>",
};

const char* const kInclude =
    "<Window><HorizontalLayout><Label text=\"inc\"/><Button bkimage=\"img.png\"/></HorizontalLayout></Window>";

// --- mutation ---

const char* const kTokens[] = {"<", ">", "</", "/>", "\"", "=", "&amp;", "&#", "<!--", "-->", "<?", "?>",
                               "<Include source=\"current.xml\"/>", "<VerticalLayout>", "</VerticalLayout>",
                               " count=\"99999999\"", " xmlfile=\"current.xml\"", "<ChildLayout xmlfile=\"current.xml\"/>",
                               "{b}", "{a ", "{f 1}", "{x -99999}", "{i img.png}", "\xEF\xBB\xBF", "\xFF\xFE"};

Bytes Mutate(const Bytes& seed, std::mt19937& rng, bool text)
{
    Bytes out = seed;
    const int rounds = 1 + static_cast<int>(rng() % 8);
    for (int r = 0; r < rounds; ++r) {
        const size_t at = out.empty() ? 0 : rng() % out.size();
        switch (rng() % (text ? 8 : 6)) {
        case 0:
            if (!out.empty())
                out[at] = static_cast<unsigned char>(out[at] ^ (1u << (rng() % 8)));
            break;
        case 1: {
            static const unsigned char extremes[] = {0, 0xFF, 0x7F, 0x80, 0x01, 0xFE};
            if (!out.empty())
                out[at] = extremes[rng() % sizeof(extremes)];
            break;
        }
        case 2:
            if (!out.empty())
                out.resize(at);
            break;
        case 3: {
            const size_t length = std::min<size_t>(out.size() - at, 1 + rng() % 64);
            const Bytes slice(out.begin() + static_cast<long>(at), out.begin() + static_cast<long>(at + length));
            const int copies = 1 + static_cast<int>(rng() % 16);
            for (int i = 0; i < copies; ++i)
                out.insert(out.begin() + static_cast<long>(at), slice.begin(), slice.end());
            break;
        }
        case 4:
            if (out.size() >= 4) {
                // A size or offset field: a little-endian word set to something large.
                const uint32_t v = rng() % 2 ? 0x7FFFFFFFu : rng();
                for (int i = 0; i < 4 && at + i < out.size(); ++i)
                    out[at + i] = static_cast<unsigned char>(v >> (8 * i));
            }
            break;
        case 5:
            out.erase(out.begin() + static_cast<long>(at),
                      out.begin() + static_cast<long>(std::min(out.size(), at + 1 + rng() % 32)));
            break;
        default: {
            const std::string token = kTokens[rng() % (sizeof(kTokens) / sizeof(kTokens[0]))];
            out.insert(out.begin() + static_cast<long>(at), token.begin(), token.end());
            break;
        }
        }
    }
    return out;
}

// --- structural image mutations: the shapes the header check alone let through ---

constexpr size_t kPngData = 41; // signature, IHDR, IDAT length and type

uint32_t GetBe32(const Bytes& b, size_t at)
{
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

void SetBe32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

// The first IDAT of our generators' PNGs: its zlib header (any window size, a check our decoder
// accepts), the block headers and Huffman tables after it, or data cut before the stream's end.
Bytes MutatePngData(const Bytes& seed, std::mt19937& rng)
{
    Bytes out = seed;
    if (out.size() < kPngData + 8 || std::memcmp(out.data() + kPngData - 4, "IDAT", 4) != 0)
        return out;
    const uint32_t length = GetBe32(out, kPngData - 8);
    if (length < 8 || kPngData + length + 4 > out.size())
        return out;
    switch (rng() % 3) {
    case 0: {
        const unsigned cmf = 0x08 | (rng() % 16) << 4;
        unsigned flg = (rng() % 4) << 6;
        flg += (31 - (cmf * 256 + flg) % 31) % 31;
        out[kPngData] = static_cast<unsigned char>(cmf);
        out[kPngData + 1] = static_cast<unsigned char>(flg);
        break;
    }
    case 1: {
        const int flips = 1 + static_cast<int>(rng() % 4);
        const size_t span = std::min<size_t>(length - 2, 48);
        for (int i = 0; i < flips; ++i) {
            const size_t at = kPngData + 2 + rng() % span;
            out[at] = static_cast<unsigned char>(out[at] ^ (1u << (rng() % 8)));
        }
        break;
    }
    default: {
        const uint32_t kept = 2 + static_cast<uint32_t>(rng() % (length - 2));
        out.erase(out.begin() + static_cast<long>(kPngData + kept), out.begin() + static_cast<long>(kPngData + length));
        SetBe32(out, kPngData - 8, kept);
        break;
    }
    }
    return out;
}

// The last scan of a JPEG, header and data, repeated up to a few hundred times.
Bytes RepeatJpegScan(const Bytes& seed, std::mt19937& rng)
{
    size_t scan = 0;
    for (size_t at = 2; at + 1 < seed.size(); ++at) {
        if (seed[at] == 0xFF && seed[at + 1] == 0xDA)
            scan = at;
    }
    if (scan == 0)
        return seed;
    size_t end = scan + 2;
    while (end + 1 < seed.size() && !(seed[end] == 0xFF && seed[end + 1] != 0 && (seed[end + 1] < 0xD0 || seed[end + 1] > 0xD7)))
        ++end;
    Bytes out(seed.begin(), seed.begin() + static_cast<long>(end));
    const Bytes one(seed.begin() + static_cast<long>(scan), seed.begin() + static_cast<long>(end));
    const int copies = 1 + static_cast<int>(rng() % 300);
    for (int i = 0; i < copies; ++i)
        out.insert(out.end(), one.begin(), one.end());
    out.insert(out.end(), seed.begin() + static_cast<long>(end), seed.end());
    return out;
}

// A packed RLE DIB, as dropped: a declared size up to 32768 on a side and run-length codes that
// may run anywhere.
Bytes MakeRleDib(std::mt19937& rng)
{
    const bool rle8 = rng() % 2 != 0;
    const LONG width = rng() % 4 == 0 ? static_cast<LONG>(rng() % 32768) : static_cast<LONG>(1 + rng() % 300);
    const LONG height = rng() % 4 == 0 ? static_cast<LONG>(rng() % 32768) : static_cast<LONG>(1 + rng() % 300);
    Bytes codes;
    const int count = static_cast<int>(rng() % 64);
    for (int i = 0; i < count; ++i) {
        switch (rng() % 4) {
        case 0: codes.insert(codes.end(), {static_cast<unsigned char>(rng()), static_cast<unsigned char>(rng())}); break;
        case 1: codes.insert(codes.end(), {0, 0}); break; // end of line
        case 2: codes.insert(codes.end(), {0, 2, static_cast<unsigned char>(rng()), static_cast<unsigned char>(rng())}); break;
        default: {
            const unsigned char n = static_cast<unsigned char>(3 + rng() % 60);
            codes.insert(codes.end(), {0, n});
            for (int k = 0; k < (rle8 ? n : (n + 1) / 2); ++k)
                codes.push_back(static_cast<unsigned char>(rng()));
            if (codes.size() % 2 != 0)
                codes.push_back(0);
            break;
        }
        }
    }
    codes.insert(codes.end(), {0, 1});
    const DWORD colours = rle8 ? 256 : 16;
    Bytes out(sizeof(BITMAPINFOHEADER) + colours * 4, 0x40);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = rng() % 8 == 0 ? -height : height;
    header.biPlanes = 1;
    header.biBitCount = rle8 ? 8 : 4;
    header.biCompression = rle8 ? BI_RLE8 : BI_RLE4;
    header.biSizeImage = rng() % 8 == 0 ? static_cast<DWORD>(rng()) : static_cast<DWORD>(codes.size());
    header.biClrUsed = colours;
    std::memcpy(out.data(), &header, sizeof(header));
    out.insert(out.end(), codes.begin(), codes.end());
    return out;
}

// --- harness ---

std::wstring g_work;
std::atomic<ULONGLONG> g_started{0};
// The memory of the input being fed, at its peak.
zvcost::PeakMemory* g_memory = nullptr;

// Marks the start of one input.
void Started()
{
    g_memory->Start();
    g_started = ::GetTickCount64();
}

void WriteFile(const std::wstring& name, const Bytes& bytes)
{
    HANDLE file = ::CreateFileW((g_work + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

DWORD WINAPI Watchdog(LPVOID)
{
    for (;;) {
        ::Sleep(250);
        const ULONGLONG started = g_started.load();
        if (started != 0 && ::GetTickCount64() - started > 10000) {
            std::printf("HANG: one input ran past 10 s (left in current.*)\n");
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
    }
}

// Wine would start its debugger and wait; the script only needs the exit code and current.*.
LONG WINAPI OnCrash(EXCEPTION_POINTERS* info)
{
    std::printf("CRASH: exception 0x%08lX at %p (input left in current.*)\n",
                info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), 2);
    return EXCEPTION_EXECUTE_HANDLER;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (pm != nullptr && pm->GetWindowHandle() == hwnd && pm->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window per layout: its manager owns what was built and frees it with the window.
bool BuildIntoWindow(LPCWSTR source, int scale)
{
    bool built = false;
    HWND hwnd = ::CreateWindowExW(0, L"ZvFuzzHost", L"fuzz", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        std::printf("no window could be made (error %lu)\n", ::GetLastError());
        return false;
    }
    {
        CPaintManagerUI manager;
        manager.AttachWindow(hwnd, L"fuzz");
        manager.GetDpiHelper()->SetScale(scale * 96 / 100);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&manager));
        CLayoutBuilder builder;
        CControlUI* root = builder.Create(source, nullptr, nullptr, &manager, nullptr);
        if (root != nullptr) {
            built = true;
            manager.SetRootControl(root);
            const RECT rc = {0, 0, 300, 200};
            root->SetPos(rc, true);
            HDC screen = ::GetDC(nullptr);
            HDC dc = ::CreateCompatibleDC(screen);
            HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 200);
            HGDIOBJ old = ::SelectObject(dc, bitmap);
            root->Paint(dc, rc, nullptr);
            ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
            root->Paint(dc, rc, nullptr);
            ::SelectObject(dc, old);
            ::DeleteObject(bitmap);
            ::DeleteDC(dc);
            ::ReleaseDC(nullptr, screen);
        }
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    ::DestroyWindow(hwnd);
    return built;
}

struct Stats {
    const char* name;
    long runs = 0;
    long accepted = 0;
    ULONGLONG slowest = 0;
};

void WalkMarkup(CXmlDocument& doc)
{
    CXmlNode node = doc.GetRoot();
    int visited = 0;
    while (node.IsValid() && visited++ < 100000) {
        for (int i = 0; i < node.GetAttributeCount(); ++i)
            (void)node.GetAttributeValue(node.GetAttributeName(i));
        if (node.HasChildren()) {
            node = node.GetChild();
            continue;
        }
        while (node.IsValid() && !node.HasSiblings())
            node = node.GetParent();
        if (node.IsValid())
            node = node.GetSibling();
    }
}

} // namespace

namespace {

// An accepted image is drawn once, shrunk into a small target as a control would show it.
void DrawOnce(const UIImageInfo* image)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -48, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP target = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, target);
    const RECT dest = {0, 0, 64, 48};
    CUIRender::DrawImage(dc, image->bitmap, dest, dest, RECT{0, 0, image->width, image->height}, RECT{2, 2, 2, 2},
                         image->alpha, 255, false, false, false);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(target);
}

// Through the paint manager's drop handler, as OLE hands it over (the manager has no window
// here, so a bitmap it makes is freed at once).
bool DropDib(const Bytes& dib)
{
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (handle == nullptr)
        return false;
    std::memcpy(::GlobalLock(handle), dib.data(), dib.size());
    ::GlobalUnlock(handle);
    CPaintManagerUI manager;
    FORMATETC format = {CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = handle;
    DWORD effect = DROPEFFECT_COPY;
    (void)manager.OnDrop(&format, medium, &effect);
    ::ReleaseStgMedium(&medium);
    return true;
}

} // namespace

// A dropped file list of one file, through the drop handler.
bool DropFile(const std::wstring& path)
{
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    if (handle == nullptr)
        return false;
    auto* files = static_cast<DROPFILES*>(::GlobalLock(handle));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, path.c_str(), path.size() * sizeof(wchar_t));
    ::GlobalUnlock(handle);
    CPaintManagerUI manager;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = handle;
    DWORD effect = DROPEFFECT_COPY;
    (void)manager.OnDrop(&format, medium, &effect);
    ::ReleaseStgMedium(&medium);
    return true;
}

// A dropped metafile made from the bytes; false when GDI does not take them as one.
bool DropMetafile(const Bytes& bytes)
{
    HENHMETAFILE metafile = ::SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (metafile == nullptr)
        return false;
    CPaintManagerUI manager;
    FORMATETC format = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
    STGMEDIUM medium = {};
    medium.tymed = TYMED_ENHMF;
    medium.hEnhMetaFile = metafile;
    DWORD effect = DROPEFFECT_COPY;
    (void)manager.OnDrop(&format, medium, &effect);
    ::ReleaseStgMedium(&medium);
    return true;
}

constexpr ULONGLONG kAcceptedMs = 1000;
constexpr size_t kAcceptedBytes = 256u << 20;

// Feeds one kept image through each path in turn, saying which accepts it and what it cost;
// exit 4 when one takes more than 1 s or 256 MiB. The commit-peak field is what the fuzzer once
// read as the peak: under Wine it is the commit after the work.
int ReplayImage(const char* path)
{
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, MAX_PATH);
    HANDLE file = ::CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    Bytes bytes(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    zvcost::PeakMemory memory;
    g_memory = &memory;
    bool over = false;
    const auto measure = [&](const char* what, const auto& feed) {
        std::printf("%s...\n", what);
        std::fflush(stdout);
        const size_t commitBefore = zvcost::PeakMemory::Counters().PagefileUsage;
        Started();
        const char* verdict = feed();
        const ULONGLONG took = ::GetTickCount64() - g_started.load();
        g_started = 0;
        const size_t grew = memory.Growth();
        const size_t field = zvcost::PeakMemory::Counters().PeakPagefileUsage;
        std::printf("  %s in %llu ms, peak +%zu MiB (commit-peak field +%lld MiB)%s\n", verdict, took, grew >> 20,
                    (static_cast<long long>(field) - static_cast<long long>(commitBefore)) / (1 << 20),
                    took > kAcceptedMs || grew > kAcceptedBytes ? "  OVER BUDGET" : "");
        over = over || took > kAcceptedMs || grew > kAcceptedBytes;
    };
    measure("bitmap loader", [&] {
        UIImageInfo* image = CUIRender::LoadImage(wide, nullptr, 0, nullptr);
        const bool loaded = image != nullptr;
        if (image != nullptr)
            DrawOnce(image);
        CUIRender::FreeImage(image, true);
        return loaded ? "loaded" : "refused";
    });
    measure("GDI+ loader", [&] {
        Gdiplus::Image* gdip = CUIRender::GdiplusImageFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
        // What the animated GIF control asks first.
        if (gdip != nullptr)
            (void)gdip->GetFrameDimensionsCount();
        const bool loaded = gdip != nullptr;
        delete gdip;
        return loaded ? "loaded" : "refused";
    });
    measure("dropped file", [&] {
        DropFile(wide);
        return "dropped";
    });
    if (bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0)
        measure("dropped metafile", [&] { return DropMetafile(bytes) ? "dropped" : "not a metafile"; });
    return over ? 4 : 0;
}

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "windows") {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZvFuzzHost";
        ::RegisterClassW(&wc);
        ::SetUnhandledExceptionFilter(&OnCrash);
        const long count = std::atol(argv[2]);
        for (long i = 1; i <= count; ++i) {
            if (argc > 3) {
                HWND hwnd = ::CreateWindowExW(0, L"ZvFuzzHost", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                              ::GetModuleHandleW(nullptr), nullptr);
                ::DestroyWindow(hwnd);
            } else {
                BuildIntoWindow(L"<Window><Label text=\"x\"/></Window>", 100);
            }
            if (i % 5000 == 0) {
                std::printf("%ld windows\n", i);
                std::fflush(stdout);
            }
        }
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "meter") {
        // What the memory meter sees of 300 MiB written and freed, against the commit-peak field.
        zvcost::PeakMemory memory;
        const size_t before = zvcost::PeakMemory::Counters().PagefileUsage;
        memory.Start();
        std::unique_ptr<char[]> block(new char[300u << 20]);
        std::memset(block.get(), 1, 300u << 20);
        block.reset();
        const size_t grew = memory.Growth();
        const size_t field = zvcost::PeakMemory::Counters().PeakPagefileUsage;
        std::printf("300 MiB written and freed: meter +%zu MiB, commit-peak field +%lld MiB\n", grew >> 20,
                    (static_cast<long long>(field) - static_cast<long long>(before)) / (1 << 20));
        return grew > kAcceptedBytes ? 0 : 1;
    }
    if (argc > 2 && std::string(argv[1]) == "replay") {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        ::SetUnhandledExceptionFilter(&OnCrash);
        return ReplayImage(argv[2]);
    }
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    wchar_t folder[MAX_PATH] = L".\\";
    if (argc > 3)
        ::MultiByteToWideChar(CP_UTF8, 0, argv[3], -1, folder, MAX_PATH);
    g_work = folder;
    // Replays a finding quickly: the first inputs of the seed are made but not fed.
    const long skip = argc > 4 ? std::atol(argv[4]) : 0;
    if (g_work.back() != L'\\')
        g_work += L'\\';

    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&OnCrash);
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZvFuzzHost";
    ::RegisterClassW(&wc);
    ::CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);
    zvcost::PeakMemory memory;
    g_memory = &memory;

    // The first four are sound; then the bombs that stalled a window: a PNG of zeros declaring
    // 8192 x 8192 (the bitmap loader) and 4096 x 4096 (the GDI+ one), a cut JPEG of 8000 x 8000
    // (stalled when drawn).
    // Then the shapes of the structure check: PNG data behind zlib headers and Huffman tables to
    // mutate (a declared 16 x 16 over 64 MB of zeros, refused, and over what it needs), and
    // progressive JPEGs whose scans are repeated.
    std::vector<Bytes> images = {MakePng(6, 5, true),
                                       MakeBmp(5, 3),
                                       MakeGif(true),
                                       MakeJpegHeader(16, 16),
                                       MakeZeroPng(8192, 8192),
                                       MakeZeroPng(4096, 4096),
                                       MakeJpeg(8000, 8000, true),
                                       MakeDeflatedPng(16, 16, 16 * 65),
                                       MakeDeflatedPng(16, 16, 64ull << 20),
                                       MakeLenientPng(16, 16, 16 * 65),
                                       MakeLenientPng(16, 16, 64ull << 20),
                                       MakeProgressiveJpeg(64, 48, 10),
                                       MakeProgressiveJpeg(1920, 1080, 10)};
    // Then what costs a decoder most for its size: GIF codes for ever longer strings and
    // thousands of frames, PNGs of 16 bits, interlace, Paeth rows and data past what the rows
    // need, and every format the decoder reads that no rule covers (they must stay refused).
    images.push_back(zvcost::MakeLongCodeGif(1, 1, 2));
    images.push_back(zvcost::MakeLongCodeGif(16, 16, 1));
    images.push_back(MakeGifFrames(3000));
    images.push_back(zvcost::MakeFlatPng(256, 256, 16, 6, true, 4));
    images.push_back(zvcost::MakeFlatPng(300, 200, 8, 0, false, 4));
    images.push_back(zvcost::MakeFlatPng(500, 500, 1, 3, true, 0));
    images.push_back(zvcost::MakeOverfullPng(64, 64, 8));
    for (const zvcost::NamedBytes& unruled : zvcost::MakeUnruledFormats())
        images.push_back(unruled.bytes);
    // Dropped BMP files: sound, and one whose pixels stop after 64 bytes of a 4K picture.
    Bytes cutBmp = MakeBmp(3840, 2160, false);
    cutBmp.resize(54 + 64);
    const std::vector<Bytes> dropped = {MakeBmp(5, 3), MakeBmp(7, -4), cutBmp};
    std::vector<Bytes> layouts;
    for (const char* text : kLayouts)
        layouts.push_back(Text(text));
    const Bytes archive = MakeZip({{"main.xml", layouts[0]}, {"inc.xml", Text(kInclude)}, {"img.png", images[0]},
                               {"img.gif", images[2]}, {"img.bmp", images[1]}});

    CPaintManagerUI::SetResourceArchive(L"", false);
    CPaintManagerUI::SetResourceFolder(g_work.c_str());
    WriteFile(L"inc.xml", Text(kInclude));
    WriteFile(L"img.png", images[0]);
    WriteFile(L"img.gif", images[2]);
    WriteFile(L"img.bmp", images[1]);

    std::mt19937 rng(seed);
    Stats stats[] = {{"markup"}, {"layout"}, {"archive"}, {"image"}};

    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    long iteration = 0;
    // One process sees at most this many inputs: past about 110,000 (55,000 windows made and
    // destroyed) the process crashes under Wine whatever the input; fuzz.sh starts the next seed.
    constexpr long kInputsPerProcess = 50000;
    while (::GetTickCount64() < end && iteration < kInputsPerProcess) {
        const int kind = static_cast<int>(iteration++ % 4);
        Stats& s = stats[kind];
        bool accepted = false;
        Bytes input;
        if (kind == 0) {
            input = Mutate(layouts[rng() % layouts.size()], rng, true);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.markup", input);
            Started();
            CXmlDocument doc;
            accepted = doc.LoadFromMem(input.data(), static_cast<DWORD>(input.size()));
            if (accepted)
                WalkMarkup(doc);
        } else if (kind == 1) {
            input = Mutate(layouts[rng() % layouts.size()], rng, true);
            const int scale = rng() % 2 ? 100 : 200;
            if (iteration <= skip)
                continue;
            WriteFile(L"current.xml", input);
            Started();
            accepted = BuildIntoWindow(L"current.xml", scale);
        } else if (kind == 2) {
            input = Mutate(archive, rng, false);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.zip", input);
            Started();
            ZipHandle* zip = ZipOpenMemory(input.data(), static_cast<unsigned>(input.size()), nullptr);
            if (zip != nullptr) {
                accepted = true;
                ZipEntry summary;
                if (ZipGetItem(zip, -1, &summary) == ZR_OK) {
                    for (int i = 0; i < summary.index && i < 64; ++i) {
                        ZipEntry entry;
                        if (ZipGetItem(zip, i, &entry) != ZR_OK || entry.unc_size <= 0 ||
                            entry.unc_size > 4 * 1024 * 1024)
                            continue;
                        std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(entry.unc_size)]);
                        (void)ZipUnzipToMemory(zip, i, buffer.get(), static_cast<unsigned>(entry.unc_size));
                    }
                }
                ZipClose(zip);
            }
            // The same bytes as the window's skin archive.
            CPaintManagerUI::SetResourceArchive(input.data(), static_cast<int>(input.size()));
            BuildIntoWindow(L"main.xml", 100);
            CPaintManagerUI::SetResourceArchive(L"", false);
            CPaintManagerUI::SetResourceFolder(g_work.c_str());
        } else if (iteration % 16 == 0) {
            // A dropped DIB: GDI makes the bitmap its header declares.
            input = MakeRleDib(rng);
            if (rng() % 2 != 0)
                input = Mutate(input, rng, false);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.dib", input);
            Started();
            accepted = DropDib(input);
        } else if (iteration % 16 == 4) {
            // A dropped file: the system's loader read it again by its path, as its header said.
            input = Mutate(dropped[rng() % dropped.size()], rng, false);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.bmp", input);
            Started();
            accepted = DropFile(g_work + L"current.bmp");
        } else if (iteration % 16 == 8) {
            // A dropped metafile: full-size records, as many as it takes, maybe damaged.
            const int width = rng() % 2 != 0 ? 3840 : static_cast<int>(1 + rng() % 400);
            const int height = rng() % 2 != 0 ? 2160 : static_cast<int>(1 + rng() % 300);
            const int count = static_cast<int>(1 + rng() % (rng() % 4 == 0 ? 3000 : 40));
            const HENHMETAFILE made = zvcost::MakeCoveringMetafile(width, height, count, static_cast<int>(rng() % 4));
            input = zvcost::MetafileBytes(made);
            if (made != nullptr)
                ::DeleteEnhMetaFile(made);
            if (rng() % 2 != 0)
                input = Mutate(input, rng, false);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.emf", input);
            Started();
            accepted = DropMetafile(input);
        } else {
            const Bytes& seedImage = images[rng() % images.size()];
            const unsigned how = rng() % 4;
            input = how == 0 && seedImage[0] == 0x89   ? MutatePngData(seedImage, rng)
                    : how == 0 && seedImage[0] == 0xFF ? RepeatJpegScan(seedImage, rng)
                                                       : Mutate(seedImage, rng, false);
            if (iteration <= skip)
                continue;
            WriteFile(L"current.img", input);
            Started();
            UIImageInfo* image = CUIRender::LoadImage(L"current.img", nullptr, 0, nullptr);
            accepted = image != nullptr;
            if (image != nullptr)
                DrawOnce(image);
            CUIRender::FreeImage(image, true);
            Gdiplus::Image* gdip = CUIRender::GdiplusImageFromMemory(input.data(), static_cast<DWORD>(input.size()));
            accepted = accepted || gdip != nullptr;
            delete gdip;
        }
        const ULONGLONG took = ::GetTickCount64() - g_started.load();
        g_started = 0;
        const size_t grew = g_memory->Growth();
        // What a loader accepts is decoded within the budget of the largest image it admits, and
        // what it refuses is refused sooner.
        if (kind == 3 && (took > kAcceptedMs || grew > kAcceptedBytes)) {
            std::printf("OVER BUDGET: an image (%s) took %llu ms and %zu MiB (left in current.*)\n",
                        accepted ? "accepted" : "refused", took, grew >> 20);
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 4);
        }
        ++s.runs;
        if (accepted)
            ++s.accepted;
        s.slowest = std::max(s.slowest, took);
        // Handles or memory that only grow are a leak of some loader.
        if (iteration % 2000 == 0) {
            PROCESS_MEMORY_COUNTERS memory = {};
            ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
            // Wine counts no GUI resources; the slot of a fresh GDI object shows the table's fill.
            HPEN probe = ::CreatePen(PS_SOLID, 1, 0);
            HWND window = ::CreateWindowExW(0, L"ZvFuzzHost", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
            std::printf("  after %ld inputs: GDI slot %lu, window slot %lu, %zu MB\n", iteration,
                        static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(probe) & 0xFFFF),
                        static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window) & 0xFFFF),
                        memory.PagefileUsage >> 20);
            ::DeleteObject(probe);
            ::DestroyWindow(window);
            std::fflush(stdout);
        }
    }
    std::printf("LoaderFuzz seed %u, %d s: %ld inputs\n", seed, seconds, iteration);
    for (const Stats& s : stats)
        std::printf("  %-8s %7ld inputs, %7ld accepted, slowest %llu ms\n", s.name, s.runs, s.accepted, s.slowest);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
