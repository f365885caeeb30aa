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

} // namespace

// RGBA pixels of a varied pattern; without pixels only the first rows of zeros are stored, as in a
// damaged download that still declares its full size.
Bytes MakePng(unsigned width, unsigned height, bool withPixels)
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PngChunk(out, "IHDR", ihdr);
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
