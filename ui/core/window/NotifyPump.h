#pragma once
// Turns notifications into member calls through static message tables, and forwards them to
// pumps registered under a virtual-window name.

#include <windows.h>

#include "manager/UIEvents.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"

namespace ZvUI {

class CNotifyPump;

// Handlers are stored as one generic member pointer and cast back by signature kind.
using UIPumpFn = void (CNotifyPump::*)();

enum UIMessageSignature : UINT {
    UISigEnd = 0,
    UISigParams = 1,  // void (WPARAM, LPARAM) of the notification
    UISigNotify = 2,  // void (UINotifyMessage&)
};

struct UIMessageTableEntry {
    CUIString type;
    // Empty matches any sender.
    CUIString controlName;
    UINT signature;
    UIPumpFn handler;
};

struct UIMessageTable {
    const UIMessageTable* base;
    const UIMessageTableEntry* entries;
};

// Member pointers of the declaring class converted to the pump's type; the conversion
// carries the adjustment from the pump to the declaring object.
template <class T>
UIPumpFn UIPumpHandler(void (T::*fn)(UINotifyMessage&))
{
    return reinterpret_cast<UIPumpFn>(static_cast<void (CNotifyPump::*)(UINotifyMessage&)>(fn));
}

template <class T>
UIPumpFn UIPumpHandler(void (T::*fn)(WPARAM, LPARAM))
{
    return reinterpret_cast<UIPumpFn>(static_cast<void (CNotifyPump::*)(WPARAM, LPARAM)>(fn));
}

class CNotifyPump {
public:
    CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;
    virtual ~CNotifyPump() = default;

    // The pump is not owned; false and unchanged when the name is taken.
    bool RegisterVirtualWindow(CUIString name, CNotifyPump* pump);
    bool UnregisterVirtualWindow(CUIString name);
    // Virtual windows named like the notification first (ignoring case), then this pump's table.
    bool RouteNotify(UINotifyMessage& msg);
    bool DispatchByMessageTable(UINotifyMessage& msg);

    virtual const UIMessageTable* GetMessageTable() const;

protected:
    static const UIMessageTable s_messageTable;

private:
    static const UIMessageTableEntry* FindMessageEntry(const UIMessageTableEntry* entries,
                                                       const UINotifyMessage& msg);

    static const UIMessageTableEntry s_messageEntries[];
    CUIStringMap m_virtualWnds{CUIStringMap::kDefaultBuckets};
};

} // namespace ZvUI

// In the class body of a pump class.
#define ZV_DECLARE_MESSAGE_TABLE(theClass)                                  \
private:                                                                    \
    using ZvThisPump = theClass;                                            \
    static const ::ZvUI::UIMessageTableEntry s_messageEntries[];            \
                                                                            \
protected:                                                                  \
    static const ::ZvUI::UIMessageTable s_messageTable;                     \
                                                                            \
public:                                                                     \
    const ::ZvUI::UIMessageTable* GetMessageTable() const override;         \
                                                                            \
private:

// In the class's .cpp: the table, its entries, then ZV_END_MESSAGE_TABLE().
#define ZV_BEGIN_MESSAGE_TABLE(theClass, baseClass)                                              \
    const ::ZvUI::UIMessageTable* theClass::GetMessageTable() const { return &s_messageTable; } \
    const ::ZvUI::UIMessageTable theClass::s_messageTable = {&baseClass::s_messageTable,        \
                                                             &theClass::s_messageEntries[0]};   \
    const ::ZvUI::UIMessageTableEntry theClass::s_messageEntries[] = {

// Any sender; the handler takes the whole notification.
#define ZV_ON_NOTIFY(type, fn) \
    {type, L"", ::ZvUI::UISigNotify, ::ZvUI::UIPumpHandler(&ZvThisPump::fn)},
// One named sender; the handler takes the whole notification.
#define ZV_ON_NOTIFY_CTRL(type, control, fn) \
    {type, control, ::ZvUI::UISigNotify, ::ZvUI::UIPumpHandler(&ZvThisPump::fn)},
// One named sender (or L"" for any); the handler takes the notification's wParam and lParam.
#define ZV_ON_NOTIFY_PARAMS(type, control, fn) \
    {type, control, ::ZvUI::UISigParams, ::ZvUI::UIPumpHandler(&ZvThisPump::fn)},

#define ZV_END_MESSAGE_TABLE()                      \
    {L"", L"", ::ZvUI::UISigEnd, nullptr}           \
    }                                               \
    ;
