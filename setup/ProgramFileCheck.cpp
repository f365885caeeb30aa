#include "ProgramFileCheck.h"

#include "util/FileHandle.h"

#include <windows.h>

#include <cstddef>

namespace {

// A signed program's certificate table is padded to this alignment at the end of the file.
constexpr ULONGLONG kCertificateAlignment = 8;

// Positioned reads that refuse any range reaching past the end of the file.
class CFileReader {
public:
    explicit CFileReader(const std::wstring& path)
        : m_file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        LARGE_INTEGER size = {};
        if (m_file.IsOpen() && GetFileSizeEx(m_file.Get(), &size))
            m_size = static_cast<ULONGLONG>(size.QuadPart);
    }

    [[nodiscard]] bool IsOpen() const { return m_file.IsOpen(); }
    [[nodiscard]] ULONGLONG Size() const { return m_size; }
    [[nodiscard]] bool Holds(ULONGLONG offset, ULONGLONG size) const
    {
        return offset <= m_size && size <= m_size - offset;
    }

    template <typename T>
    [[nodiscard]] bool Read(ULONGLONG offset, T* out) const
    {
        if (!Holds(offset, sizeof(T)))
            return false;
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        return ReadFile(m_file.Get(), out, sizeof(T), &read, &at) && read == sizeof(T);
    }

private:
    ZVCore::CFileHandle m_file;
    ULONGLONG m_size = 0;
};

// Where the two optional-header layouts keep what the check reads.
struct OptionalLayout {
    ULONGLONG sizeOfHeaders;
    ULONGLONG directoryCount;
};

bool FindOptionalLayout(WORD magic, OptionalLayout* layout)
{
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        *layout = {offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders),
                   offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes)};
        return true;
    }
    if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        *layout = {offsetof(IMAGE_OPTIONAL_HEADER64, SizeOfHeaders),
                   offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes)};
        return true;
    }
    return false;
}

} // namespace

bool IsWholeProgramFile(const std::wstring& path)
{
    const CFileReader file(path);
    if (!file.IsOpen())
        return false;

    // --- headers ---
    IMAGE_DOS_HEADER dos = {};
    if (!file.Read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    const ULONGLONG peAt = static_cast<DWORD>(dos.e_lfanew);
    DWORD signature = 0;
    IMAGE_FILE_HEADER header = {};
    if (!file.Read(peAt, &signature) || signature != IMAGE_NT_SIGNATURE || !file.Read(peAt + sizeof(signature), &header))
        return false;
    // A program without sections runs nothing: no full setup looks like that.
    if (header.NumberOfSections == 0)
        return false;
    const ULONGLONG optionalAt = peAt + sizeof(signature) + sizeof(header);
    const ULONGLONG optionalSize = header.SizeOfOptionalHeader;
    WORD magic = 0;
    OptionalLayout layout = {};
    DWORD sizeOfHeaders = 0;
    DWORD directoryCount = 0;
    if (optionalSize < sizeof(magic) || !file.Read(optionalAt, &magic) || !FindOptionalLayout(magic, &layout))
        return false;
    if (optionalSize < layout.directoryCount + sizeof(directoryCount) ||
        !file.Read(optionalAt + layout.sizeOfHeaders, &sizeOfHeaders) ||
        !file.Read(optionalAt + layout.directoryCount, &directoryCount) || !file.Holds(0, sizeOfHeaders))
        return false;

    IMAGE_DATA_DIRECTORY security = {};
    const ULONGLONG securityAt =
        layout.directoryCount + sizeof(directoryCount) + IMAGE_DIRECTORY_ENTRY_SECURITY * sizeof(security);
    if (directoryCount > IMAGE_DIRECTORY_ENTRY_SECURITY && securityAt + sizeof(security) <= optionalSize &&
        !file.Read(optionalAt + securityAt, &security))
        return false;

    // --- sections ---
    const ULONGLONG sectionsAt = optionalAt + optionalSize;
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section = {};
        if (!file.Read(sectionsAt + i * ULONGLONG(sizeof(section)), &section))
            return false;
        // A section without raw data (uninitialised data) has no file offset that counts.
        if (section.SizeOfRawData != 0 && !file.Holds(section.PointerToRawData, section.SizeOfRawData))
            return false;
    }

    // --- certificate table ---
    // Its directory entry holds a file offset, not an address. The table is the last thing in a
    // signed program, so a file that does not end with it was cut (or had something appended).
    if (security.VirtualAddress == 0 && security.Size == 0)
        return true;
    const ULONGLONG tableEnd = ULONGLONG(security.VirtualAddress) + security.Size;
    const ULONGLONG alignedEnd = (tableEnd + kCertificateAlignment - 1) / kCertificateAlignment * kCertificateAlignment;
    return security.VirtualAddress != 0 && security.Size != 0 && tableEnd <= file.Size() && file.Size() <= alignedEnd;
}
