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

Bytes MakeProgressiveJpeg(unsigned width, unsigned height, int scans, bool subsampled)
{
    Bytes out = {0xFF, 0xD8};
    out.insert(out.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    out.insert(out.end(), {0xFF, 0xC2, 0x00, static_cast<unsigned char>(subsampled ? 0x11 : 0x0B), 0x08});
    PutBe16(out, height);
    PutBe16(out, width);
    if (subsampled)
        out.insert(out.end(), {0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x00, 0x03, 0x11, 0x00});
    else
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

// --- costly shapes ---

namespace {

void PutBytes(Bytes& out, const char* text)
{
    while (*text != '\0')
        out.push_back(static_cast<unsigned char>(*text++));
}

// Code-size bookkeeping of a GIF decoder, for writing codes it reads back as meant.
class GifCodeWriter {
public:
    GifCodeWriter(Bytes& codes, int minimum) : m_bits(codes), m_minimum(minimum), m_size(minimum + 1) {}
    // Written at the width in force, which it then resets.
    void Clear()
    {
        Put(1u << m_minimum);
        m_size = m_minimum + 1;
        m_avail = (1 << m_minimum) + 2;
        m_old = false;
    }
    // A code that adds a table entry when one came before it.
    void Code(uint32_t code)
    {
        Put(code);
        if (m_old)
            ++m_avail;
        if ((m_avail & ((1 << m_size) - 1)) == 0 && m_avail <= 0x0FFF)
            ++m_size;
        m_old = true;
    }
    void End()
    {
        Put((1u << m_minimum) + 1);
        m_bits.Flush();
    }
    int Avail() const { return m_avail; }

private:
    void Put(uint32_t code) { m_bits.Bits(code, m_size); }
    BitWriter m_bits;
    int m_minimum;
    int m_size;
    int m_avail = 0;
    bool m_old = false;
};

void PutSubBlocks(Bytes& out, const Bytes& data)
{
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = data.size() - at < 255 ? data.size() - at : 255;
        out.push_back(static_cast<unsigned char>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
    }
    out.push_back(0x00);
}

Bytes GifStart(unsigned width, unsigned height)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, width);
    PutLe16(out, height);
    out.insert(out.end(), {0xF0, 0x00, 0x00, 0, 0, 0, 255, 255, 255});
    return out;
}

// Each row: its filter byte and one zero as literals, then matches of the zero before (fixed
// codes); written directly, as compressing 66 MB of rows would take seconds.
Bytes DeflateRows(const std::vector<std::pair<uint64_t, int>>& rows, uint64_t extra)
{
    static const int kBase[28] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23,
                                  27, 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227};
    static const int kExtra[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
    Bytes out = {0x78, 0x01};
    BitWriter bits(out);
    bits.Bits(1, 1);
    bits.Bits(1, 2);
    uint64_t a = 1;
    uint64_t b = 0;
    const auto literal = [&](unsigned value) {
        bits.Code(0x30 + value, 8);
        a = (a + value) % 65521;
        b = (b + a) % 65521;
    };
    const auto length = [&](uint64_t n) {
        if (n == 258) {
            bits.Code(0xC5, 8);
        } else {
            int c = 27;
            while (kBase[c] > static_cast<int>(n))
                --c;
            const uint32_t symbol = 257 + static_cast<uint32_t>(c);
            if (symbol <= 279)
                bits.Code(symbol - 256, 7);
            else
                bits.Code(0xC0 + symbol - 280, 8);
            bits.Bits(static_cast<uint32_t>(n) - static_cast<uint32_t>(kBase[c]), kExtra[c]);
        }
        bits.Code(0, 5); // distance 1
        b = (b + a * (n % 65521)) % 65521;
    };
    const auto zeros = [&](uint64_t count) {
        if (count == 0)
            return;
        literal(0);
        --count;
        for (; count >= 258; count -= 258)
            length(258);
        if (count >= 3) {
            length(count);
            count = 0;
        }
        for (; count > 0; --count)
            literal(0);
    };
    for (const auto& row : rows) {
        literal(static_cast<unsigned>(row.second));
        zeros(row.first);
    }
    zeros(extra);
    bits.Code(0, 7);
    bits.Flush();
    PutBe32(out, static_cast<uint32_t>(b << 16 | a));
    return out;
}

// JPEG's bit order: most significant first within each byte, an 0xFF followed by a stuffed zero,
// the last byte padded with ones.
class JpegBits {
public:
    explicit JpegBits(Bytes& out) : m_out(out) {}
    void Put(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = static_cast<unsigned char>(m_byte << 1 | ((value >> i) & 1u));
            if (++m_used == 8)
                Emit();
        }
    }
    // Runs of zero bits, a byte at a time where it can.
    void Zeros(uint64_t count)
    {
        for (; count > 0 && m_used != 0; --count)
            Put(0, 1);
        m_out.insert(m_out.end(), static_cast<size_t>(count / 8), 0x00);
        Put(0, static_cast<int>(count % 8));
    }
    void Finish()
    {
        while (m_used != 0)
            Put(1, 1);
    }

private:
    void Emit()
    {
        m_out.push_back(m_byte);
        if (m_byte == 0xFF)
            m_out.push_back(0x00);
        m_byte = 0;
        m_used = 0;
    }
    Bytes& m_out;
    unsigned char m_byte = 0;
    int m_used = 0;
};

} // namespace

