#pragma once
// The skinned scroll bar: two arrow buttons, a thumb and the rail, driving its owner container.

#include <windows.h>

#include "control/ControlUI.h"
#include "layout/ScrollBarServices.h"
#include "utils/UIString.h"

namespace ZvUI {

class CContainerUI;

class CScrollBarUI : public CControlUI, public IScrollBarServicesUI {
public:
    // Timer id of the press-and-hold repeat (50 ms).
    static constexpr UINT ScrollRepeatTimer = 10;

    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void SetFocus() override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

    // --- owner and scroll state ---
    CContainerUI* GetOwner() const { return m_pOwner; }
    // The bar does not own its owner.
    void SetOwner(CContainerUI* owner) override { m_pOwner = owner; }
    bool IsHorizontal() const override { return m_bHorizontal; }
    void SetHorizontal(bool horizontal) override;
    int GetScrollRange() const override { return static_cast<int>(m_nRange); }
    void SetScrollRange(int range) override;
    int GetScrollPos() const override { return static_cast<int>(m_nScrollPos); }
    void SetScrollPos(int pos) override;
    int GetLineSize() const override { return m_nLineSize; }
    void SetLineSize(int size) { m_nLineSize = size; }
    bool GetShowButton1() const { return m_bShowButton1; }
    void SetShowButton1(bool show);
    bool GetShowButton2() const { return m_bShowButton2; }
    void SetShowButton2(bool show);

    // --- part rectangles and states (device pixels, ButtonState bits) ---
    const RECT& GetButton1Rect() const { return m_rcButton1; }
    const RECT& GetButton2Rect() const { return m_rcButton2; }
    const RECT& GetThumbRect() const { return m_rcThumb; }
    UINT GetButton1State() const { return m_uButton1State; }
    UINT GetButton2State() const { return m_uButton2State; }
    UINT GetThumbState() const { return m_uThumbState; }

    // --- images (image descriptors) ---
    // Part indexes of the image table.
    enum Part { PartBk = 0, PartButton1, PartButton2, PartThumb, PartRail, PartCount };
    // State indexes of the image table.
    enum ImageState { ImageNormal = 0, ImageHot, ImagePushed, ImageDisabled, ImageStateCount };
    const CUIString& GetImage(Part part, ImageState state) const { return m_images[part][state]; }
    void SetImage(Part part, ImageState state, LPCWSTR descriptor);

