#pragma once
// A label that turns its background image about its centre as a busy indicator.

#include <windows.h>

#include <memory>

#include "control/LabelUI.h"

namespace Gdiplus {
class Image;
}

namespace ZvUI {

class CRingUI : public CLabelUI {
public:
    static constexpr UINT kRotateTimer = 100;
    static constexpr UINT kRotateElapse = 100;

    CRingUI();
    ~CRingUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintBkImage(HDC hDC) override;

    // Drops the loaded image when the descriptor changes; the next paint loads the new one.
    void SetBkImage(LPCWSTR descriptor);
    float GetAngle() const { return m_fAngle; }
    bool IsImageLoaded() const { return m_pImage != nullptr; }

protected:
    void OnShownChanged(bool shown) override;

private:
    void InitImage();
    void DeleteImage();

    struct ImageDeleter {
        void operator()(Gdiplus::Image* image) const;
    };

    float m_fAngle = 0.0f;
    std::unique_ptr<Gdiplus::Image, ImageDeleter> m_pImage;
};

} // namespace ZvUI
