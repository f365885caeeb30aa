// Image and archive bytes made from scratch: valid ones, and the damaged shapes the tests need.
#include "ImageBytes.h"

#include <cstdint>
#include <random>

namespace {

uint32_t Crc32(const unsigned char* p, size_t n)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBe32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutLe16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void PutLe32(Bytes& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

void PngChunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, Crc32(body.data(), body.size()));
}

// zlib stream of stored blocks: no compressor needed for a few bytes.
Bytes Stored(const Bytes& raw)
{
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at > 65535 ? 65535 : raw.size() - at;
        out.push_back(at + n == raw.size() ? 1 : 0);
        PutLe16(out, static_cast<uint32_t>(n));
        PutLe16(out, static_cast<uint32_t>(~n & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(out, (b << 16) | a);
    return out;
}

// The signature and the header chunk of an 8-bit RGBA PNG.
Bytes PngStart(unsigned width, unsigned height)
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PngChunk(out, "IHDR", ihdr);
    return out;
}

} // namespace

// RGBA pixels of a varied pattern; without pixels only the first rows of zeros are stored, as in a
// damaged download that still declares its full size.
Bytes MakePng(unsigned width, unsigned height, bool withPixels)
{
    Bytes out = PngStart(width, height);
    Bytes raw;
    if (withPixels) {
        for (unsigned y = 0; y < height; ++y) {
            raw.push_back(0);
            for (unsigned x = 0; x < width * 4; ++x)
                raw.push_back(static_cast<unsigned char>(x * 13 + y * 7));
        }
    } else {
        raw.assign(4096, 0);
    }
    PngChunk(out, "IDAT", Stored(raw));
    PngChunk(out, "IEND", Bytes());
    return out;
}

// 24-bit; without pixels only the headers and one row are written.
Bytes MakeBmp(int width, int height, bool withPixels)
{
    const uint32_t stride = static_cast<uint32_t>(width) * 3 + 3 & ~3u;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const uint32_t pixels = stride * (withPixels ? rows : 1);
    Bytes out = {'B', 'M'};
    PutLe32(out, 54 + pixels);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40);
    PutLe32(out, static_cast<uint32_t>(width));
    PutLe32(out, static_cast<uint32_t>(height));
    PutLe16(out, 1);
    PutLe16(out, 24);
    for (int i = 0; i < 6; ++i)
        PutLe32(out, 0);
    for (uint32_t i = 0; i < pixels; ++i)
        out.push_back(static_cast<unsigned char>(i * 37));
    return out;
}

// Two 2x2 frames; without the colour table neither a global nor a local one is present.
Bytes MakeGif(bool withColourTable)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, 2);
    PutLe16(out, 2);
    out.insert(out.end(), {static_cast<unsigned char>(withColourTable ? 0x81 : 0x00), 0x00, 0x00});
    if (withColourTable)
        out.insert(out.end(), {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    for (int frame = 0; frame < 2; ++frame) {
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00});
        out.insert(out.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0});
        out.insert(out.end(), {0x02, 0x02, 0x44, 0x01, 0x00});
    }
    out.push_back(0x3B);
    return out;
}

// Start of frame only: the data ends right after the header.
Bytes MakeJpegHeader(unsigned width, unsigned height)
{
    Bytes out = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08};
    out.push_back(static_cast<unsigned char>(height >> 8));
    out.push_back(static_cast<unsigned char>(height));
    out.push_back(static_cast<unsigned char>(width >> 8));
    out.push_back(static_cast<unsigned char>(width));
    out.insert(out.end(), {0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01});
    return out;
}

Bytes FlipBits(const Bytes& valid, unsigned seed, int count)
{
    Bytes out = valid;
    std::mt19937 rng(seed);
    for (int i = 0; i < count && !out.empty(); ++i) {
        const size_t at = rng() % out.size();
        out[at] = static_cast<unsigned char>(out[at] ^ (1u << (rng() % 8)));
    }
    return out;
}

