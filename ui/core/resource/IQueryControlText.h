#pragma once
// Callback that supplies control texts the resource table does not hold.

#include <windows.h>

namespace ZvUI {

class IQueryControlText {
public:
    virtual ~IQueryControlText() = default;
    // The text for the id, or null when there is none; the caller copies it at once.
    virtual LPCWSTR QueryControlText(LPCWSTR id, LPCWSTR type) = 0;
};

} // namespace ZvUI