    const CUIString& GetBkNormalImage() const { return m_images[PartBk][ImageNormal]; }
    void SetBkNormalImage(LPCWSTR d) { SetImage(PartBk, ImageNormal, d); }
    const CUIString& GetBkHotImage() const { return m_images[PartBk][ImageHot]; }
    void SetBkHotImage(LPCWSTR d) { SetImage(PartBk, ImageHot, d); }
    const CUIString& GetBkPushedImage() const { return m_images[PartBk][ImagePushed]; }
    void SetBkPushedImage(LPCWSTR d) { SetImage(PartBk, ImagePushed, d); }
    const CUIString& GetBkDisabledImage() const { return m_images[PartBk][ImageDisabled]; }
    void SetBkDisabledImage(LPCWSTR d) { SetImage(PartBk, ImageDisabled, d); }
    const CUIString& GetButton1NormalImage() const { return m_images[PartButton1][ImageNormal]; }
    void SetButton1NormalImage(LPCWSTR d) { SetImage(PartButton1, ImageNormal, d); }
    const CUIString& GetButton1HotImage() const { return m_images[PartButton1][ImageHot]; }
    void SetButton1HotImage(LPCWSTR d) { SetImage(PartButton1, ImageHot, d); }
    const CUIString& GetButton1PushedImage() const { return m_images[PartButton1][ImagePushed]; }
    void SetButton1PushedImage(LPCWSTR d) { SetImage(PartButton1, ImagePushed, d); }
    const CUIString& GetButton1DisabledImage() const { return m_images[PartButton1][ImageDisabled]; }
    void SetButton1DisabledImage(LPCWSTR d) { SetImage(PartButton1, ImageDisabled, d); }
    const CUIString& GetButton2NormalImage() const { return m_images[PartButton2][ImageNormal]; }
    void SetButton2NormalImage(LPCWSTR d) { SetImage(PartButton2, ImageNormal, d); }
    const CUIString& GetButton2HotImage() const { return m_images[PartButton2][ImageHot]; }
    void SetButton2HotImage(LPCWSTR d) { SetImage(PartButton2, ImageHot, d); }
    const CUIString& GetButton2PushedImage() const { return m_images[PartButton2][ImagePushed]; }
    void SetButton2PushedImage(LPCWSTR d) { SetImage(PartButton2, ImagePushed, d); }
    const CUIString& GetButton2DisabledImage() const { return m_images[PartButton2][ImageDisabled]; }
    void SetButton2DisabledImage(LPCWSTR d) { SetImage(PartButton2, ImageDisabled, d); }
    const CUIString& GetThumbNormalImage() const { return m_images[PartThumb][ImageNormal]; }
    void SetThumbNormalImage(LPCWSTR d) { SetImage(PartThumb, ImageNormal, d); }
    const CUIString& GetThumbHotImage() const { return m_images[PartThumb][ImageHot]; }
    void SetThumbHotImage(LPCWSTR d) { SetImage(PartThumb, ImageHot, d); }
    const CUIString& GetThumbPushedImage() const { return m_images[PartThumb][ImagePushed]; }
    void SetThumbPushedImage(LPCWSTR d) { SetImage(PartThumb, ImagePushed, d); }
    const CUIString& GetThumbDisabledImage() const { return m_images[PartThumb][ImageDisabled]; }
    void SetThumbDisabledImage(LPCWSTR d) { SetImage(PartThumb, ImageDisabled, d); }
    const CUIString& GetRailNormalImage() const { return m_images[PartRail][ImageNormal]; }
    void SetRailNormalImage(LPCWSTR d) { SetImage(PartRail, ImageNormal, d); }
    const CUIString& GetRailHotImage() const { return m_images[PartRail][ImageHot]; }
    void SetRailHotImage(LPCWSTR d) { SetImage(PartRail, ImageHot, d); }
    const CUIString& GetRailPushedImage() const { return m_images[PartRail][ImagePushed]; }
    void SetRailPushedImage(LPCWSTR d) { SetImage(PartRail, ImagePushed, d); }
    const CUIString& GetRailDisabledImage() const { return m_images[PartRail][ImageDisabled]; }
    void SetRailDisabledImage(LPCWSTR d) { SetImage(PartRail, ImageDisabled, d); }

protected:
    void OnShownChanged(bool shown) override;
    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

private:
    void Replace();
    // Ends a press: the repeat timer stops and no part stays pushed or captured.
    void StopRepeat();
    void LineBack();
    void LineForward();
    void PageBack();
    void PageForward();
    void RaiseScroll();
    // The owner's step for this bar's axis, or delta on the own position without an owner.
    void Step(void (CContainerUI::*horizontalStep)(), void (CContainerUI::*verticalStep)(), int delta);
    int PageLength() const;
    // pos held to 0..range; done in 64 bits so no sum near the range's end wraps.
    int ClampToRange(__int64 pos) const;
    // Coordinates along the bar's axis, and a rectangle built from them.
    int AxisStart(const RECT& rc) const;
    int AxisEnd(const RECT& rc) const;
    RECT AlongAxis(int start, int end, int crossStart, int crossEnd) const;
    // The state image of a part, else its normal image; false when neither drew.
    bool DrawStateImage(HDC hDC, Part part, UINT state, LPCWSTR modify);
    // Draws the state image of a part at rc, else its normal image; false when neither drew.
    bool DrawPart(HDC hDC, Part part, UINT state, const RECT& rc);
    // A button or the thumb: its image at rc, a plain outline when none draws.
    void PaintOutlinedPart(HDC hDC, Part part, UINT& state, const RECT& rc);
    // Destination modifier of rc relative to the item's top left, in 96-dpi units.
    void FormatDest(const RECT& rc);

    bool m_bHorizontal = false;
    __int64 m_nRange = 0;
    __int64 m_nScrollPos = 0;
    int m_nLineSize = 8;
    CContainerUI* m_pOwner = nullptr;
    POINT m_ptLastMouse = {0, 0};
    __int64 m_nLastScrollPos = 0;
    // 64-bit: a long drag over a large range is far beyond int before the position clamps it.
    __int64 m_nLastScrollOffset = 0;
    int m_nScrollRepeatDelay = 0;
    bool m_bShowButton1 = true;
    RECT m_rcButton1 = {0, 0, 0, 0};
    UINT m_uButton1State = 0;
    bool m_bShowButton2 = true;
    RECT m_rcButton2 = {0, 0, 0, 0};
    UINT m_uButton2State = 0;
    RECT m_rcThumb = {0, 0, 0, 0};
    UINT m_uThumbState = 0;
    CUIString m_images[PartCount][ImageStateCount];
    CUIString m_sImageModify;
};

} // namespace ZvUI
