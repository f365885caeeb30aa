// The image limits: budget, declared size and structure, checked before any decoder runs.
#include "render/UIImageLimits.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>

#include <zlib.h>

#define STBI_NO_STDIO
#include "stb_image.h"

namespace ZvUI {

namespace {

void Refuse(UIImageVerdict& verdict, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vswprintf(verdict.reason, sizeof(verdict.reason) / sizeof(verdict.reason[0]), format, args);
    va_end(args);
    verdict.accepted = false;
}

// What a skin never needs is refused with one line in the debug log per named image (each
// paint asks again); the control is drawn without it.
void Report(LPCWSTR name, const wchar_t* why)
{
    thread_local std::set<std::wstring> reported;
    if (name != nullptr && !reported.insert(name).second)
        return;
    wchar_t line[512] = {};
    std::swprintf(line, 512, L"ZvUI: image \"%.300ls\" refused: %ls\n", name != nullptr ? name : L"(memory)", why);
    ::OutputDebugStringW(line);
}

bool SizeRefused(long long width, long long height, UIImageVerdict& verdict)
{
    if (ImageSizeAcceptable(width, height))
        return false;
    Refuse(verdict, L"it declares %lld x %lld pixels, over %d on a side or %lld in all", width, height,
           kMaxImageSide, kMaxImagePixels);
    return true;
}

uint32_t Be16(const BYTE* p)
{
    return uint32_t{p[0]} << 8 | p[1];
}

uint32_t Be32(const BYTE* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint32_t Le16(const BYTE* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

uint32_t Le32(const BYTE* p)
{
    return Le16(p) | Le16(p + 2) << 16;
}

// --- PNG ---

// The header chunk, first or after Apple's CgBI chunk.
struct PngHeader {
    long long width = 0;
    long long height = 0;
    int depth = 0;
    int channels = 0;
    bool interlaced = false;
};

bool ReadPngHeader(const BYTE* data, size_t size, PngHeader& header)
{
    size_t at = 8;
    if (size >= at + 12 && std::memcmp(data + at + 4, "CgBI", 4) == 0)
        at += 12 + static_cast<size_t>(Be32(data + at));
    if (size < at + 8 + 13 || Be32(data + at) != 13 || std::memcmp(data + at + 4, "IHDR", 4) != 0)
        return false;
    const BYTE* h = data + at + 8;
    header.width = Be32(h);
    header.height = Be32(h + 4);
    header.depth = h[8];
    const int colour = h[9];
    header.interlaced = h[12] == 1;
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    header.channels = colour <= 6 ? kChannels[colour] : 0;
    const int d = header.depth;
    const bool depthKnown = colour == 0   ? d == 1 || d == 2 || d == 4 || d == 8 || d == 16
                            : colour == 3 ? d == 1 || d == 2 || d == 4 || d == 8
                                          : d == 8 || d == 16;
    return header.channels > 0 && depthKnown && h[12] <= 1;
}

// Exactly the bytes the rows need: a filter byte and the packed samples of each row, of each of
// the seven passes when interlaced.
unsigned long long PngDataBytes(const PngHeader& header)
{
    const auto rows = [&](long long width, long long height) -> unsigned long long {
        if (width <= 0 || height <= 0)
            return 0;
        const unsigned long long bits = static_cast<unsigned long long>(width) * header.channels * header.depth;
        return ((bits + 7) / 8 + 1) * static_cast<unsigned long long>(height);
    };
    if (!header.interlaced)
        return rows(header.width, header.height);
    static const int kX0[7] = {0, 4, 0, 2, 0, 1, 0};
    static const int kY0[7] = {0, 0, 4, 0, 2, 0, 1};
    static const int kDx[7] = {8, 8, 4, 4, 2, 2, 1};
    static const int kDy[7] = {8, 8, 8, 4, 4, 2, 2};
    unsigned long long total = 0;
    for (int p = 0; p < 7; ++p)
        total += rows((header.width - kX0[p] + kDx[p] - 1) / kDx[p], (header.height - kY0[p] + kDy[p] - 1) / kDy[p]);
    return total;
}

// Our decoder grows its buffer to whatever the data hold and reads past their end as zeros, and
// it takes window sizes and Huffman tables that zlib refuses: the data are inflated into a
// scratch buffer first and counted. They must reach the end of their stream without an error
// and hold no more than the rows need. Only the checksum after the data is forgiven, as the
// decoder does not read it.
bool PngSound(const BYTE* data, size_t size, const PngHeader& header, UIImageVerdict& verdict)
{
    const unsigned long long limit = PngDataBytes(header);
    // Apple's CgBI files hold raw deflate data, without the zlib header; our decoder reads them too.
    const bool raw = size >= 16 && std::memcmp(data + 12, "CgBI", 4) == 0;
    z_stream stream = {};
    if ((raw ? inflateInit2(&stream, -15) : inflateInit(&stream)) != Z_OK) {
        Refuse(verdict, L"its data could not be checked");
        return false;
    }
    static thread_local Bytef scratch[32768];
    unsigned long long total = 0;
    int result = Z_OK;
    for (size_t at = 8; result == Z_OK && size - at >= 12;) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12 || std::memcmp(data + at + 4, "IEND", 4) == 0)
            break;
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0) {
            stream.next_in = const_cast<Bytef*>(data + at + 8);
            stream.avail_in = length;
            while (result == Z_OK && stream.avail_in > 0) {
                stream.next_out = scratch;
                stream.avail_out = sizeof(scratch);
                result = inflate(&stream, Z_NO_FLUSH);
                total += sizeof(scratch) - stream.avail_out;
                if (total > limit)
                    result = Z_MEM_ERROR;
                else if (result == Z_BUF_ERROR && stream.avail_in == 0)
                    result = Z_OK;
            }
        }
        at += 12 + static_cast<size_t>(length);
    }
    const bool checksumOnly = result == Z_DATA_ERROR && stream.msg != nullptr &&
                              std::strcmp(stream.msg, "incorrect data check") == 0;
    inflateEnd(&stream);
    if (result == Z_STREAM_END || checksumOnly)
        return true;
    if (total > limit)
        Refuse(verdict, L"its data inflate to more than the %llu bytes its rows need", limit);
    else if (result == Z_OK)
        Refuse(verdict, L"its data end before their stream does");
    else
        Refuse(verdict, L"its data are damaged (%hs)", stream.msg != nullptr ? stream.msg : "inflate error");
    return false;
}

// --- JPEG ---

struct JpegComponent {
    int id = 0;
    int h = 1;
    int v = 1;
};

// Counts the scans and the blocks they visit; the data between markers are skipped as the
// decoder skips them. A cut file ends the count: the decoder stops there too.
bool JpegSound(const BYTE* data, size_t size, UIImageVerdict& verdict)
{
    JpegComponent components[4];
    int componentCount = 0;
    long long mcuX = 0;
    long long mcuY = 0;
    int scans = 0;
    long long blocks = 0;
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF || data[at + 1] == 0xFF || data[at + 1] == 0x00) {
            ++at;
            continue;
        }
        const BYTE marker = data[at + 1];
        if (marker == 0xD9)
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const uint32_t length = Be16(data + at + 2);
        if (length < 2 || length > size - at - 2)
            break;
        const BYTE* segment = data + at + 4;
        const uint32_t segmentLength = length - 2;
        at += 2 + length;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && segmentLength >= 6) {
            const long long height = Be16(segment + 1);
            const long long width = Be16(segment + 3);
            if (segment[5] >= 4 && width * height > kMaxJpegFourComponentPixels) {
                Refuse(verdict, L"it is a four-component JPEG of more than %lld pixels", kMaxJpegFourComponentPixels);
                return false;
            }
            componentCount = segment[5] < 4 ? segment[5] : 4;
            if (segmentLength < 6u + 3u * componentCount)
                componentCount = 0;
            int hMax = 1;
            int vMax = 1;
            for (int i = 0; i < componentCount; ++i) {
                const BYTE* c = segment + 6 + 3 * i;
                components[i] = JpegComponent{c[0], (c[1] >> 4) > 0 ? c[1] >> 4 : 1, (c[1] & 15) > 0 ? c[1] & 15 : 1};
                hMax = components[i].h > hMax ? components[i].h : hMax;
                vMax = components[i].v > vMax ? components[i].v : vMax;
            }
            mcuX = (width + 8 * hMax - 1) / (8 * hMax);
            mcuY = (height + 8 * vMax - 1) / (8 * vMax);
        } else if (marker == 0xDA && segmentLength >= 1) {
            ++scans;
            const int inScan = segment[0];
            for (int s = 0; s < inScan && 1u + 2u * s < segmentLength; ++s) {
                for (int i = 0; i < componentCount; ++i) {
                    if (components[i].id == segment[1 + 2 * s])
                        blocks += mcuX * components[i].h * mcuY * components[i].v;
                }
            }
            if (scans > kMaxJpegScans) {
                Refuse(verdict, L"it has more than %d scans", kMaxJpegScans);
                return false;
            }
            if (blocks > kMaxJpegScanBlocks) {
                Refuse(verdict, L"its %d scans visit more than %lld blocks", scans, kMaxJpegScanBlocks);
                return false;
            }
            // The entropy-coded data run to the next marker that is neither a restart nor a
            // stuffed zero.
            while (at + 1 < size && !(data[at] == 0xFF && data[at + 1] != 0x00 &&
                                      !(data[at + 1] >= 0xD0 && data[at + 1] <= 0xD7)))
                ++at;
        }
    }
    return true;
}

