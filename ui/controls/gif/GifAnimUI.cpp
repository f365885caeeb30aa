// Animated GIF: loading through GDI+, per-frame intervals, the frame timer and drawing.
#include "gif/GifAnimUI.h"

#include <objidl.h>
#include <algorithm>
#include <gdiplus.h>

#include <cstring>
#include <cwchar>

#include "utils/UIAttributeValues.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

namespace {

// PropertyTagFrameDelay: one LONG per frame, in hundredths of a second.
constexpr PROPID kFrameDelayTag = 0x5100;
constexpr WORD kPropertyTypeLong = 4;

} // namespace

using attr::Is;

void CGifAnimUI::ImageDeleter::operator()(Gdiplus::Image* image) const
{
    delete image;
}

CGifAnimUI::CGifAnimUI() = default;

CGifAnimUI::~CGifAnimUI()
{
    // The base destructor forgets every timer of this control too; stopping here keeps the
    // order plain: no tick after the image is gone.
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, kFrameTimer);
    DeleteGif();
}

LPCWSTR CGifAnimUI::GetClass() const
{
    return L"GifAnimUI";
}

LPVOID CGifAnimUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && Is(name, L"GifAnim"))
        return static_cast<CGifAnimUI*>(this);
    return CControlUI::GetInterface(name);
}

UINT CGifAnimUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? ControlFlagTabStop : 0) | (IsEnabled() ? ControlFlagSetCursor : 0);
}

void CGifAnimUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    if (visible)
        PlayGif();
    else
        StopGif();
}

void CGifAnimUI::DoInit()
{
    InitGifImage();
}

void CGifAnimUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (Is(name, L"gifimage"))
        SetGifImage(value);
    else if (Is(name, L"autoplay"))
        SetAutoPlay(attr::IsTrue(value));
    else if (Is(name, L"autosize"))
        SetAutoSize(attr::IsTrue(value));
    else
        CControlUI::SetAttribute(name, value);
}

void CGifAnimUI::SetGifImage(LPCWSTR name)
{
    if (name == nullptr || m_sGifImage == name)
        return;
    m_sGifImage = name;
    StopGif();
    DeleteGif();
    Invalidate();
}

// --- frames ---

std::vector<UINT> CGifAnimUI::FrameIntervals(const Gdiplus::PropertyItem* delays, UINT frameCount)
{
    std::vector<UINT> intervals(frameCount, kDefaultInterval);
    if (delays == nullptr || delays->value == nullptr || delays->type != kPropertyTypeLong)
        return intervals;
    // Only the entries the property really holds are read.
    const UINT entries = std::min<UINT>(frameCount, delays->length / sizeof(LONG));
    const auto* bytes = static_cast<const unsigned char*>(delays->value);
    for (UINT i = 0; i < entries; ++i) {
        LONG delay = 0;
        std::memcpy(&delay, bytes + i * sizeof(LONG), sizeof(LONG));
        // Ten seconds per hundredth would overflow long before a negative delay made sense.
        if (delay > 0 && delay < 0x1000000)
            intervals[i] = static_cast<UINT>(delay) * 10;
    }
    return intervals;
}

UINT CGifAnimUI::GetFrameInterval(UINT frame) const
{
    return frame < m_intervals.size() ? m_intervals[frame] : 0;
}

void CGifAnimUI::InitGifImage()
{
    if (m_pImage != nullptr || m_sGifImage.IsEmpty())
        return;
    m_pImage.reset(CUIRender::LoadGdiplusImage(m_sGifImage));
    if (m_pImage == nullptr)
        return;

    const UINT dimensions = m_pImage->GetFrameDimensionsCount();
    m_nFrameCount = 0;
    if (dimensions > 0) {
        std::vector<GUID> ids(dimensions);
        if (m_pImage->GetFrameDimensionsList(ids.data(), dimensions) == Gdiplus::Ok)
            m_nFrameCount = m_pImage->GetFrameCount(&ids[0]);
    }
    m_nCurrentFrame = 0;

    // The property may be absent or shorter than the frame list: FrameIntervals covers both.
    std::vector<unsigned char> buffer;
    const Gdiplus::PropertyItem* delays = nullptr;
    if (m_nFrameCount > 1) {
        const UINT size = m_pImage->GetPropertyItemSize(kFrameDelayTag);
        if (size >= sizeof(Gdiplus::PropertyItem)) {
            buffer.resize(size);
            auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
            if (m_pImage->GetPropertyItem(kFrameDelayTag, size, item) == Gdiplus::Ok)
                delays = item;
        }
    }
    m_intervals = FrameIntervals(delays, m_nFrameCount);

    if (m_bAutoSize) {
        SetFixedWidth(static_cast<int>(m_pImage->GetWidth()));
        SetFixedHeight(static_cast<int>(m_pImage->GetHeight()));
    }
    if (m_bAutoPlay)
        PlayGif();
}

