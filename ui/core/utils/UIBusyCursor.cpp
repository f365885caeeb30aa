// Wait cursor for the lifetime of a scope.

#include "utils/UIBusyCursor.h"

namespace ZvUI {

CUIBusyCursor::CUIBusyCursor()
    : m_hOrigCursor(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)))
{
}

CUIBusyCursor::~CUIBusyCursor()
{
    ::SetCursor(m_hOrigCursor);
}

} // namespace ZvUI
