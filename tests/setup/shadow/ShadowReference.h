// An independent model of the drop shadow, pixel by pixel from distances to the outline.
#pragma once

#include "WndShadow.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace shadowtest {

// Columns [start, end) of one parent row; start >= end when the row is empty.
struct Span {
    int start;
    int end;
};

// The first and last inside column of each row of a width x height window's region.
std::vector<Span> RowsOfRegion(HRGN region, int width, int height);
std::vector<Span> RowsOfRect(int width, int height);

// The shadow bitmap in top-down row order, (width + 2 size) x (height + 2 size) pixels.
std::vector<std::uint32_t> ExpectedShadow(const std::vector<Span>& rows, int width, int height,
    const CWndShadow::Look& look);

// A premultiplied shadow pixel of the given alpha.
std::uint32_t ShadowPixel(COLORREF color, unsigned alpha);

// Flips a bottom-up bitmap into top-down order.
std::vector<std::uint32_t> TopDown(const std::uint32_t* bottomUp, int width, int height);

} // namespace shadowtest