// --- GIF ---

// Data sub-blocks of a GIF: a length byte, that many bytes, until a zero length.
bool SkipGifSubBlocks(const BYTE* data, size_t size, size_t& at)
{
    while (at < size) {
        const size_t length = data[at++];
        if (length == 0)
            return true;
        at += length;
    }
    return false;
}

// A frame's LZW codes, followed as our decoder follows them with a table of string lengths in
// place of pixels. The decoder walks each code's whole string even once the frame is full, so
// codes standing for ever longer strings cost it the square of their number: what the codes
// decode to is held to the frame's pixels and kGifCodeSlack. Where our decoder would stop at a
// damaged code the count stops too; the sub-blocks must still end inside the file.
bool GifCodesSound(const BYTE* data, size_t size, size_t& at, int minimum, long long pixels, UIImageVerdict& verdict)
{
    static thread_local uint16_t lengths[4096];
    const int clear = 1 << minimum;
    for (int i = 0; i < clear; ++i)
        lengths[i] = 1;
    int codeSize = minimum + 1;
    int codeMask = (1 << codeSize) - 1;
    int avail = clear + 2;
    int oldCode = -1;
    bool cleared = false;
    bool counting = true;
    uint32_t bits = 0;
    int validBits = 0;
    long long decoded = 0;
    const long long limit = pixels + kGifCodeSlack;
    while (at < size) {
        const size_t length = data[at++];
        if (length == 0)
            return true;
        if (length > size - at)
            break;
        for (size_t i = 0; counting && i < length; ++i) {
            bits |= uint32_t{data[at + i]} << validBits;
            validBits += 8;
            while (counting && validBits >= codeSize) {
                const int code = static_cast<int>(bits & static_cast<uint32_t>(codeMask));
                bits >>= codeSize;
                validBits -= codeSize;
                if (code == clear) {
                    codeSize = minimum + 1;
                    codeMask = (1 << codeSize) - 1;
                    avail = clear + 2;
                    oldCode = -1;
                    cleared = true;
                    continue;
                }
                // The end code, or one the decoder refuses: it reads no further codes.
                if (code == clear + 1 || code > avail || !cleared || (oldCode < 0 && code == avail)) {
                    counting = false;
                    break;
                }
                if (oldCode >= 0) {
                    if (avail < 4096)
                        lengths[avail] = static_cast<uint16_t>(lengths[oldCode] + 1);
                    if (++avail > 8192) {
                        counting = false;
                        break;
                    }
                }
                decoded += lengths[code];
                if (decoded > limit) {
                    Refuse(verdict, L"a frame's codes decode to more than its %lld pixels", pixels);
                    return false;
                }
                if ((avail & codeMask) == 0 && avail <= 0x0FFF) {
                    ++codeSize;
                    codeMask = (1 << codeSize) - 1;
                }
                oldCode = code;
            }
        }
        at += length;
    }
    Refuse(verdict, L"a frame's data are damaged or end outside the file");
    return false;
}

