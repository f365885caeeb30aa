#pragma once
// Stacks its visible, non-floating children from left to right; optional separator band.

#include "layout/StackLayoutUI.h"

namespace ZvUI {

class CHorizontalLayoutUI : public CStackLayoutUI {
public:
    CHorizontalLayoutUI() : CStackLayoutUI(false, L"sepwidth") {}

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;

    // Pixels, not scaled; positive along the right edge, negative along the left, 0 none.
    int GetSepWidth() const { return GetSepExtent(); }
    void SetSepWidth(int width) { SetSepExtent(width); }
};

} // namespace ZvUI
