#pragma once
// Seams: what the core calls on list and tree controls that live in ui/controls.
// The core links and is tested without them; those controls fill these in.

#include <windows.h>

namespace ZvUI {

// Interface names the core asks controls for with CControlUI::GetInterface.
constexpr wchar_t kListItemInterface[] = L"ListItem";

} // namespace ZvUI