// Every frame needs a colour table, global or its own, and every block must end inside the file:
// the system's GIF decoder trusts both, and decodes every frame at its own size.
bool GifSound(const BYTE* data, size_t size, UIImageVerdict& verdict)
{
    if (size < 13) {
        Refuse(verdict, L"it ends inside its header");
        return false;
    }
    const bool global = (data[10] & 0x80) != 0;
    size_t at = 13 + (global ? 3u * (2u << (data[10] & 7)) : 0u);
    long long frames = 0;
    long long framePixels = 0;
    while (at < size) {
        const BYTE block = data[at++];
        if (block == 0x3B)
            break;
        if (block == 0x21) {
            if (at >= size || !SkipGifSubBlocks(data, size, ++at)) {
                Refuse(verdict, L"an extension ends outside the file");
                return false;
            }
            continue;
        }
        if (block != 0x2C || size - at < 10) {
            Refuse(verdict, L"a block is of no known kind or cut");
            return false;
        }
        if (++frames > kMaxGifFrames) {
            Refuse(verdict, L"it has more than %lld frames", kMaxGifFrames);
            return false;
        }
        const long long width = Le16(data + at + 4);
        const long long height = Le16(data + at + 6);
        if (SizeRefused(width, height, verdict))
            return false;
        framePixels += width * height;
        if (framePixels > kMaxGifFramePixels) {
            Refuse(verdict, L"its frames hold more than %lld pixels together", kMaxGifFramePixels);
            return false;
        }
        const BYTE flags = data[at + 8];
        const bool local = (flags & 0x80) != 0;
        if (!global && !local) {
            Refuse(verdict, L"a frame has no colour table");
            return false;
        }
        at += 9 + (local ? 3u * (2u << (flags & 7)) : 0u);
        if (at >= size || data[at] < 2 || data[at] > 11) {
            Refuse(verdict, L"a frame's data are damaged or end outside the file");
            return false;
        }
        const int minimum = data[at++];
        if (!GifCodesSound(data, size, at, minimum, width * height, verdict))
            return false;
    }
    // A file cut after its last whole frame is still shown by both decoders.
    if (frames == 0)
        Refuse(verdict, L"it holds no frame");
    return frames > 0;
}

