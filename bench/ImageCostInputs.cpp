// Costly image inputs made from scratch; see ImageCostInputs.h.
#include "ImageCostInputs.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace zvcost {

namespace {

uint32_t Crc(const unsigned char* p, size_t n, uint32_t crc = 0)
{
    return static_cast<uint32_t>(crc32(crc, p, static_cast<uInt>(n)));
}

void PutBe32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutLe16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void Chunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc(out.data() + start, out.size() - start));
}

// Deflates `raw` at level 1 in pieces, so that no second copy of it is needed.
Bytes Deflate(const std::vector<unsigned char>& raw)
{
    z_stream stream = {};
    deflateInit(&stream, 1);
    Bytes out(deflateBound(&stream, static_cast<uLong>(raw.size())));
    stream.next_in = const_cast<Bytef*>(raw.data());
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

int Channels(int colourType)
{
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

Bytes PngWithData(unsigned width, unsigned height, int depth, int colourType, bool interlaced, const Bytes& idat)
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(colourType), 0, 0,
                             static_cast<unsigned char>(interlaced ? 1 : 0)});
    Chunk(out, "IHDR", ihdr);
    if (colourType == 3) {
        Bytes palette(3 * 256);
        for (size_t i = 0; i < palette.size(); ++i)
            palette[i] = static_cast<unsigned char>(i);
        Chunk(out, "PLTE", palette);
    }
    // Several data chunks, as encoders write them.
    for (size_t at = 0; at < idat.size(); at += 1 << 20) {
        const size_t n = idat.size() - at < (1u << 20) ? idat.size() - at : 1u << 20;
        Chunk(out, "IDAT", Bytes(idat.begin() + static_cast<long>(at), idat.begin() + static_cast<long>(at + n)));
    }
    Chunk(out, "IEND", Bytes());
    return out;
}

// LZW codes, least significant bit first, into GIF sub-blocks.
struct CodeWriter {
    Bytes codes;
    uint32_t buffer = 0;
    int count = 0;
    void Put(unsigned code, int width)
    {
        buffer |= code << count;
        count += width;
        while (count >= 8) {
            codes.push_back(static_cast<unsigned char>(buffer));
            buffer >>= 8;
            count -= 8;
        }
    }
    void Finish(Bytes& out)
    {
        if (count > 0)
            codes.push_back(static_cast<unsigned char>(buffer));
        for (size_t at = 0; at < codes.size(); at += 255) {
            const size_t n = codes.size() - at < 255 ? codes.size() - at : 255;
            out.push_back(static_cast<unsigned char>(n));
            out.insert(out.end(), codes.begin() + static_cast<long>(at), codes.begin() + static_cast<long>(at + n));
        }
        out.push_back(0x00);
    }
};

Bytes GifStart(unsigned width, unsigned height)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, width);
    PutLe16(out, height);
    out.insert(out.end(), {0x81, 0x00, 0x00, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    return out;
}

void GifFrameHeader(Bytes& out, unsigned x, unsigned y, unsigned width, unsigned height)
{
    out.push_back(0x2C);
    PutLe16(out, x);
    PutLe16(out, y);
    PutLe16(out, width);
    PutLe16(out, height);
    out.push_back(0x00);
    out.push_back(2); // minimum code size
}

} // namespace

Bytes MakeFlatPng(unsigned width, unsigned height, int depth, int colourType, bool interlaced, int filter,
                  unsigned char value)
{
    const uint64_t bitsPerPixel = static_cast<uint64_t>(depth) * Channels(colourType);
    // The rows of each pass (one pass when not interlaced), each with its filter byte.
    static const unsigned kStart[2][7] = {{0, 4, 0, 2, 0, 1, 0}, {0, 0, 4, 0, 2, 0, 1}};
    static const unsigned kStep[2][7] = {{8, 8, 4, 4, 2, 2, 1}, {8, 8, 8, 4, 4, 2, 2}};
    uint64_t total = 0;
    std::vector<std::pair<uint64_t, uint64_t>> passes; // row bytes, rows
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
        const uint64_t w = interlaced ? (width > kStart[0][pass] ? (width - kStart[0][pass] + kStep[0][pass] - 1) / kStep[0][pass] : 0) : width;
        const uint64_t h = interlaced ? (height > kStart[1][pass] ? (height - kStart[1][pass] + kStep[1][pass] - 1) / kStep[1][pass] : 0) : height;
        if (w == 0 || h == 0)
            continue;
        const uint64_t row = (w * bitsPerPixel + 7) / 8;
        passes.emplace_back(row, h);
        total += (row + 1) * h;
    }
    std::vector<unsigned char> raw(static_cast<size_t>(total), value);
    size_t at = 0;
    for (const auto& pass : passes) {
        for (uint64_t r = 0; r < pass.second; ++r) {
            raw[at] = static_cast<unsigned char>(filter);
            at += static_cast<size_t>(pass.first + 1);
        }
    }
    return PngWithData(width, height, depth, colourType, interlaced, Deflate(raw));
}

Bytes MakeOverfullPng(unsigned width, unsigned height, unsigned factor)
{
    std::vector<unsigned char> raw(static_cast<size_t>(uint64_t{width + 1} * height * factor), 0);
    return PngWithData(width, height, 8, 0, false, Deflate(raw));
}

