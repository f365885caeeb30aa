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
// The blocks all scans visit together, each component counted at its own resolution: 16 passes
// over one full-size plane. libjpeg's progressive colour file visits 14 at 4:4:4 (about 8 at
// 4:2:0) and its CMYK one 24; at 32 a four-component file at the size limit whose every scan sets
// or refines all coefficients cost our decoder three times a full-size PNG, at 16 half of that.
constexpr long long kMaxJpegScanBlocks = 16 * (kMaxImagePixels / 64);
// A four-component (CMYK or YCCK) JPEG pays four planes of inverse transforms and the colour
// conversion whatever its scans: at the size limit that alone took about a second. Half the
// pixels keep it within the cost of a full-size three-component file.
constexpr long long kMaxJpegFourComponentPixels = kMaxImagePixels / 2;
// The system's GIF decoder decodes every frame when it opens the file.
constexpr long long kMaxGifFramePixels = 4 * kMaxImagePixels;
// Each frame costs the system's decoder its own work and its delay entry, however small it is.
constexpr long long kMaxGifFrames = 1000;
// What a frame's codes may decode to beyond its pixels: an encoder's last string, and a little more.
constexpr long long kGifCodeSlack = 4096;
// A 16-bit or an interlaced PNG costs our decoder about twice the work and memory of an 8-bit one
// of the same size, one that is both about four times; at the full size limit such files took
// seconds and over 256 MiB. Held to what costs no more than a full-size 8-bit file.
constexpr long long kMaxPngCostlyPixels = kMaxImagePixels / 2;
constexpr long long kMaxPngCostliestPixels = kMaxImagePixels / 4;
// What one image may hold while it is decoded: its encoded bytes, every buffer of the decoder,
// the bitmap made from it.
constexpr long long kMaxImageMemory = 256ll << 20;
// Records of one enhanced metafile played into a bitmap.
constexpr long long kMaxMetafileRecords = 100000;
// What a metafile's records may draw together: each record that draws is counted as covering the
// whole bitmap it is played into (GDI clips to it; a record's own bounds are anyone's word), and
// a line or polygon of n points as n times min(n, rows) more, the edges sorted on every row, and
// each record as 1,024 more (128 Ki for one that carries a bitmap) for what playing it sets up.
// Sixteen full-size planes: a full-screen alpha blend costs Wine about 30 ms.
constexpr long long kMaxMetafileDrawnPixels = 16 * kMaxImagePixels;

// What the bytes handed to CheckImageBytes are.
enum class UIImageBytes {
    // The first bytes of an image file, read before the rest: only the declared size is judged,
    // and a start too short to show it is left to the whole file's check.
    FileStart,
    // A whole image file: PNG, JPEG, GIF or BMP, the formats with a rule; any other is refused.
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
//  2. Format (files): only PNG, JPEG, GIF and BMP, told by their signature; every other format
//     (PNM, HDR, PSD, PIC, TGA, TIFF, ...) is refused by name, and our decoder is built without it.
//  3. Header: the declared size must be readable and at most kMaxImageSide on a side and
//     kMaxImagePixels in all (kMaxPngCostlyPixels for a 16-bit or an interlaced PNG,
//     kMaxPngCostliestPixels for one that is both). FileStart
//     lets a JPEG whose frame header lies past the start through with the size 0 by 0.
//  4. Structure (all but FileStart): PNG data must inflate without an error, to their end and to
//     no more than the exact bytes their colour type, depth, interlace and size need; a JPEG's
//     scans stay within kMaxJpegScans and kMaxJpegScanBlocks; a GIF has at most kMaxGifFrames
//     frames, each within the size limits, with a colour table, ending inside the file and with
//     codes that decode to no more than its pixels and kGifCodeSlack (followed code by code with
//     a table of string lengths), and all frames together stay within kMaxGifFramePixels; a BMP
//     file is a DIB whose header, colour table and pixels lie inside the file; a packed DIB is
//     uncompressed, RLE or bit fields and holds what its header declares; a metafile's bounds,
//     record count and every bitmap in its records are held to the same limits, and what its
//     records draw to kMaxMetafileDrawnPixels.
// The decode that follows is held to kMaxImageMemory (UIDecodeBudget.h).
// A refusal is written to the debug log, once per name and thread (a null name is "(memory)");
// the verdict, when asked for, carries the declared size and the reason.
[[nodiscard]] bool CheckImageBytes(const void* data, size_t size, UIImageBytes kind, LPCWSTR name,
                                   UIImageVerdict* verdict = nullptr);

// The size part of the rule, for pictures made by other means (a metafile's play rectangle).
[[nodiscard]] bool ImageSizeAcceptable(long long width, long long height);
// The budget part, for readers that know an item's size before they read it; logs a refusal.
[[nodiscard]] bool ImageByteCountAcceptable(long long bytes, LPCWSTR name);
// Bytes the check accepted and a decoder then refused: one line in the debug log, as a refusal.
void ReportDecoderRefusal(LPCWSTR name, const wchar_t* why);

} // namespace ZvUI
