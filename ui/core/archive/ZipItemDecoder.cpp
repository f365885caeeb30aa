#include "archive/ZipItemDecoder.h"

#include "archive/ZipArchive.h"

#include <cstring>

namespace ZvUI {

namespace {

constexpr unsigned int kInputSize = 0x4000;
constexpr unsigned int kCryptHeaderSize = 12;

// --- traditional PKWARE encryption ---

void UpdateKeys(DWORD keys[3], const z_crc_t* table, BYTE c)
{
    keys[0] = table[(keys[0] ^ c) & 0xff] ^ (keys[0] >> 8);
    keys[1] = (keys[1] + (keys[0] & 0xff)) * 134775813u + 1;
    keys[2] = table[(keys[2] ^ (keys[1] >> 24)) & 0xff] ^ (keys[2] >> 8);
}

BYTE DecryptByte(DWORD keys[3], const z_crc_t* table, BYTE c)
{
    const DWORD temp = (keys[2] | 2) & 0xffff;
    const BYTE plain = c ^ static_cast<BYTE>((temp * (temp ^ 1)) >> 8);
    UpdateKeys(keys, table, plain);
    return plain;
}

void InitKeys(DWORD keys[3], const z_crc_t* table, const char* password)
{
    keys[0] = 305419896u;
    keys[1] = 591751049u;
    keys[2] = 878082192u;
    for (const char* p = password; *p; ++p)
        UpdateKeys(keys, table, static_cast<BYTE>(*p));
}

} // namespace

CZipItemDecoder::CZipItemDecoder(unzFile archive) : m_archive(archive) {}

CZipItemDecoder::~CZipItemDecoder()
{
    if (m_inflating)
        inflateEnd(&m_stream);
    if (m_fileOpen)
        unzCloseCurrentFile(m_archive);
}

DWORD CZipItemDecoder::Open(const char* password)
{
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(m_archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        return ZR_FLATE;

    // Raw mode hands over the bytes as stored; decryption and inflate happen here, so the
    // CRC can be checked against what the caller actually receives.
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(m_archive, &method, &level, 1) != UNZ_OK)
        return ZR_CORRUPT;
    m_fileOpen = true;
    m_method = info.compression_method;
    m_expectedCrc = info.crc;
    m_leftOut = info.uncompressed_size;
    m_crc = crc32(0, nullptr, 0);
    m_input.reset(new Bytef[kInputSize]);

    m_encrypted = (info.flag & 1) != 0;
    if (m_encrypted) {
        if (!password)
            return ZR_PASSWORD;
        const z_crc_t* table = get_crc_table();
        InitKeys(m_keys, table, password);
        BYTE header[kCryptHeaderSize];
        if (unzReadCurrentFile(m_archive, header, kCryptHeaderSize) != static_cast<int>(kCryptHeaderSize))
            return ZR_CORRUPT;
        BYTE last = 0;
        for (BYTE b : header)
            last = DecryptByte(m_keys, table, b);
        // With a data descriptor the CRC was unknown when the header was made, so the
        // check byte is the high byte of the DOS time instead.
        const BYTE check = (info.flag & 8) ? static_cast<BYTE>((info.dosDate >> 8) & 0xff)
                                           : static_cast<BYTE>(info.crc >> 24);
        if (last != check)
            return ZR_PASSWORD;
    }

    if (m_method == Z_DEFLATED) {
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
            return ZR_FLATE;
        m_inflating = true;
    }
    return ZR_OK;
}

int CZipItemDecoder::Fill()
{
    const int got = unzReadCurrentFile(m_archive, m_input.get(), kInputSize);
    if (got < 0)
        return kReadFailed;
    if (m_encrypted) {
        const z_crc_t* table = get_crc_table();
        for (int i = 0; i < got; ++i)
            m_input[i] = DecryptByte(m_keys, table, m_input[i]);
    }
    m_stream.next_in = m_input.get();
    m_stream.avail_in = static_cast<uInt>(got);
    return got;
}

int CZipItemDecoder::Read(void* buffer, unsigned int size, bool* atEnd)
{
    *atEnd = false;
    if (m_finished) {
        *atEnd = true;
        return 0;
    }
    auto* out = static_cast<Bytef*>(buffer);
    unsigned int produced = 0;
    while (produced < size && m_leftOut > 0) {
        if (m_stream.avail_in == 0) {
            const int got = Fill();
            if (got < 0)
                return got;
            if (got == 0)
                return kBadData;
        }
        uInt room = size - produced;
        if (room > m_leftOut)
            room = static_cast<uInt>(m_leftOut);
        uInt n = 0;
        if (m_method == 0) {
            n = room < m_stream.avail_in ? room : m_stream.avail_in;
            std::memcpy(out + produced, m_stream.next_in, n);
            m_stream.next_in += n;
            m_stream.avail_in -= n;
        } else {
            m_stream.next_out = out + produced;
            m_stream.avail_out = room;
            const int z = inflate(&m_stream, Z_NO_FLUSH);
            n = room - m_stream.avail_out;
            if (z == Z_STREAM_END) {
                m_streamEnded = true;
                if (n != m_leftOut)
                    return kBadData;
            } else if (z != Z_OK && !(z == Z_BUF_ERROR && m_stream.avail_in == 0)) {
                return kBadData;
            }
        }
        m_crc = crc32(m_crc, out + produced, n);
        produced += n;
        m_leftOut -= n;
    }
    if (m_leftOut == 0) {
        const int r = Finish();
        if (r < 0)
            return r;
        m_finished = true;
        *atEnd = true;
    }
    return static_cast<int>(produced);
}

// Every byte promised has been delivered: the deflate stream must end here, without a
// single byte more, and the data must match the stored CRC.
int CZipItemDecoder::Finish()
{
    while (m_method == Z_DEFLATED && !m_streamEnded) {
        if (m_stream.avail_in == 0) {
            const int got = Fill();
            if (got < 0)
                return got;
            if (got == 0)
                return kBadData;
        }
        Bytef extra = 0;
        m_stream.next_out = &extra;
        m_stream.avail_out = 1;
        const int z = inflate(&m_stream, Z_NO_FLUSH);
        if (m_stream.avail_out == 0)
            return kBadData;
        if (z == Z_STREAM_END)
            m_streamEnded = true;
        else if (z != Z_OK && !(z == Z_BUF_ERROR && m_stream.avail_in == 0))
            return kBadData;
    }
    return m_crc == m_expectedCrc ? 0 : kBadCrc;
}

} // namespace ZvUI