Bytes MakeLongCodeGif(unsigned width, unsigned height, unsigned cycles)
{
    Bytes out = GifStart(width, height);
    GifFrameHeader(out, 0, 0, width, height);
    CodeWriter writer;
    constexpr unsigned kClear = 4;
    int codeWidth = 3;
    for (unsigned cycle = 0; cycle < cycles; ++cycle) {
        // The clear code is read at the width the full table reached.
        writer.Put(kClear, codeWidth);
        codeWidth = 3;
        writer.Put(0, codeWidth);
        // Each code is the one about to be made: the last string and its own first pixel.
        for (unsigned next = kClear + 2; next < 4096; ++next) {
            writer.Put(next, codeWidth);
            if (next + 1 == (1u << codeWidth) && codeWidth < 12)
                ++codeWidth;
        }
        if (cycle + 1 == cycles)
            writer.Put(kClear + 1, codeWidth);
    }
    writer.Finish(out);
    out.push_back(0x3B);
    return out;
}

std::vector<NamedBytes> MakeUnruledFormats()
{
    std::vector<NamedBytes> out;
    const auto text = [](const char* s) { return Bytes(s, s + std::strlen(s)); };
    // A valid 16-bit PNM of 64 x 64, and the header of a 4K one.
    Bytes pnm = text("P6\n64 64\n65535\n");
    pnm.resize(pnm.size() + 64 * 64 * 6, 0x40);
    out.push_back({"pnm16", pnm});
    out.push_back({"pnm16-header", text("P6 3840 2160 65535\n")});
    out.push_back({"pgm-header", text("P5 3840 2160 255\n")});
    out.push_back({"hdr-header", text("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2160 +X 3840\n")});
    // An uncompressed 32-bit TGA header of 3840 x 2160 and no pixels.
    Bytes tga(18, 0);
    tga[2] = 2;
    tga[12] = 3840 & 0xFF;
    tga[13] = 3840 >> 8;
    tga[14] = 2160 & 0xFF;
    tga[15] = 2160 >> 8;
    tga[16] = 32;
    out.push_back({"tga-header", tga});
    // A raw 8-bit RGB PSD header of 3840 x 2160 and no pixels.
    Bytes psd = text("8BPS");
    psd.insert(psd.end(), {0, 1, 0, 0, 0, 0, 0, 0, 0, 3});
    psd.insert(psd.end(), {0, 0, 2160 >> 8, 2160 & 0xFF, 0, 0, 3840 >> 8, 3840 & 0xFF, 0, 8, 0, 3});
    psd.insert(psd.end(), 12, 0); // mode data, resources and layers: empty
    psd.insert(psd.end(), {0, 0}); // raw
    out.push_back({"psd-header", psd});
    // A Softimage PIC header.
    Bytes pic = {0x53, 0x80, 0xF6, 0x34};
    pic.resize(88, 0);
    std::memcpy(pic.data() + 88 - 4, "PICT", 4);
    pic.insert(pic.end(), {3840 >> 8, 3840 & 0xFF, 2160 >> 8, 2160 & 0xFF});
    pic.resize(104, 0);
    pic.insert(pic.end(), {0, 8, 0, 0xF0});
    out.push_back({"pic-header", pic});
    return out;
}

HENHMETAFILE MakeCoveringMetafile(int width, int height, int count, int kind)
{
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    if (recorder == nullptr)
        return nullptr;
    BITMAPINFO one = {};
    one.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD pixel = 0x80204080;
    if (kind == 3) {
        std::vector<POINT> points(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            points[static_cast<size_t>(i)] = POINT{static_cast<LONG>(static_cast<long long>(width) * i / count),
                                                   i % 2 == 0 ? 0 : height};
        ::Polygon(recorder, points.data(), count);
    }
    for (int i = 0; kind != 3 && i < count; ++i) {
        if (kind == 0) {
            ::Rectangle(recorder, 0, 0, width, height);
        } else if (kind == 1) {
            ::StretchDIBits(recorder, 0, 0, width, height, 0, 0, 1, 1, &pixel, &one, DIB_RGB_COLORS, SRCCOPY);
        } else {
            HDC source = ::CreateCompatibleDC(nullptr);
            void* bits = nullptr;
            HBITMAP dib = ::CreateDIBSection(nullptr, &one, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (dib != nullptr && bits != nullptr) {
                std::memcpy(bits, &pixel, sizeof(pixel));
                const HGDIOBJ old = ::SelectObject(source, dib);
                const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                ::GdiAlphaBlend(recorder, 0, 0, width, height, source, 0, 0, 1, 1, blend);
                ::SelectObject(source, old);
            }
            if (dib != nullptr)
                ::DeleteObject(dib);
            ::DeleteDC(source);
        }
    }
    return ::CloseEnhMetaFile(recorder);
}

Bytes MetafileBytes(HENHMETAFILE metafile)
{
    const UINT size = metafile != nullptr ? ::GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
    Bytes out(size);
    if (size == 0 || ::GetEnhMetaFileBits(metafile, size, out.data()) != size)
        out.clear();
    return out;
}

} // namespace zvcost
