#pragma once
// The limits every image is held to before a decoder sees its bytes, and the one check that applies them.

#include <windows.h>

#include <cstddef>

namespace ZvUI {

// The largest image a skin can need is a full-screen background drawn 1:1 at 200 % on a 4K
// screen: 3840 x 2160 device pixels, upright or turned (a 1920 x 1080 window in 100 % units and
// its "@2x" file). Bigger ones only ever came from damaged or hostile files, which took seconds
// to decode and to draw. A side cap alone would let 4096 x 4096 through, a pixel cap alone
// strips of millions of pixels.
constexpr int kMaxImageSide = 4096;
constexpr long long kMaxImagePixels = 3840ll * 2160;
// Encoded bytes: the largest accepted picture as an uncompressed 32-bit BMP, and 1 MiB to spare.
constexpr long long kMaxImageBytes = kMaxImagePixels * 4 + 1024 * 1024;
// Each JPEG scan costs a pass over the blocks of its components, whatever its few bytes say.
// libjpeg's progressive scripts write 10 scans for colour, 6 for grey and 18 for CMYK.
constexpr int kMaxJpegScans = 64;
// The blocks all scans visit together, each component counted at its own resolution: 32 passes
// over one full-size plane, about twice what a four-component progressive file needs at that size.
constexpr long long kMaxJpegScanBlocks = 32 * (kMaxImagePixels / 64);
// The system's GIF decoder decodes every frame when it opens the file.
constexpr long long kMaxGifFramePixels = 4 * kMaxImagePixels;
// Records of one enhanced metafile played into a bitmap.
constexpr long long kMaxMetafileRecords = 100000;
// What a metafile's records may draw together: each record that draws is counted as covering the
// whole bitmap it is played into (GDI clips to it; a record's own bounds are anyone's word), and
// a line or polygon of n points as n times min(n, rows) more, the edges sorted on every row. Sixteen full-size planes: a
// full-screen alpha blend costs Wine about 30 ms.
constexpr long long kMaxMetafileDrawnPixels = 16 * kMaxImagePixels;

// What the bytes handed to CheckImageBytes are.
enum class UIImageBytes {
    // The first bytes of an image file, read before the rest: only the declared size is judged,
    // and a start too short to show it is left to the whole file's check.
    FileStart,
    // A whole image file in a format our decoder reads (PNG, JPEG, GIF, BMP and the rest).
    File,
    // A DIB header, its colour table and its pixels in one block (a dropped or pasted CF_DIB).
    PackedDib,
    // The bytes of an enhanced metafile (GetEnhMetaFileBits).
    Metafile,
};

struct UIImageVerdict {
    bool accepted = false;
    // The declared size, 0 by 0 when it could not be read.
    int width = 0;
    int height = 0;
    // Why the bytes were refused; empty when accepted.
    wchar_t reason[160] = {};
};

// The rule for every path that hands image bytes to a decoder: our own (stb), GDI+,
// CreateDIBitmap, LoadImageW and metafile playback. In order:
//  1. Budget: more than kMaxImageBytes is refused unread.
//  2. Header: the declared size must be readable (except for FileStart) and at most
//     kMaxImageSide on a side and kMaxImagePixels in all.
//  3. Structure (all but FileStart): PNG data must inflate without an error, to their end and to
//     no more than the declared size holds; a JPEG's scans stay within kMaxJpegScans and
//     kMaxJpegScanBlocks; every GIF frame is within the size limits, has a colour table and
//     ends inside the file, and all frames together stay within kMaxGifFramePixels; a packed DIB is uncompressed, RLE or bit fields and holds
//     what its header declares; a BMP file is a DIB whose header, colour table and pixels lie
//     inside the file; a metafile's bounds, record count and every bitmap in its records are
//     held to the same limits, and what its records draw to kMaxMetafileDrawnPixels.
// A refusal is written to the debug log, once per name and thread (a null name is "(memory)");
// the verdict, when asked for, carries the declared size and the reason.
[[nodiscard]] bool CheckImageBytes(const void* data, size_t size, UIImageBytes kind, LPCWSTR name,
                                   UIImageVerdict* verdict = nullptr);

// The size part of the rule, for pictures made by other means (a metafile's play rectangle).
[[nodiscard]] bool ImageSizeAcceptable(long long width, long long height);
// The budget part, for readers that know an item's size before they read it; logs a refusal.
[[nodiscard]] bool ImageByteCountAcceptable(long long bytes, LPCWSTR name);

} // namespace ZvUI
