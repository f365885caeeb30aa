#pragma once
// Stacks its visible, non-floating children from top to bottom; optional separator band.

#include "layout/StackLayoutUI.h"

namespace ZvUI {

class CVerticalLayoutUI : public CStackLayoutUI {
public:
    CVerticalLayoutUI() : CStackLayoutUI(true, L"sepheight") {}

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;

    // Pixels, not scaled; positive along the bottom edge, negative along the top, 0 none.
    int GetSepHeight() const { return GetSepExtent(); }
    void SetSepHeight(int height) { SetSepExtent(height); }
};

} // namespace ZvUI