void CGifAnimUI::DeleteGif()
{
    m_pImage.reset();
    m_intervals.clear();
    m_nFrameCount = 0;
    m_nCurrentFrame = 0;
}

void CGifAnimUI::PlayGif()
{
    if (m_bPlaying || m_pImage == nullptr || m_nFrameCount < 2 || m_pManager == nullptr)
        return;
    // Out of sight the request is kept and the frames start once the control is seen.
    if (IsVisible() && !m_pManager->SetTimer(this, kFrameTimer, GetFrameInterval(m_nCurrentFrame)))
        return;
    m_bPlaying = true;
}

void CGifAnimUI::OnShownChanged(bool shown)
{
    if (!m_bPlaying || m_pManager == nullptr)
        return;
    // Hidden, itself or by an ancestor: the frame stays where it is until the control is seen.
    if (!shown)
        m_pManager->KillTimer(this, kFrameTimer);
    else if (!m_pManager->SetTimer(this, kFrameTimer, GetFrameInterval(m_nCurrentFrame)))
        m_bPlaying = false;
}

void CGifAnimUI::PauseGif()
{
    if (!m_bPlaying || m_pImage == nullptr)
        return;
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, kFrameTimer);
    Invalidate();
    m_bPlaying = false;
}

void CGifAnimUI::StopGif()
{
    if (!m_bPlaying)
        return;
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, kFrameTimer);
    m_nCurrentFrame = 0;
    Invalidate();
    m_bPlaying = false;
}

void CGifAnimUI::OnTimer(UINT id)
{
    if (id != kFrameTimer || m_pManager == nullptr || m_nFrameCount == 0)
        return;
    m_pManager->KillTimer(this, kFrameTimer);
    if (!IsVisible())
        return;
    Invalidate();
    m_nCurrentFrame = (m_nCurrentFrame + 1) % m_nFrameCount;
    if (!m_pManager->SetTimer(this, kFrameTimer, GetFrameInterval(m_nCurrentFrame)))
        m_bPlaying = false;
    m_pManager->RaiseNotify(this, L"gifindexchanged", m_nCurrentFrame, 0);
}

// --- events and painting ---

void CGifAnimUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventTimer) {
        OnTimer(static_cast<UINT>(event.wParam));
    } else if ((event.type == EventButtonDown || event.type == EventDoubleClick) && IsEnabled() &&
               ::PtInRect(&m_rcItem, event.mousePoint) && m_pManager != nullptr) {
        m_pManager->RaiseNotify(this, L"gifbuttondown", 0, 0);
    }
    CControlUI::DoEvent(event);
}

bool CGifAnimUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl)
{
    (void)CControlUI::DoPaint(hDC, rcPaint, stopControl);
    RECT overlap = {};
    if (!::IntersectRect(&overlap, &rcPaint, &m_rcItem))
        return true;
    if (m_pImage == nullptr)
        InitGifImage();
    if (m_pImage == nullptr)
        return true;
    // The frame the timer moved to is selected before drawing, so the paint shows it and not
    // the one before.
    if (m_nFrameCount > 1) {
        GUID time = Gdiplus::FrameDimensionTime;
        m_pImage->SelectActiveFrame(&time, m_nCurrentFrame);
    }
    Gdiplus::Graphics graphics(hDC);
    graphics.DrawImage(m_pImage.get(), static_cast<INT>(m_rcItem.left), static_cast<INT>(m_rcItem.top),
                       static_cast<INT>(m_rcItem.right - m_rcItem.left),
                       static_cast<INT>(m_rcItem.bottom - m_rcItem.top));
    return true;
}

} // namespace ZvUI
