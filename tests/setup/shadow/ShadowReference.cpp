#include "ShadowReference.h"

#include <algorithm>
#include <cmath>

namespace shadowtest {

std::vector<Span> RowsOfRegion(HRGN region, int width, int height)
{
    std::vector<Span> rows(height, Span{0, 0});
    for (int y = 0; y < height; ++y) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < width; ++x) {
            if (PtInRegion(region, x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        if (first >= 0)
            rows[y] = Span{first, last + 1};
    }
    return rows;
}

std::vector<Span> RowsOfRect(int width, int height)
{
    return std::vector<Span>(height, Span{0, width});
}

std::uint32_t ShadowPixel(COLORREF color, unsigned alpha)
{
    const unsigned r = (color & 0xFF) * alpha / 255;
    const unsigned g = ((color >> 8) & 0xFF) * alpha / 255;
    const unsigned b = ((color >> 16) & 0xFF) * alpha / 255;
    return alpha << 24 | r << 16 | g << 8 | b;
}

std::vector<std::uint32_t> ExpectedShadow(const std::vector<Span>& rows, int width, int height,
    const CWndShadow::Look& look)
{
    const int s = look.size;
    const int sharp = static_cast<int>(look.sharpness);
    const int bw = width + 2 * s;
    const int bh = height + 2 * s;
    const int erosion = std::max(sharp - s, 0);
    const int reach = std::max(sharp, s);
    const int solid = std::max(s - sharp, 0);

    // The parent's outline in bitmap coordinates (before the offsets), any coordinate allowed.
    auto inOutline = [&](int r, int c) {
        const int y = r - s;
        return y >= 0 && y < height && c - s >= rows[y].start && c - s < rows[y].end;
    };
    // The outline shrunk by a square of side 2 erosion + 1.
    std::vector<char> core(static_cast<size_t>(bw) * bh, 0);
    for (int r = 0; r < bh; ++r) {
        for (int c = 0; c < bw; ++c) {
            bool all = true;
            for (int dr = -erosion; dr <= erosion && all; ++dr)
                for (int dc = -erosion; dc <= erosion && all; ++dc)
                    all = inOutline(r + dr, c + dc);
            core[static_cast<size_t>(r) * bw + c] = all;
        }
    }
    auto inCore = [&](int r, int c) {
        return r >= 0 && r < bh && c >= 0 && c < bw && core[static_cast<size_t>(r) * bw + c];
    };

    std::vector<std::uint32_t> out(static_cast<size_t>(bw) * bh, 0);
    for (int r = 0; r < bh; ++r) {
        for (int c = 0; c < bw; ++c) {
            std::uint32_t& px = out[static_cast<size_t>(r) * bw + c];
            // The parent covers this pixel once the shadow is displaced by the offsets.
            const int py = r - s + look.y;
            const int pxCol = c - s + look.x;
            if (py >= 0 && py < height && pxCol >= rows[py].start && pxCol < rows[py].end)
                continue;
            if (inCore(r, c)) {
                px = ShadowPixel(look.color, look.darkness);
                continue;
            }
            int nearest = -1;
            for (int dr = -reach; dr <= reach; ++dr)
                for (int dc = -reach; dc <= reach; ++dc)
                    if (inCore(r + dr, c + dc) && (nearest < 0 || dr * dr + dc * dc < nearest))
                        nearest = dr * dr + dc * dc;
            if (nearest < 0)
                continue;
            const double d = std::sqrt(static_cast<double>(nearest));
            if (d < solid)
                px = ShadowPixel(look.color, look.darkness);
            else if (d <= reach)
                px = ShadowPixel(look.color,
                    static_cast<unsigned>(((sharp + 1) - (d - solid)) * look.darkness / (sharp + 1)));
        }
    }
    return out;
}

std::vector<std::uint32_t> TopDown(const std::uint32_t* bottomUp, int width, int height)
{
    std::vector<std::uint32_t> out(static_cast<size_t>(width) * height);
    for (int r = 0; r < height; ++r)
        std::copy_n(bottomUp + static_cast<size_t>(height - 1 - r) * width, width,
            out.begin() + static_cast<size_t>(r) * width);
    return out;
}

} // namespace shadowtest
