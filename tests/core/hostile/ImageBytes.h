#pragma once
// Small generators of image and archive bytes for the hostile-input tests and the loader fuzzer.

#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<unsigned char>;

Bytes MakePng(unsigned width, unsigned height, bool withPixels);
Bytes MakeBmp(int width, int height, bool withPixels = true);
Bytes MakeGif(bool withColourTable);
Bytes MakeJpegHeader(unsigned width, unsigned height);
// A PNG whose pixels are all zero, deflated: a few hundred kilobytes that inflate to the whole
// declared size.
Bytes MakeZeroPng(unsigned width, unsigned height);
// A PNG declaring width x height over `zeros` zero bytes deflated with fixed codes, behind the
// given two-byte zlib header (0x78 0x01 is the usual one).
Bytes MakeDeflatedPng(unsigned width, unsigned height, unsigned long long zeros, unsigned char cmf = 0x78,
                      unsigned char flg = 0x01);
// The same with one dynamic block whose literal/length code is incomplete (zlib refuses it, a
// lenient decoder does not); each 258 zeros cost three bits. Cut, the stream stops before its
// end-of-block code and its checksum, with a complete code whose all-zero code is a literal.
Bytes MakeLenientPng(unsigned width, unsigned height, unsigned long long zeros, bool cut = false);
// A baseline three-channel JPEG of flat grey; cut, its scan stops after a few bytes and the file
// has no end marker (decoders fill the rest).
Bytes MakeJpeg(unsigned width, unsigned height, bool cut);
// A one-component progressive JPEG of flat grey: `scans` DC scans, the same one again and again.
// Subsampled, the file is 4:2:0 colour (luma 2 x 2, both chroma 1 x 1) and the scans are of its
// full-size luma.
Bytes MakeProgressiveJpeg(unsigned width, unsigned height, int scans, bool subsampled = false);
// A GIF of one frame with a 256-colour table and a varied pattern (uncompressed LZW codes).
Bytes MakeGifPixels(unsigned width, unsigned height);
// Stored (uncompressed) zip of name and bytes pairs.
Bytes MakeZip(const std::vector<std::pair<std::string, Bytes>>& items);
// Flips `count` random bits with a fixed seed.
Bytes FlipBits(const Bytes& valid, unsigned seed, int count);

// --- costly shapes ---

// A PNG of the given colour type (0 grey, 2 RGB, 4 grey and alpha, 6 RGBA), depth and interlace,
// every row filtered with `filter` over zero samples, deflated; `extra` zero bytes follow the rows
// (a negative count cuts them). Without data only a few bytes stand for the rows.
Bytes MakeShapedPng(unsigned width, unsigned height, int depth, int colour, bool interlaced, int filter = 0,
                    long long extra = 0, bool withData = true);
// A 1 x 1 GIF whose codes, after each clear code, stand for ever longer strings (each one pixel
// longer than the last, up to code 4095), for at least `bytes` bytes of data.
Bytes MakeGifLongCodes(size_t bytes);
// `frames` frames of 1 x 1 on a width x height canvas, each with a delay.
Bytes MakeGifFrames(unsigned frames, unsigned width = 16, unsigned height = 16);
// A baseline JPEG (MakeJpeg) with `metadata` bytes of application segments before its frame header.
Bytes MakeJpegBehindMetadata(unsigned width, unsigned height, size_t metadata);
// A progressive four-component 4:4:4 JPEG: one DC scan of all components, then per component a
// first AC scan with every coefficient set and `refinements` refinement scans that visit them all.
Bytes MakeCostlyProgressiveJpeg(unsigned width, unsigned height, int refinements);
