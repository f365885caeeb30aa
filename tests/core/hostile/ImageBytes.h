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
// A baseline three-channel JPEG of flat grey; cut, its scan stops after a few bytes and the file
// has no end marker (decoders fill the rest).
Bytes MakeJpeg(unsigned width, unsigned height, bool cut);
// A GIF of one frame with a 256-colour table and a varied pattern (uncompressed LZW codes).
Bytes MakeGifPixels(unsigned width, unsigned height);
// Stored (uncompressed) zip of name and bytes pairs.
Bytes MakeZip(const std::vector<std::pair<std::string, Bytes>>& items);
// Flips `count` random bits with a fixed seed.
Bytes FlipBits(const Bytes& valid, unsigned seed, int count);
