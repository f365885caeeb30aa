#pragma once
// Unpacks the archive's current item: traditional PKWARE decryption, raw inflate and the CRC check.

#include <windows.h>
#include <unzip.h>
#include <zlib.h>

#include <memory>

namespace ZvUI {

class CZipItemDecoder {
public:
    // Read results below zero.
    static constexpr int kBadData = -1;   // the compressed stream is broken or ends early
    static constexpr int kBadCrc = -2;    // the data is complete but its CRC-32 differs
    static constexpr int kReadFailed = -3;

    // The archive must stay open while the decoder lives; it reads the archive's current item.
    explicit CZipItemDecoder(unzFile archive);
    ~CZipItemDecoder();
    CZipItemDecoder(const CZipItemDecoder&) = delete;
    CZipItemDecoder& operator=(const CZipItemDecoder&) = delete;

    // Returns ZR_OK, ZR_PASSWORD for a missing or wrong password, ZR_CORRUPT for a bad local
    // header and ZR_FLATE for a method other than stored or deflated.
    [[nodiscard]] DWORD Open(const char* password);
    // Returns the bytes written to buffer (0 or more) or a negative code; atEnd tells that the
    // item's end was reached and its CRC checked.
    [[nodiscard]] int Read(void* buffer, unsigned int size, bool* atEnd);

private:
    int Fill();
    int Finish();

    unzFile m_archive = nullptr;
    bool m_fileOpen = false;
    bool m_inflating = false;
    bool m_streamEnded = false;
    bool m_finished = false;
    bool m_encrypted = false;
    DWORD m_keys[3] = {};
    uLong m_method = 0;
    uLong m_expectedCrc = 0;
    uLong m_crc = 0;
    uLong m_leftOut = 0;
    z_stream m_stream = {};
    std::unique_ptr<Bytef[]> m_input;
};

} // namespace ZvUI
