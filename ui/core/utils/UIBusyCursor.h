#pragma once
// Shows the wait cursor for the lifetime of the object.

#include <windows.h>

namespace ZvUI {

class CUIBusyCursor {
public:
    CUIBusyCursor();
    CUIBusyCursor(const CUIBusyCursor&) = delete;
    CUIBusyCursor& operator=(const CUIBusyCursor&) = delete;
    ~CUIBusyCursor();

private:
    HCURSOR m_hOrigCursor = nullptr;
};

} // namespace ZvUI
