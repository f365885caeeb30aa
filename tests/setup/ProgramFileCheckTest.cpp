#include "ProgramFileCheck.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<char>;

// A crafted program: headers up to 0x200, two sections, then optional appended data and an
// optional certificate table (placed on 8 bytes, as signing tools place it).
struct Program {
    bool pe32 = false;
    DWORD appended = 0;
    DWORD table = 0;
};

// Where the built program keeps its parts.
struct Layout {
    size_t peAt = 0x80;
    size_t optionalAt = 0;
    size_t securityAt = 0; // the security directory entry
    size_t sectionsAt = 0; // the section table
    size_t firstSection = 0x200;
    size_t sectionsEnd = 0x800;
    size_t tableAt = 0;
    size_t tableEnd = 0;
};

template <typename T>
void Put(Bytes& bytes, size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof(value));
}

Bytes Build(const Program& program, Layout* layout)
{
    Bytes bytes(layout->sectionsEnd, '\0');
    Put<WORD>(bytes, 0, IMAGE_DOS_SIGNATURE);
    Put<LONG>(bytes, offsetof(IMAGE_DOS_HEADER, e_lfanew), static_cast<LONG>(layout->peAt));
    Put<DWORD>(bytes, layout->peAt, IMAGE_NT_SIGNATURE);
    const size_t fileHeaderAt = layout->peAt + 4;
    const WORD optionalSize = program.pe32 ? sizeof(IMAGE_OPTIONAL_HEADER32) : sizeof(IMAGE_OPTIONAL_HEADER64);
    Put<WORD>(bytes, fileHeaderAt + offsetof(IMAGE_FILE_HEADER, Machine),
              program.pe32 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64);
    Put<WORD>(bytes, fileHeaderAt + offsetof(IMAGE_FILE_HEADER, NumberOfSections), 2);
    Put<WORD>(bytes, fileHeaderAt + offsetof(IMAGE_FILE_HEADER, SizeOfOptionalHeader), optionalSize);
    layout->optionalAt = fileHeaderAt + sizeof(IMAGE_FILE_HEADER);
    const size_t at = layout->optionalAt;
    if (program.pe32) {
        Put<WORD>(bytes, at, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
        Put<DWORD>(bytes, at + offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders), 0x200);
        Put<DWORD>(bytes, at + offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes), 16);
        layout->securityAt = at + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory) +
                             IMAGE_DIRECTORY_ENTRY_SECURITY * sizeof(IMAGE_DATA_DIRECTORY);
    } else {
        Put<WORD>(bytes, at, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
        Put<DWORD>(bytes, at + offsetof(IMAGE_OPTIONAL_HEADER64, SizeOfHeaders), 0x200);
        Put<DWORD>(bytes, at + offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes), 16);
        layout->securityAt = at + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory) +
                             IMAGE_DIRECTORY_ENTRY_SECURITY * sizeof(IMAGE_DATA_DIRECTORY);
    }
    const size_t sectionsAt = at + optionalSize;
    layout->sectionsAt = sectionsAt;
    const DWORD raw[2][2] = {{0x200, 0x400}, {0x600, 0x200}}; // file offset, size
    for (int i = 0; i < 2; ++i) {
        const size_t s = sectionsAt + i * sizeof(IMAGE_SECTION_HEADER);
        std::memcpy(bytes.data() + s, i == 0 ? ".text" : ".data", 5);
        Put<DWORD>(bytes, s + offsetof(IMAGE_SECTION_HEADER, PointerToRawData), raw[i][0]);
        Put<DWORD>(bytes, s + offsetof(IMAGE_SECTION_HEADER, SizeOfRawData), raw[i][1]);
    }
    for (size_t i = layout->firstSection; i < layout->sectionsEnd; ++i)
        bytes[i] = static_cast<char>(i * 13);
    bytes.insert(bytes.end(), program.appended, 'x');
    if (program.table != 0) {
        bytes.resize((bytes.size() + 7) / 8 * 8, '\0');
        layout->tableAt = bytes.size();
        layout->tableEnd = layout->tableAt + program.table;
        bytes.resize(layout->tableEnd, 's');
        Put<DWORD>(bytes, layout->tableAt, program.table);         // WIN_CERTIFICATE.dwLength
        Put<WORD>(bytes, layout->tableAt + 4, 0x0200);             // revision 2
        Put<WORD>(bytes, layout->tableAt + 6, 0x0002);             // PKCS#7 signed data
        Put<DWORD>(bytes, layout->securityAt, static_cast<DWORD>(layout->tableAt));
        Put<DWORD>(bytes, layout->securityAt + 4, program.table);
    }
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

using Edit = std::function<void(Bytes&, const Layout&)>;

Edit CutAt(std::function<size_t(const Layout&)> where)
{
    return [where](Bytes& bytes, const Layout& layout) { bytes.resize(where(layout)); };
}

