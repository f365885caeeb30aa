#pragma once
// Seams: what the core calls on list, tree and rich-edit controls that live in
// ui/controls. The core links and is tested without them; those controls fill these in.

#include <windows.h>

namespace ZvUI {

// Interface names the core asks controls for with CControlUI::GetInterface.
constexpr wchar_t kRichEditServicesInterface[] = L"RichEditServices";
constexpr wchar_t kListItemInterface[] = L"ListItem";

// What the paint manager (Tab handling) and the font rescaling call on
// a rich edit. CRichEditUI derives from it and answers GetInterface(kRichEditServicesInterface)
// with static_cast<IRichEditServicesUI*>(this).
class IRichEditServicesUI {
public:
    // The "wanttab" flag: true leaves the Tab key to the control.
    virtual bool IsWantTab() const = 0;
    virtual int GetFont() const = 0;
    virtual void SetFont(int index) = 0;

protected:
    ~IRichEditServicesUI() = default;
};

} // namespace ZvUI
