// Scratch skin folder and the image generators of the hostile-input tests.
#include "HostileTestSupport.h"

#include <cstdint>
#include <random>

#include "manager/PaintManagerUI.h"

using ZvUI::CPaintManagerUI;

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

ScratchSkin::ScratchSkin()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t name[32] = {};
    wsprintfW(name, L"zvhostile%lu\\", ::GetTickCount());
    m_folder = std::wstring(temp) + name;
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    CPaintManagerUI::SetResourceArchive(L"", false);
    CPaintManagerUI::SetResourceFolder(m_folder.c_str());
}

ScratchSkin::~ScratchSkin()
{
    CPaintManagerUI::SetResourceFolder(L"");
    WIN32_FIND_DATAW found = {};
    HANDLE find = ::FindFirstFileW((m_folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                ::DeleteFileW((m_folder + found.cFileName).c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(m_folder.c_str());
}

void ScratchSkin::Write(const std::wstring& name, const Bytes& bytes) const
{
    HANDLE file = ::CreateFileW((m_folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

void ScratchSkin::WriteText(const std::wstring& name, const std::string& utf8) const
{
    Write(name, Bytes(utf8.begin(), utf8.end()));
}

// Grey RGBA pixels; without pixels only the first rows of zeros are stored, as in a
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
            for (unsigned x = 0; x < width; ++x)
                raw.insert(raw.end(), {0x80, 0x40, 0x20, 0xFF});
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

// One 2x2 frame with neither a global nor a local colour table.
Bytes MakeGifWithoutColourTable()
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, 2);
    PutLe16(out, 2);
    out.insert(out.end(), {0x00, 0x00, 0x00});
    out.push_back(0x2C);
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, 2);
    PutLe16(out, 2);
    out.push_back(0x00);
    out.insert(out.end(), {0x02, 0x02, 0x44, 0x01, 0x00, 0x3B});
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