// --- DIB (BMP files, dropped DIBs, bitmaps in metafile records) ---

// A DIB header and the pixel bytes that go with it: the size within the limits, a depth and a
// compression GDI draws without another decoder, and pixels that hold what the header declares.
bool DibSound(const BYTE* header, size_t headerBytes, uint64_t pixelBytes, UIImageVerdict& verdict)
{
    if (headerBytes < 4) {
        Refuse(verdict, L"its bitmap header is cut");
        return false;
    }
    const DWORD headerSize = Le32(header);
    long long width = 0;
    long long height = 0;
    uint32_t bits = 0;
    uint32_t compression = BI_RGB;
    uint64_t declaredBytes = 0;
    if (headerSize == sizeof(BITMAPCOREHEADER) && headerBytes >= sizeof(BITMAPCOREHEADER)) {
        width = Le16(header + 4);
        height = Le16(header + 6);
        bits = Le16(header + 10);
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= headerBytes) {
        width = static_cast<int32_t>(Le32(header + 4));
        height = static_cast<int32_t>(Le32(header + 8));
        bits = Le16(header + 14);
        compression = Le32(header + 16);
        declaredBytes = Le32(header + 20);
    } else {
        Refuse(verdict, L"its bitmap header is cut or of no known kind");
        return false;
    }
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    // Top-down RLE does not exist.
    if (height < 0 && !rle)
        height = -height;
    verdict.width = static_cast<int>(width > 0 && width <= INT32_MAX ? width : 0);
    verdict.height = static_cast<int>(height > 0 && height <= INT32_MAX ? height : 0);
    if (SizeRefused(width, height, verdict))
        return false;
    const bool depthKnown = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool sound = depthKnown && (compression == BI_RGB || (compression == BI_RLE8 && bits == 8) ||
                                      (compression == BI_RLE4 && bits == 4) ||
                                      (compression == BI_BITFIELDS && (bits == 16 || bits == 32)));
    if (!sound) {
        Refuse(verdict, L"its bitmap is %u bits a pixel with compression %u", bits, compression);
        return false;
    }
    const uint64_t needed = rle && declaredBytes != 0
                                ? declaredBytes
                                : (static_cast<uint64_t>(width) * bits + 31) / 32 * 4 * static_cast<uint64_t>(height);
    if (needed > pixelBytes) {
        Refuse(verdict, L"its bitmap holds fewer bytes than its header declares");
        return false;
    }
    return true;
}

// Colour table bytes after a DIB header, bit field masks included.
uint64_t DibColourBytes(const BYTE* header)
{
    const DWORD headerSize = Le32(header);
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        const uint32_t bits = Le16(header + 10);
        return bits <= 8 ? 3ull << bits : 0;
    }
    const uint32_t bits = Le16(header + 14);
    const uint64_t used = Le32(header + 32);
    uint64_t colours = used != 0 ? used : bits <= 8 ? 1ull << bits : 0;
    // Only the plain header keeps its three colour masks outside itself.
    if (Le32(header + 16) == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER))
        colours += 3;
    return colours * 4;
}