Bytes MakeZip(const std::vector<std::pair<std::string, Bytes>>& items)
{
    Bytes out;
    Bytes central;
    for (const auto& item : items) {
        const uint32_t crc = Crc32(item.second.data(), item.second.size());
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint32_t size = static_cast<uint32_t>(item.second.size());
        const uint32_t nameLength = static_cast<uint32_t>(item.first.size());
        // Local header: version, flags, method 0 (stored), time and date 0.
        PutLe32(out, 0x04034B50);
        PutLe16(out, 20);
        PutLe16(out, 0);
        PutLe16(out, 0);
        PutLe32(out, 0);
        PutLe32(out, crc);
        PutLe32(out, size);
        PutLe32(out, size);
        PutLe16(out, nameLength);
        PutLe16(out, 0);
        out.insert(out.end(), item.first.begin(), item.first.end());
        out.insert(out.end(), item.second.begin(), item.second.end());
        // Central entry: the same, then comment, disk, attributes and the local header's offset.
        PutLe32(central, 0x02014B50);
        PutLe16(central, 20);
        PutLe16(central, 20);
        PutLe16(central, 0);
        PutLe16(central, 0);
        PutLe32(central, 0);
        PutLe32(central, crc);
        PutLe32(central, size);
        PutLe32(central, size);
        PutLe16(central, nameLength);
        PutLe32(central, 0);
        PutLe32(central, 0);
        PutLe32(central, 0);
        PutLe32(central, offset);
        central.insert(central.end(), item.first.begin(), item.first.end());
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    PutLe32(out, 0x06054B50);
    PutLe32(out, 0);
    PutLe16(out, static_cast<uint32_t>(items.size()));
    PutLe16(out, static_cast<uint32_t>(items.size()));
    PutLe32(out, static_cast<uint32_t>(central.size()));
    PutLe32(out, centralOffset);
    PutLe16(out, 0);
    return out;
}

namespace {

// Deflate's bit order: values least significant bit first, Huffman codes most significant first.
class BitWriter {
public:
    explicit BitWriter(Bytes& out) : m_out(out) {}
    void Bits(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1u);
    }
    void Code(uint32_t code, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            Bit((code >> i) & 1u);
    }
    void Flush()
    {
        if (m_used > 0)
            m_out.push_back(m_byte);
        m_byte = 0;
        m_used = 0;
    }

private:
    void Bit(uint32_t bit)
    {
        m_byte = static_cast<unsigned char>(m_byte | bit << m_used);
        if (++m_used == 8)
            Flush();
    }
    Bytes& m_out;
    unsigned char m_byte = 0;
    int m_used = 0;
};

// A zlib stream of `count` zero bytes: one literal, then matches of 258 at distance 1 (fixed codes).
Bytes DeflatedZeros(uint64_t count)
{
    Bytes out = {0x78, 0x01};
    BitWriter bits(out);
    bits.Bits(1, 1);
    bits.Bits(1, 2);
    uint64_t left = count;
    if (left > 0) {
        bits.Code(0x30, 8);
        --left;
    }
    for (; left >= 258; left -= 258) {
        bits.Code(0xC5, 8); // length 258
        bits.Code(0, 5);    // distance 1
    }
    for (; left > 0; --left)
        bits.Code(0x30, 8);
    bits.Code(0, 7);
    bits.Flush();
    PutBe32(out, static_cast<uint32_t>(count % 65521) << 16 | 1u);
    return out;
}

void PutBe16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// A dynamic block: literal 0, length 258, end of block (and literal 1 to complete the code),
// distance 1; the lengths sent with code-length symbols 0, 1, 2 and 18.
Bytes DynamicZeros(uint64_t count, bool cut)
{
    Bytes out = {0x78, 0x01};
    BitWriter bits(out);
    bits.Bits(1, 1);
    bits.Bits(2, 2);
    bits.Bits(286 - 257, 5);
    bits.Bits(0, 5);
    bits.Bits(18 - 4, 4);
    // Code-length code lengths in their order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1:
    // 18, 0, 2 and 1 have two bits (codes 0 -> 00, 1 -> 01, 2 -> 10, 18 -> 11).
    for (int order = 0; order < 18; ++order)
        bits.Bits(order == 2 || order == 3 || order == 15 || order == 17 ? 2 : 0, 3);
    const auto length = [&](int symbol) { bits.Code(symbol == 18 ? 3 : static_cast<uint32_t>(symbol), 2); };
    const auto zeros = [&](int run) {
        while (run >= 11) {
            const int n = run > 138 ? 138 : run;
            length(18);
            bits.Bits(static_cast<uint32_t>(n - 11), 7);
            run -= n;
        }
        for (; run > 0; --run)
            length(0);
    };
    // Literal/length: 0, (1 when cut), 256 and 285 of two bits; distance: 0 of one bit.
    length(2);
    if (cut) {
        length(2);
        zeros(254);
    } else {
        zeros(255);
    }
    length(2);
    zeros(28);
    length(2);
    length(1);
    // Codes by symbol: 0 -> 00, then (1 -> 01), 256, 285.
    const uint32_t end = cut ? 2 : 1;
    const uint32_t match = cut ? 3 : 2;
    uint64_t left = count;
    if (left > 0) {
        bits.Code(0, 2);
        --left;
    }
    for (; left >= 258; left -= 258) {
        bits.Code(match, 2);
        bits.Code(0, 1);
    }
    for (; left > 0; --left)
        bits.Code(0, 2);
    if (!cut)
        bits.Code(end, 2);
    bits.Flush();
    if (!cut)
        PutBe32(out, static_cast<uint32_t>(count % 65521) << 16 | 1u);
    return out;
}

} // namespace