Bytes MakeShapedPng(unsigned width, unsigned height, int depth, int colour, bool interlaced, int filter,
                    long long extra, bool withData)
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(colour), 0, 0,
                             static_cast<unsigned char>(interlaced ? 1 : 0)});
    PngChunk(out, "IHDR", ihdr);
    const int channels = colour == 0 ? 1 : colour == 2 ? 3 : colour == 4 ? 2 : 4;
    std::vector<std::pair<uint64_t, int>> rows;
    const auto pass = [&](uint64_t w, uint64_t h) {
        if (w == 0 || h == 0)
            return;
        const uint64_t bytes = (w * channels * depth + 7) / 8;
        for (uint64_t y = 0; y < h; ++y)
            rows.emplace_back(bytes, filter);
    };
    if (!interlaced) {
        pass(width, height);
    } else {
        const int x0[7] = {0, 4, 0, 2, 0, 1, 0};
        const int y0[7] = {0, 0, 4, 0, 2, 0, 1};
        const int dx[7] = {8, 8, 4, 4, 2, 2, 1};
        const int dy[7] = {8, 8, 8, 4, 4, 2, 2};
        for (int p = 0; p < 7; ++p)
            pass(width > static_cast<unsigned>(x0[p]) ? (width - x0[p] + dx[p] - 1) / dx[p] : 0,
                 height > static_cast<unsigned>(y0[p]) ? (height - y0[p] + dy[p] - 1) / dy[p] : 0);
    }
    // A negative extra takes whole bytes off the last rows.
    for (long long cut = extra; cut < 0 && !rows.empty();) {
        const uint64_t take = static_cast<uint64_t>(-cut) <= rows.back().first + 1 ? static_cast<uint64_t>(-cut)
                                                                                 : rows.back().first + 1;
        if (take == rows.back().first + 1)
            rows.pop_back();
        else
            rows.back().first -= take;
        cut += static_cast<long long>(take);
    }
    if (!withData)
        rows.resize(rows.size() < 4 ? rows.size() : 4);
    PngChunk(out, "IDAT", DeflateRows(rows, extra > 0 ? static_cast<uint64_t>(extra) : 0));
    PngChunk(out, "IEND", Bytes());
    return out;
}

Bytes MakeGifLongCodes(size_t bytes)
{
    Bytes out = GifStart(1, 1);
    out.insert(out.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x00, 8});
    Bytes codes;
    GifCodeWriter writer(codes, 8);
    while (codes.size() < bytes) {
        writer.Clear();
        writer.Code(0);
        // Each new code is the one the decoder is about to add: the last string and its first pixel.
        while (writer.Avail() < 4096)
            writer.Code(static_cast<uint32_t>(writer.Avail()));
    }
    writer.End();
    PutSubBlocks(out, codes);
    out.push_back(0x3B);
    return out;
}