bool PackedDibSound(const BYTE* data, size_t size, UIImageVerdict& verdict)
{
    const DWORD headerSize = size >= 4 ? Le32(data) : 0;
    if ((headerSize != sizeof(BITMAPCOREHEADER) && headerSize < sizeof(BITMAPINFOHEADER)) || headerSize > size) {
        Refuse(verdict, L"its bitmap header is cut or of no known kind");
        return false;
    }
    const uint64_t offset = Le32(data) + DibColourBytes(data);
    if (offset > size) {
        Refuse(verdict, L"its colour table is cut");
        return false;
    }
    return DibSound(data, size, size - offset, verdict);
}

// A BMP file is a DIB behind a 14-byte file header, and is held to the same rule with the
// bytes the file really has: its header and colour table inside the file, its pixels starting
// after them and holding what the header declares. The system's loader reads what the header
// declares, not what the file holds.
bool BmpSound(const BYTE* data, size_t size, UIImageVerdict& verdict)
{
    constexpr size_t kFileHeader = 14;
    if (size < kFileHeader + 16) {
        Refuse(verdict, L"its bitmap header is cut");
        return false;
    }
    const BYTE* header = data + kFileHeader;
    const size_t headerBytes = size - kFileHeader;
    const uint64_t headerSize = Le32(header);
    if ((headerSize != sizeof(BITMAPCOREHEADER) && headerSize < sizeof(BITMAPINFOHEADER)) || headerSize > headerBytes) {
        Refuse(verdict, L"its bitmap header is cut or of no known kind");
        return false;
    }
    const uint64_t table = kFileHeader + headerSize + DibColourBytes(header);
    const uint64_t offset = Le32(data + 10);
    if (table > size || offset < kFileHeader + headerSize || offset > size) {
        Refuse(verdict, L"its colour table or its pixels do not lie inside the file");
        return false;
    }
    // A colour profile the header points at (embedded "MBED" or linked "LINK") must be there too.
    if (headerSize >= sizeof(BITMAPV5HEADER)) {
        const uint32_t space = Le32(header + 56);
        const uint64_t profile = kFileHeader + uint64_t{Le32(header + 112)};
        const uint64_t profileBytes = Le32(header + 116);
        if ((space == 0x4D424544u || space == 0x4C494E4Bu) && (profile > size || profileBytes > size - profile)) {
            Refuse(verdict, L"its colour profile lies outside the file");
            return false;
        }
    }
    return DibSound(header, headerBytes, size - offset, verdict);
}

// --- metafiles ---

// One bitmap a record carries: header and pixels at offsets inside the record.
bool RecordBitmapSound(const BYTE* record, DWORD recordSize, DWORD offHeader, DWORD headerBytes, DWORD offBits,
                       DWORD bitsBytes, UIImageVerdict& verdict)
{
    if (headerBytes == 0)
        return true; // a pattern or a fill: no source bitmap
    if (offHeader > recordSize || headerBytes > recordSize - offHeader || offBits > recordSize ||
        bitsBytes > recordSize - offBits) {
        Refuse(verdict, L"a record's bitmap lies outside the record");
        return false;
    }
    return DibSound(record + offHeader, headerBytes, bitsBytes, verdict);
}

template <typename Record>
bool BlitRecordSound(const BYTE* record, DWORD recordSize, UIImageVerdict& verdict)
{
    Record r;
    if (recordSize < sizeof(r))
        return true; // too short to be played
    std::memcpy(&r, record, sizeof(r));
    return RecordBitmapSound(record, recordSize, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc, verdict);
}

template <typename Record>
bool MaskRecordSound(const BYTE* record, DWORD recordSize, UIImageVerdict& verdict)
{
    Record r;
    if (recordSize < sizeof(r))
        return true;
    std::memcpy(&r, record, sizeof(r));
    return RecordBitmapSound(record, recordSize, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc, verdict) &&
           RecordBitmapSound(record, recordSize, r.offBmiMask, r.cbBmiMask, r.offBitsMask, r.cbBitsMask, verdict);
}

template <typename Record>
bool BrushRecordSound(const BYTE* record, DWORD recordSize, UIImageVerdict& verdict)
{
    Record r;
    if (recordSize < sizeof(r))
        return true;
    std::memcpy(&r, record, sizeof(r));
    return RecordBitmapSound(record, recordSize, r.offBmi, r.cbBmi, r.offBits, r.cbBits, verdict);
}

