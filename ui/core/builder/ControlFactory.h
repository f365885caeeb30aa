#pragma once
// Process-wide registry from control class names ("CButtonUI") to their creators.

#include <windows.h>

#include <map>
#include <string>

#include "utils/UIString.h"

namespace ZvUI {

class CControlUI;

// Returns a new control owned by the caller, or null when allocation fails.
using CreateControlFn = CControlUI* (*)();

class CControlFactory {
public:
    // Made on first use, which registers every built-in class.
    static CControlFactory* GetInstance();

    CControlFactory(const CControlFactory&) = delete;
    CControlFactory& operator=(const CControlFactory&) = delete;
    virtual ~CControlFactory();

    // Names match in any letter case; null for a name nobody registered.
    CControlUI* CreateControl(CUIString className);
    // A name registered already keeps its first creator.
    void RegisterControl(CUIString className, CreateControlFn creator);
    bool IsRegistered(CUIString className) const;
    int GetCount() const { return static_cast<int>(m_creators.size()); }

    // Frees the registry with every run-time registration; the next GetInstance makes a new one.
    static void Release();

private:
    CControlFactory();
    static CControlFactory*& Slot();

    std::map<std::wstring, CreateControlFn> m_creators;
};

} // namespace ZvUI
