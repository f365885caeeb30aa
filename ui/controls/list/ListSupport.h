#pragma once
// Helpers shared by the list family's sources: attribute values, row looks and row repainting.

#include <windows.h>

#include "list/ListInterfaces.h"
#include "utils/UIAttributeValues.h"

namespace ZvUI {

class CContainerUI;
class CControlUI;
class CPaintManagerUI;
class IContainerUI;

namespace list_support {

// The framework's attribute readers, under the names the list sources use.
using attr::Is;
using attr::IsTrue;
using attr::ParseColor;
using attr::ParseRect;
// The "left" / "center" / "right" words of an align value applied to a DrawText style.
UINT ApplyHorizontalAlign(UINT style, LPCWSTR value);
UINT ApplyVerticalAlign(UINT style, LPCWSTR value);

// A length of the control's window scale (the control's manager's DPI).
int Scale(const CControlUI& control, int value);
RECT ScaleRect(const CControlUI& control, RECT rc);

// The state the painters and the text callback use; the later one wins.
int RowState(bool hot, bool selected, bool enabled);
DWORD RowTextColor(const UIListInfo& info, bool hot, bool selected, bool enabled);

// The row background of every list row: colour, state image, own or owner image, grid lines.
void DrawRowBackground(HDC hDC, CControlUI& row, const UIListInfo& info, int index, bool hot, bool selected);

// The row side of the selection handshake: a disabled row refuses; otherwise every other row is
// deselected first, then the flag changes and the owner is told.
bool SelectRow(CControlUI& row, IListOwnerUI* owner, int index, bool& selected, bool select);
// The flag only; the caller keeps the owner's set.
bool SelectRowMulti(CControlUI& row, bool& selected, bool select);
// The mouse steps every row shares: press selects (with Ctrl or Shift through the owner), release
// raises "itemclick", enter and leave track the hot bit. True when the event was used up.
bool HandleRowMouse(CControlUI& row, IListItemUI& item, UINT& state, UIControlEvent& event);

// Where a container shows its children: its rectangle less the inset, less a visible horizontal
// bar and, when asked, a visible vertical bar.
RECT ShownArea(CContainerUI& container, bool lessVerticalBar);

// Takes a lent row out of a pop-up's list and gives it back to the control that owns it: the
// pop-up's manager forgets it and its parts (focus, hover, timers), the owner's manager binds it.
// Nothing happens when the list does not hold the row.
void ReturnLentRow(IContainerUI& popupList, CPaintManagerUI& popupManager, CControlUI* row, CControlUI& owner);

// Repaints a row clipped to what its parent shows (less inset and scroll bars) and to every
// ancestor, so a half-scrolled row never repaints over the header or the bars.
void InvalidateRow(CControlUI& row);

} // namespace list_support
} // namespace ZvUI
