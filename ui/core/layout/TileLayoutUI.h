#pragma once
// The container that places its children in a grid of equal-width columns, each centred in its tile.

#include <windows.h>

#include "layout/ContainerUI.h"

namespace ZvUI {

class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();
    ~CTileLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    // Scaled when there is a manager; a width above 0 decides the column count.
    SIZE GetItemSize() const;
    void SetItemSize(int cx, int cy);
    int GetColumns() const { return m_nColumns; }
    // Only counts above 0 are taken.
    void SetColumns(int columns);

private:
    SIZE m_szItem = {0, 0};
    int m_nColumns = 1;
};

} // namespace ZvUI