// Records that only set state: playing them draws nothing.
bool DrawsNothing(DWORD type)
{
    switch (type) {
    case EMR_HEADER: case EMR_EOF: case EMR_SETWINDOWEXTEX: case EMR_SETWINDOWORGEX: case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX: case EMR_SETBRUSHORGEX: case EMR_SETMAPPERFLAGS: case EMR_SETMAPMODE:
    case EMR_SETBKMODE: case EMR_SETPOLYFILLMODE: case EMR_SETROP2: case EMR_SETSTRETCHBLTMODE:
    case EMR_SETTEXTALIGN: case EMR_SETCOLORADJUSTMENT: case EMR_SETTEXTCOLOR: case EMR_SETBKCOLOR:
    case EMR_OFFSETCLIPRGN: case EMR_MOVETOEX: case EMR_SETMETARGN: case EMR_EXCLUDECLIPRECT:
    case EMR_INTERSECTCLIPRECT: case EMR_SCALEVIEWPORTEXTEX: case EMR_SCALEWINDOWEXTEX: case EMR_SAVEDC:
    case EMR_RESTOREDC: case EMR_SETWORLDTRANSFORM: case EMR_MODIFYWORLDTRANSFORM: case EMR_SELECTOBJECT:
    case EMR_CREATEPEN: case EMR_CREATEBRUSHINDIRECT: case EMR_DELETEOBJECT: case EMR_SELECTPALETTE:
    case EMR_CREATEPALETTE: case EMR_SETPALETTEENTRIES: case EMR_RESIZEPALETTE: case EMR_REALIZEPALETTE:
    case EMR_SETARCDIRECTION: case EMR_SETMITERLIMIT: case EMR_BEGINPATH: case EMR_ENDPATH:
    case EMR_CLOSEFIGURE: case EMR_ABORTPATH: case EMR_GDICOMMENT: case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_EXTCREATEPEN: case EMR_SETICMMODE: case EMR_CREATECOLORSPACE: case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE: case EMR_SETLAYOUT:
        return true;
    default:
        return false;
    }
}

// The points of a record whose points are joined by edges, 0 for any other record. Its count
// field is held to what the record's bytes can hold (a point is at least four bytes).
long long PointCount(const BYTE* record, DWORD type, DWORD recordSize)
{
    const bool many = type == EMR_POLYPOLYLINE || type == EMR_POLYPOLYGON || type == EMR_POLYPOLYLINE16 ||
                      type == EMR_POLYPOLYGON16;
    const bool one = (type >= EMR_POLYBEZIER && type <= EMR_POLYLINETO) || type == EMR_POLYDRAW ||
                     (type >= EMR_POLYBEZIER16 && type <= EMR_POLYLINETO16) || type == EMR_POLYDRAW16;
    const DWORD field = many ? 28 : 24;
    if ((!many && !one) || recordSize < field + 4)
        return 0;
    const long long declared = Le32(record + field);
    return declared < recordSize / 4 ? declared : recordSize / 4;
}

// What playing a record costs whatever it covers, in pixels of the drawing budget: a record
// that carries a bitmap has it converted and selected into a DC of its own (1,571 alpha blends of
// 57 x 37 took half a second), any other at least sets up its pen, brush and clipping.
long long RecordOverhead(DWORD type)
{
    switch (type) {
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_PLGBLT: case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS: case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT: case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        return 128 * 1024;
    default:
        return 1024;
    }
}