struct FileCase {
    const char* name;
    Program program;
    Edit edit;
    bool whole;
};

const char kSignInPage[] = "<!DOCTYPE html>\r\n<html><head><title>Sign in</title></head>\r\n"
                           "<body><form method=\"post\" action=\"/login\"><input name=\"user\">"
                           "<input name=\"password\" type=\"password\"></form></body></html>\r\n";

} // namespace

TEST(ProgramFileCheck, StartsOnlyAWholeProgram)
{
    const FileCase cases[] = {
        {"whole, no certificate table", {}, nullptr, true},
        {"whole, signed", {false, 0, 0x100}, nullptr, true},
        {"whole 32-bit program, signed", {true, 0, 0x100}, nullptr, true},
        {"signed, with data after its sections", {false, 0x3333, 0x100}, nullptr, true},
        {"certificate table followed by its 8-byte alignment", {false, 0, 0x104},
         [](Bytes& b, const Layout&) { b.resize(b.size() + 4, '\0'); }, true},
        // Nothing in the headers names data appended after the sections: a cut there is not seen.
        {"unsigned, cut after its sections", {false, 0x1000, 0}, CutAt([](const Layout& l) { return l.sectionsEnd + 0x10; }),
         true},
        {"a section without raw data, its offset past the end", {},
         [](Bytes& b, const Layout& l) {
             const size_t data = l.sectionsAt + sizeof(IMAGE_SECTION_HEADER);
             Put<DWORD>(b, data + offsetof(IMAGE_SECTION_HEADER, SizeOfRawData), 0);
             Put<DWORD>(b, data + offsetof(IMAGE_SECTION_HEADER, PointerToRawData), 0x100000);
         },
         true},
        {"cut inside a section", {false, 0, 0x100}, CutAt([](const Layout& l) { return l.firstSection + 0x100; }),
         false},
        {"unsigned, cut inside its last section", {}, CutAt([](const Layout& l) { return l.sectionsEnd - 1; }), false},
        {"cut at the end of the headers", {}, CutAt([](const Layout& l) { return l.firstSection; }), false},
        {"cut inside the section table", {}, CutAt([](const Layout& l) { return l.optionalAt + 0x100; }), false},
        {"cut inside the certificate table", {false, 0, 0x100},
         CutAt([](const Layout& l) { return l.tableAt + 0x10; }), false},
        {"signed, cut right before its certificate table", {false, 0x3333, 0x100},
         CutAt([](const Layout& l) { return l.tableAt; }), false},
        {"signed, cut one byte short", {false, 0, 0x100}, CutAt([](const Layout& l) { return l.tableEnd - 1; }),
         false},
        {"certificate table pointing past the end", {false, 0, 0x100},
         [](Bytes& b, const Layout& l) { Put<DWORD>(b, l.securityAt + 4, 0x1100); }, false},
        {"certificate table not last", {false, 0, 0x100},
         [](Bytes& b, const Layout&) { b.resize(b.size() + 8, 'j'); }, false},
        {"certificate table with no size", {false, 0, 0x100},
         [](Bytes& b, const Layout& l) { Put<DWORD>(b, l.securityAt + 4, 0); }, false},
        {"PE header past the end", {}, [](Bytes& b, const Layout&) { Put<LONG>(b, 0x3C, 0x10000); }, false},
        {"no PE signature", {}, [](Bytes& b, const Layout& l) { Put<DWORD>(b, l.peAt, 0x454E); }, false},
        {"unknown optional header", {}, [](Bytes& b, const Layout& l) { Put<WORD>(b, l.optionalAt, 0x107); }, false},
        {"more sections than the file holds", {},
         [](Bytes& b, const Layout& l) { Put<WORD>(b, l.peAt + 6, 200); }, false},
        {"no sections", {}, [](Bytes& b, const Layout& l) { Put<WORD>(b, l.peAt + 6, 0); }, false},
        {"an HTML sign-in page served with status 200", {},
         [](Bytes& b, const Layout&) { b.assign(kSignInPage, kSignInPage + sizeof(kSignInPage) - 1); }, false},
        {"an empty file", {}, [](Bytes& b, const Layout&) { b.clear(); }, false},
    };
    CTestFolder folder(L"program-check");
    for (const FileCase& c : cases) {
        Layout layout;
        Bytes bytes = Build(c.program, &layout);
        if (c.edit)
            c.edit(bytes, layout);
        const std::wstring path = folder.Sub(L"setup.exe");
        ASSERT_TRUE(WriteFileBytes(path, bytes)) << c.name;
        EXPECT_EQ(IsWholeProgramFile(path), c.whole) << c.name;
    }
    EXPECT_FALSE(IsWholeProgramFile(folder.Sub(L"missing.exe")));
}

TEST(ProgramFileCheck, TakesALinkedProgramAsWhole)
{
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    EXPECT_TRUE(IsWholeProgramFile(self));
}
