#pragma once
// An animated GIF from the skin, stepped through its frames on a paint-manager timer.

#include <windows.h>

#include <memory>
#include <vector>

#include "control/ControlUI.h"
#include "utils/UIString.h"

namespace Gdiplus {
class Image;
struct PropertyItem;
}

namespace ZvUI {

class CGifAnimUI : public CControlUI {
public:
    static constexpr UINT kFrameTimer = 100;
    // Used for a frame whose delay is 0 or missing.
    static constexpr UINT kDefaultInterval = 100;

    CGifAnimUI();
    ~CGifAnimUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetVisible(bool visible = true) override;
    void DoInit() override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

    // Stops and frees the current image; the next paint loads the new one.
    void SetGifImage(LPCWSTR name);
    const CUIString& GetGifImage() const { return m_sGifImage; }
    void SetAutoPlay(bool autoPlay) { m_bAutoPlay = autoPlay; }
    bool IsAutoPlay() const { return m_bAutoPlay; }
    void SetAutoSize(bool autoSize) { m_bAutoSize = autoSize; }
    bool IsAutoSize() const { return m_bAutoSize; }

    void PlayGif();
    // Keeps the current frame.
    void PauseGif();
    // Back to frame 0.
    void StopGif();

    bool IsLoaded() const { return m_pImage != nullptr; }
    // Playing as asked; the frame timer runs only while the control can be seen.
    bool IsPlaying() const { return m_bPlaying; }
    UINT GetFrameCount() const { return m_nFrameCount; }
    UINT GetCurrentFrame() const { return m_nCurrentFrame; }
    // Milliseconds the frame stays up; 0 for a frame the image does not have.
    UINT GetFrameInterval(UINT frame) const;

    // One interval in milliseconds per frame from the frame-delay property (hundredths of a
    // second, one 32-bit entry per frame). A missing property, a short one or a delay of 0
    // gives kDefaultInterval for the frames it does not cover.
    static std::vector<UINT> FrameIntervals(const Gdiplus::PropertyItem* delays, UINT frameCount);

protected:
    void OnShownChanged(bool shown) override;

private:
    void InitGifImage();
    void DeleteGif();
    void OnTimer(UINT id);

    struct ImageDeleter {
        void operator()(Gdiplus::Image* image) const;
    };

    std::unique_ptr<Gdiplus::Image, ImageDeleter> m_pImage;
    UINT m_nFrameCount = 0;
    UINT m_nCurrentFrame = 0;
    std::vector<UINT> m_intervals;
    CUIString m_sGifImage;
    bool m_bAutoPlay = true;
    bool m_bAutoSize = false;
    bool m_bPlaying = false;
};

} // namespace ZvUI