// The bounds size the bitmap it is played into; every record must lie inside the bytes, and
// every bitmap a record carries is a DIB held to the same limits. What the records draw is
// counted before any is played: a few thousand full-size rectangles took seconds.
bool MetafileSound(const BYTE* data, size_t size, UIImageVerdict& verdict)
{
    ENHMETAHEADER header;
    if (size < sizeof(header)) {
        Refuse(verdict, L"its metafile header is cut");
        return false;
    }
    std::memcpy(&header, data, sizeof(header));
    if (header.iType != EMR_HEADER || header.dSignature != ENHMETA_SIGNATURE) {
        Refuse(verdict, L"it is no enhanced metafile");
        return false;
    }
    verdict.width = header.rclBounds.right > 0 ? header.rclBounds.right : 0;
    verdict.height = header.rclBounds.bottom > 0 ? header.rclBounds.bottom : 0;
    if (SizeRefused(header.rclBounds.right, header.rclBounds.bottom, verdict))
        return false;
    const long long area = static_cast<long long>(header.rclBounds.right) * header.rclBounds.bottom;
    long long records = 0;
    long long drawn = 0;
    for (size_t at = 0; at < size;) {
        if (size - at < 8) {
            Refuse(verdict, L"a record is cut");
            return false;
        }
        const BYTE* record = data + at;
        const DWORD type = Le32(record);
        const DWORD recordSize = Le32(record + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || recordSize > size - at) {
            Refuse(verdict, L"a record is cut or misaligned");
            return false;
        }
        if (++records > kMaxMetafileRecords) {
            Refuse(verdict, L"it has more than %lld records", kMaxMetafileRecords);
            return false;
        }
        if (!DrawsNothing(type)) {
            // Wine fills a polygon scan line by scan line, sorting the edges that cross each one:
            // a zig-zag of 885 points over 2160 rows took two seconds.
            const long long points = PointCount(record, type, recordSize);
            const long long crossing = points < header.rclBounds.bottom ? points : header.rclBounds.bottom;
            drawn += area + points * crossing * header.rclBounds.bottom + RecordOverhead(type);
            if (drawn > kMaxMetafileDrawnPixels) {
                Refuse(verdict, L"its records draw more than %lld pixels together", kMaxMetafileDrawnPixels);
                return false;
            }
        }
        bool sound = true;
        switch (type) {
        case EMR_BITBLT: sound = BlitRecordSound<EMRBITBLT>(record, recordSize, verdict); break;
        case EMR_STRETCHBLT: sound = BlitRecordSound<EMRSTRETCHBLT>(record, recordSize, verdict); break;
        case EMR_SETDIBITSTODEVICE: sound = BlitRecordSound<EMRSETDIBITSTODEVICE>(record, recordSize, verdict); break;
        case EMR_STRETCHDIBITS: sound = BlitRecordSound<EMRSTRETCHDIBITS>(record, recordSize, verdict); break;
        case EMR_ALPHABLEND: sound = BlitRecordSound<EMRALPHABLEND>(record, recordSize, verdict); break;
        case EMR_TRANSPARENTBLT: sound = BlitRecordSound<EMRTRANSPARENTBLT>(record, recordSize, verdict); break;
        case EMR_MASKBLT: sound = MaskRecordSound<EMRMASKBLT>(record, recordSize, verdict); break;
        case EMR_PLGBLT: sound = MaskRecordSound<EMRPLGBLT>(record, recordSize, verdict); break;
        case EMR_CREATEMONOBRUSH: sound = BrushRecordSound<EMRCREATEMONOBRUSH>(record, recordSize, verdict); break;
        case EMR_CREATEDIBPATTERNBRUSHPT:
            sound = BrushRecordSound<EMRCREATEDIBPATTERNBRUSHPT>(record, recordSize, verdict);
            break;
        default: break;
        }
        if (!sound)
            return false;
        at += recordSize;
        if (type == EMR_EOF)
            break;
    }
    return true;
}

// --- encoded files ---

enum class FileFormat { Png, Jpeg, Gif, Bmp, Other };

// Told by the signature alone, as every decoder tells them; `other` names a format without a rule.
FileFormat FormatOf(const BYTE* data, size_t size, const wchar_t*& other)
{
    const auto starts = [&](const char* text, size_t length) {
        return size >= length && std::memcmp(data, text, length) == 0;
    };
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return FileFormat::Png;
    if (starts("\xFF\xD8\xFF", 3))
        return FileFormat::Jpeg;
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return FileFormat::Gif;
    if (starts("BM", 2))
        return FileFormat::Bmp;
    other = nullptr;
    if (size >= 3 && data[0] == 'P' && data[1] >= '1' && data[1] <= '7' && (data[2] <= ' ' || data[2] == '#'))
        other = L"PNM";
    else if (starts("#?RADIANCE", 10) || starts("#?RGBE", 6))
        other = L"HDR";
    else if (starts("8BPS", 4))
        other = L"PSD";
    else if (starts("\x53\x80\xF6\x34", 4))
        other = L"PIC";
    else if (starts("II*\0", 4) || starts("MM\0*", 4))
        other = L"TIFF";
    else if (starts("\0\0\1\0", 4))
        other = L"icon";
    else if (starts("RIFF", 4) && size >= 12 && std::memcmp(data + 8, "WEBP", 4) == 0)
        other = L"WebP";
    else if (starts("qoif", 4))
        other = L"QOI";
    else if (starts("DDS ", 4))
        other = L"DDS";
    return FileFormat::Other;
}

