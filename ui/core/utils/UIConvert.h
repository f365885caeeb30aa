#pragma once
// Wide-to-multibyte conversion into a caller-owned block.

#include <windows.h>

namespace ZvUI {

// Returns a zero-terminated block the caller frees with delete[], or null for a null text
// or a failed allocation.
[[nodiscard]] char* UnicodeToMultiByte(LPCWSTR text, UINT codePage = CP_ACP);

} // namespace ZvUI
