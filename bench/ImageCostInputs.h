#pragma once
// Image bytes that cost a decoder the most for their size, for the loader fuzzer and the image
// cost bench: flat PNGs of any depth, filter and interlace, GIF code streams and frame counts,
// the header-only files of the formats we refuse, and metafiles of full-size records.

#include <windows.h>

#include <string>
#include <vector>

namespace zvcost {

using Bytes = std::vector<unsigned char>;

// A PNG of flat pixels (all `value`), deflated at level 1: bit depth, colour type (0 grey,
// 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA), every row under `filter` (0 to 4), Adam7 or not.
Bytes MakeFlatPng(unsigned width, unsigned height, int depth, int colourType, bool interlaced, int filter,
                  unsigned char value = 0);
// An 8-bit grey PNG whose data inflate to `factor` times what its rows need.
Bytes MakeOverfullPng(unsigned width, unsigned height, unsigned factor);

// A GIF of one width x height frame whose LZW codes, after each clear code, stand for strings
// one pixel longer than the last (code size 2), `cycles` times over.
Bytes MakeLongCodeGif(unsigned width, unsigned height, unsigned cycles);

// Files of the formats the decoder reads but no rule covers.
struct NamedBytes {
    std::string name;
    Bytes bytes;
};
std::vector<NamedBytes> MakeUnruledFormats();

// A metafile of `count` records, each covering width x height: 0 filled rectangles, 1 a 1 x 1 DIB
// stretched over the bounds, 2 an alpha blend of a 1 x 1 DIB, 3 a polygon of `count` points
// zig-zagging over the whole height (one record). Null when GDI cannot make it.
HENHMETAFILE MakeCoveringMetafile(int width, int height, int count, int kind);
// The bytes of a metafile (GetEnhMetaFileBits); empty on failure.
Bytes MetafileBytes(HENHMETAFILE metafile);

} // namespace zvcost