bool FileSound(const BYTE* data, size_t size, bool whole, UIImageVerdict& verdict)
{
    const wchar_t* other = nullptr;
    const FileFormat format = FormatOf(data, size, other);
    if (format == FileFormat::Other) {
        // TGA has no signature: it falls here with the unknown ones.
        if (other != nullptr)
            Refuse(verdict, L"it is a %ls file, a format without a rule (only PNG, JPEG, GIF and BMP are decoded)", other);
        else
            Refuse(verdict, L"its format is none with a rule (only PNG, JPEG, GIF and BMP are decoded)");
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const int length = size > INT32_MAX ? INT32_MAX : static_cast<int>(size);
    if (stbi_info_from_memory(data, length, &width, &height, &channels) == 0) {
        // Only a JPEG may keep its frame header behind more metadata than the start holds.
        if (!whole && format == FileFormat::Jpeg)
            return true;
        Refuse(verdict, L"its header is not one our decoder reads");
        return false;
    }
    // Our decoder reports a top-down BMP's height as the header has it, negative.
    if (height < 0 && size >= 2 && data[0] == 'B' && data[1] == 'M')
        height = -height;
    verdict.width = width;
    verdict.height = height;
    if (SizeRefused(width, height, verdict))
        return false;
    PngHeader png;
    if (format == FileFormat::Png) {
        if (!ReadPngHeader(data, size, png)) {
            Refuse(verdict, L"its header chunk is damaged");
            return false;
        }
        const bool deep = png.depth == 16;
        const long long limit = deep && png.interlaced ? kMaxPngCostliestPixels
                                : deep || png.interlaced ? kMaxPngCostlyPixels
                                                         : kMaxImagePixels;
        if (png.width * png.height > limit) {
            Refuse(verdict, L"it is a%ls%ls PNG of more than %lld pixels", deep ? L" 16-bit" : L"",
                   png.interlaced ? L" interlaced" : L"", limit);
            return false;
        }
    }
    if (!whole)
        return true;
    switch (format) {
    case FileFormat::Png: return PngSound(data, size, png, verdict);
    case FileFormat::Jpeg: return JpegSound(data, size, verdict);
    case FileFormat::Gif: return GifSound(data, size, verdict);
    case FileFormat::Bmp: return BmpSound(data, size, verdict);
    case FileFormat::Other: break;
    }
    return false;
}

} // namespace

bool ImageSizeAcceptable(long long width, long long height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

bool ImageByteCountAcceptable(long long bytes, LPCWSTR name)
{
    if (bytes <= kMaxImageBytes)
        return true;
    wchar_t why[96] = {};
    std::swprintf(why, 96, L"%lld bytes, over %lld", bytes, kMaxImageBytes);
    Report(name, why);
    return false;
}

void ReportDecoderRefusal(LPCWSTR name, const wchar_t* why)
{
    wchar_t line[200] = {};
    std::swprintf(line, 200, L"its header passed the check, but the decoder refused it (%ls)", why);
    Report(name, line);
}

bool CheckImageBytes(const void* data, size_t size, UIImageBytes kind, LPCWSTR name, UIImageVerdict* verdict)
{
    UIImageVerdict local;
    UIImageVerdict& v = verdict != nullptr ? *verdict : local;
    v = UIImageVerdict();
    const auto* bytes = static_cast<const BYTE*>(data);
    if (bytes == nullptr || size == 0) {
        Refuse(v, L"it is empty");
        return false;
    }
    if (static_cast<unsigned long long>(size) > static_cast<unsigned long long>(kMaxImageBytes)) {
        Refuse(v, L"%llu bytes, over %lld", static_cast<unsigned long long>(size), kMaxImageBytes);
    } else {
        switch (kind) {
        case UIImageBytes::FileStart: v.accepted = FileSound(bytes, size, false, v); break;
        case UIImageBytes::File: v.accepted = FileSound(bytes, size, true, v); break;
        case UIImageBytes::PackedDib: v.accepted = PackedDibSound(bytes, size, v); break;
        case UIImageBytes::Metafile: v.accepted = MetafileSound(bytes, size, v); break;
        }
    }
    if (!v.accepted && v.reason[0] != L'\0')
        Report(name, v.reason);
    return v.accepted;
}

} // namespace ZvUI