Bytes MakeGifFrames(unsigned frames, unsigned width, unsigned height)
{
    Bytes out = GifStart(width, height);
    out.insert(out.end(), {0x21, 0xFF, 0x0B});
    PutBytes(out, "NETSCAPE2.0");
    out.insert(out.end(), {0x03, 0x01, 0x00, 0x00, 0x00});
    for (unsigned i = 0; i < frames; ++i) {
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00});
        out.insert(out.end(), {0x2C});
        PutLe16(out, i % width);
        PutLe16(out, (i / width) % height);
        out.insert(out.end(), {1, 0, 1, 0, 0x00, 0x02, 0x02, 0x4C, 0x01, 0x00});
    }
    out.push_back(0x3B);
    return out;
}

Bytes MakeJpegBehindMetadata(unsigned width, unsigned height, size_t metadata)
{
    const Bytes jpeg = MakeJpeg(width, height, false);
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    while (metadata > 0) {
        const size_t n = metadata > 60000 ? 60000 : metadata < 4 ? 4 : metadata;
        out.insert(out.end(), {0xFF, 0xE1});
        PutBe16(out, static_cast<uint32_t>(n - 2));
        for (size_t i = 4; i < n; ++i)
            out.push_back(static_cast<unsigned char>('a' + i % 26));
        metadata -= n < metadata ? n : metadata;
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

Bytes MakeCostlyProgressiveJpeg(unsigned width, unsigned height, int refinements)
{
    Bytes out = {0xFF, 0xD8};
    out.insert(out.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    out.insert(out.end(), {0xFF, 0xC2, 0x00, 0x14, 0x08});
    PutBe16(out, height);
    PutBe16(out, width);
    out.insert(out.end(), {0x04, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0, 4, 0x11, 0});
    // One symbol of one bit in each table: DC category 0; AC run 0 size 1; an end-of-band run of 2^14.
    const unsigned char tables[3][2] = {{0x00, 0x00}, {0x10, 0x01}, {0x11, 0xE0}};
    for (const auto& t : tables) {
        out.insert(out.end(), {0xFF, 0xC4, 0x00, 0x14, t[0], 0x01});
        out.insert(out.end(), 15, 0);
        out.push_back(t[1]);
    }
    const uint64_t blocks = uint64_t{(width + 7) / 8} * ((height + 7) / 8);
    // The DC scan of all four components.
    out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x0E, 0x04, 1, 0x00, 2, 0x00, 3, 0x00, 4, 0x00, 0x00, 0x00, 0x00});
    {
        JpegBits bits(out);
        bits.Zeros(blocks * 4);
        bits.Finish();
    }
    const int top = refinements;
    for (unsigned char id = 1; id <= 4; ++id) {
        // Every coefficient +1 at the lowest bit kept.
        out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, id, 0x00, 0x01, 0x3F, static_cast<unsigned char>(top)});
        {
            JpegBits bits(out);
            for (uint64_t i = 0; i < blocks * 63; ++i)
                bits.Put(1, 2);
            bits.Finish();
        }
        for (int r = top; r >= 1; --r) {
            out.insert(out.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, id, 0x01, 0x01, 0x3F,
                                   static_cast<unsigned char>(r << 4 | (r - 1))});
            JpegBits bits(out);
            for (uint64_t done = 0; done < blocks;) {
                // A run of 2^14 + 16383 ends of band, then a zero correction bit for each of the
                // 63 coefficients of every block in it.
                bits.Put(0, 1);
                bits.Put(0x3FFF, 14);
                const uint64_t run = blocks - done < 32767 ? blocks - done : 32767;
                bits.Zeros(run * 63);
                done += run;
            }
            bits.Finish();
        }
    }
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}
