// Wide-to-multibyte conversion into a caller-owned block.

#include "utils/UIConvert.h"

#include <new>

namespace ZvUI {

char* UnicodeToMultiByte(LPCWSTR text, UINT codePage)
{
    if (text == nullptr) {
        return nullptr;
    }
    const int size = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size < 0) {
        return nullptr;
    }
    char* block = new (std::nothrow) char[static_cast<size_t>(size) + 1]();
    if (block == nullptr) {
        return nullptr;
    }
    ::WideCharToMultiByte(codePage, 0, text, -1, block, size, nullptr, nullptr);
    return block;
}

} // namespace ZvUI
