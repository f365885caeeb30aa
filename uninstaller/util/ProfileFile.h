#pragma once
// INI files read and written as the Windows private-profile functions read and write them.

#include <QString>

// The value of name in section of the INI file at path, as GetPrivateProfileString reads it;
// null when the file, the section or the name is missing. The rules:
// - Encoding: a UTF-16LE (or UTF-16BE) byte-order mark makes the whole file UTF-16. Otherwise,
//   after an optional UTF-8 byte-order mark, each line is UTF-8 when it is valid UTF-8 and in
//   the system code page when not (the ANSI code page on Windows, Qt's locale codec elsewhere).
// - Lines end at any CR or LF (CRLF, LF and a lone CR alike). Blanks at both ends of a line go.
//   Nothing continues a line: a backslash or an open quote at its end is part of the value.
// - A line that starts with "[" and holds a "]" starts a section named by the text up to the
//   last "]", blanks inside the brackets included. Lines before the first section belong to none.
// - Any other line is an entry: its name is the text before the first "=", its value the text
//   after it, both without blanks at their ends. A line without "=" is a name with no value: it
//   reads as missing, and hides any later line of that name. Lines starting with ";" are
//   entries like any other, under names nobody asks for.
// - Section and entry names match in any case, the names asked for taken without blanks at
//   their ends. Only the first section of a name is looked in, and in it the first entry of the
//   name wins.
// - A value longer than one character whose first and last characters are the same quote
//   (" or ') loses that pair; nothing else is special: no escapes, backslashes as written.
// Files over 1 MiB are not APP.ini files and read as missing.
QString readProfileString(const QString &path, const QString &section, const QString &name);

// A value as GetPrivateProfileInt turns it into a number: leading blanks, then an optional sign,
// then an optional base prefix (0x, 0o, 0b; lower case), then the leading digits of that base,
// wrapping at 32 bits. Text without leading digits, and empty text, is 0.
int profileInt(const QString &value);

// Stores value under section/name so that the profile functions and readProfileString both read
// value back. The entry's line is changed in place (the first section and entry of the name, as
// the readers find them); a new entry goes after the last line of its section, a new section at
// the end of the file. Every other byte of the file stays as it was, line breaks in the file's
// own style. A value with blanks at its ends, or in quotes of its own, is quoted once more.
// Encoding: a UTF-16 file stays UTF-16 and a file with a UTF-8 byte-order mark stays UTF-8. A
// file without a mark (or a new one) gets plain bytes while the new line, in the system code
// page, reads back the same both as code-page text and by the UTF-8-first rule above; when it
// would not (a character the code page lacks, or code-page bytes that also pass as UTF-8), the
// whole file is rewritten as UTF-16LE with a byte-order mark, each line as readProfileString
// decodes it, so that nothing is lost.
// A missing folder is made. False, and nothing written, when the file cannot be read or replaced, or when the text cannot
// stand in an INI line: an empty section or name, a line break anywhere, or a name that holds
// "=" or starts with "[".
[[nodiscard]] bool writeProfileString(const QString &path, const QString &section, const QString &name,
                                      const QString &value);