Bytes MakeDeflatedPng(unsigned width, unsigned height, unsigned long long zeros, unsigned char cmf, unsigned char flg)
{
    Bytes out = PngStart(width, height);
    Bytes data = DeflatedZeros(zeros);
    data[0] = cmf;
    data[1] = flg;
    PngChunk(out, "IDAT", data);
    PngChunk(out, "IEND", Bytes());
    return out;
}

Bytes MakeLenientPng(unsigned width, unsigned height, unsigned long long zeros, bool cut)
{
    Bytes out = PngStart(width, height);
    PngChunk(out, "IDAT", DynamicZeros(zeros, cut));
    PngChunk(out, "IEND", Bytes());
    return out;
}

Bytes MakeProgressiveJpeg(unsigned width, unsigned height, int scans)
{
    Bytes out = {0xFF, 0xD8};
    out.insert(out.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    out.insert(out.end(), {0xFF, 0xC2, 0x00, 0x0B, 0x08});
    PutBe16(out, height);
    PutBe16(out, width);
    out.insert(out.end(), {0x01, 0x01, 0x11, 0x00});
    // One code of one bit: DC category 0, so each block of a scan is one zero bit.
    out.insert(out.end(), {0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01});
    out.insert(out.end(), 15, 0);
    out.push_back(0x00);
    const uint64_t blocks = uint64_t{(width + 7) / 8} * ((height + 7) / 8);
    for (int scan = 0; scan < scans; ++scan) {
        out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00});
        out.insert(out.end(), static_cast<size_t>((blocks + 7) / 8), 0x00);
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes MakeZeroPng(unsigned width, unsigned height)
{
    Bytes out = PngStart(width, height);
    PngChunk(out, "IDAT", DeflatedZeros(static_cast<uint64_t>(height) * (uint64_t{width} * 4 + 1)));
    PngChunk(out, "IEND", Bytes());
    return out;
}

// Every table holds one code of one bit: DC category 0 and AC end of block, so each block of
// the scan is two zero bits.
Bytes MakeJpeg(unsigned width, unsigned height, bool cut)
{
    Bytes out = {0xFF, 0xD8};
    out.insert(out.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    out.insert(out.end(), {0xFF, 0xC0, 0x00, 0x11, 0x08});
    PutBe16(out, height);
    PutBe16(out, width);
    out.insert(out.end(), {0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x00, 0x03, 0x11, 0x00});
    for (unsigned char table : {0x00, 0x10}) {
        out.insert(out.end(), {0xFF, 0xC4, 0x00, 0x14, table, 0x01});
        out.insert(out.end(), 15, 0);
        out.push_back(0x00);
    }
    out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x3F, 0x00});
    const uint64_t blocks = uint64_t{(width + 7) / 8} * ((height + 7) / 8) * 3;
    const uint64_t scan = cut ? 16 : (blocks * 2 + 7) / 8;
    out.insert(out.end(), static_cast<size_t>(scan), 0x00);
    if (!cut)
        out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

// Code size 8: each pixel is one 9-bit code, and a clear code every 250 pixels keeps the width.
Bytes MakeGifPixels(unsigned width, unsigned height)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, width);
    PutLe16(out, height);
    out.insert(out.end(), {0xF7, 0x00, 0x00});
    for (unsigned i = 0; i < 256; ++i)
        out.insert(out.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                               static_cast<unsigned char>(i * 7)});
    out.insert(out.end(), {0x2C, 0, 0, 0, 0});
    PutLe16(out, width);
    PutLe16(out, height);
    out.push_back(0x00);
    out.push_back(8);
    Bytes codes;
    BitWriter bits(codes);
    bits.Bits(256, 9);
    unsigned run = 0;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            if (run == 250) {
                bits.Bits(256, 9);
                run = 0;
            }
            bits.Bits((x + y * 3) & 0xFF, 9);
            ++run;
        }
    }
    bits.Bits(257, 9);
    bits.Flush();
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = codes.size() - at < 255 ? codes.size() - at : 255;
        out.push_back(static_cast<unsigned char>(n));
        out.insert(out.end(), codes.begin() + static_cast<long>(at), codes.begin() + static_cast<long>(at + n));
    }
    out.push_back(0x00);
    out.push_back(0x3B);
    return out;
}
