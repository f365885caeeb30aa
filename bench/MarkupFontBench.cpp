// Times the markup's font tags: 10,000 face tags cycling through 400 sizes, measured and drawn with
// their fonts already made, beside 10,000 bold tags. Exits 1 when a measure or a draw of the face
// tags takes 300 ms or more.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchMedian.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

using namespace ZvUI;

namespace {

constexpr int kTags = 10000;
constexpr int kSizes = 400;
constexpr int kRuns = 5;
constexpr double kLimitMs = 300;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::wstring FaceTags()
{
    std::wstring text;
    for (int i = 0; i < kTags; ++i)
        text += L"<f Tahoma " + std::to_wstring(i % kSizes + 1) + L">";
    return text;
}

std::wstring BoldTags()
{
    std::wstring text;
    for (int i = 0; i < kTags; ++i)
        text += L"<b>";
    return text;
}

struct Figures {
    double measure = 0;
    double draw = 0;
};

// Medians of kRuns measures (DT_CALCRECT) and kRuns draws, after one of each to make the fonts.
Figures Time(HDC dc, CPaintManagerUI& pm, const std::wstring& text)
{
    auto once = [&](UINT style) {
        RECT rc = {0, 0, kWidth, kHeight};
        int links = 0;
        const auto start = std::chrono::steady_clock::now();
        CUIRender::DrawHtmlText(dc, &pm, rc, text.c_str(), 0xFF000000, nullptr, nullptr, links, 0, style);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    once(DT_CALCRECT);
    once(0);
    std::vector<double> measures;
    std::vector<double> draws;
    for (int i = 0; i < kRuns; ++i) {
        measures.push_back(once(DT_CALCRECT));
        draws.push_back(once(0));
    }
    return Figures{BenchMedian(measures), BenchMedian(draws)};
}

} // namespace

int main()
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CUIRender::CreateARGB32Bitmap(dc, kWidth, -kHeight, &bits);
    HGDIOBJ old = ::SelectObject(dc, bitmap);

    const std::wstring faces = FaceTags();
    const std::wstring bolds = BoldTags();
    CPaintManagerUI fresh;
    fresh.AddFont(0, L"Tahoma", 12, false, false, false);
    const Figures bold = Time(dc, fresh, bolds);
    CPaintManagerUI pm;
    pm.AddFont(0, L"Tahoma", 12, false, false, false);
    const Figures face = Time(dc, pm, faces);
    // Its variant ids are spent now: a bold Tahoma 12 cannot be made and every tag falls back.
    const Figures spent = Time(dc, pm, bolds);
    std::printf("markup                                chars  measure ms  draw ms  (medians of %d)\n", kRuns);
    std::printf("%d bold tags                       %6zu  %10.1f  %7.1f\n", kTags, bolds.size(), bold.measure,
                bold.draw);
    std::printf("%d face tags, %d sizes           %6zu  %10.1f  %7.1f\n", kTags, kSizes, faces.size(),
                face.measure, face.draw);
    std::printf("%d bold tags, variant ids spent   %6zu  %10.1f  %7.1f\n", kTags, bolds.size(), spent.measure,
                spent.draw);
    std::printf("fonts of the window: %d\n", pm.GetFontCount());
    const bool within = face.measure < kLimitMs && face.draw < kLimitMs;
    std::printf("face tags %s %.0f ms\n", within ? "within" : "over", kLimitMs);

    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return within ? 0 : 1;
}
