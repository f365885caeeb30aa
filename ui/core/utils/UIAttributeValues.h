#pragma once
// Readers of attribute values, one set for every control: they accept a null value and never
// read past the terminator.

#include <windows.h>

namespace ZvUI {
namespace attr {

// Attribute names compared without regard to case; a null name matches nothing.
bool Is(LPCWSTR name, LPCWSTR key);

// Booleans are "true" in any case; anything else, null included, is false.
bool IsTrue(LPCWSTR value);

// A leading decimal number; garbage and null read as 0.
int ParseInt(LPCWSTR value);

// Hexadecimal ARGB after leading blanks and control characters and one optional "#".
DWORD ParseColor(LPCWSTR value);

// The same with "#" skipped only in the first position: a blank before it reads as 0 (the
// control base's border colours).
DWORD ParseColorNoBlanks(LPCWSTR value);

// Four decimals, each followed by exactly one separator character: left, top, right, bottom.
RECT ParseRect(LPCWSTR value);

// Two decimals, each followed by exactly one separator character: cx, cy.
SIZE ParseSize(LPCWSTR value);

} // namespace attr
} // namespace ZvUI
