// Tells from a downloaded file's own headers whether it is a whole Windows program.
#pragma once

#include <string>

// True when the file is a PE program whose headers, section table and every section's raw data
// lie inside the file, and whose certificate table, where it names one, lies inside the file and
// ends where the file ends (up to the 8-byte alignment). Data appended after the sections of a
// program without a certificate table is named by nothing in the headers: such a file cut after
// its sections still passes.
[[nodiscard]] bool IsWholeProgramFile(const std::wstring& path);
