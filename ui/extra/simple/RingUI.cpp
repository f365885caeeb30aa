// Ring: the background image drawn rotated about the control's centre, 36 degrees a tick.
#include "simple/RingUI.h"

#include <objidl.h>
#include <algorithm>
#include <gdiplus.h>

#include <cwchar>

#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"

namespace ZvUI {

void CRingUI::ImageDeleter::operator()(Gdiplus::Image* image) const
{
    delete image;
}

CRingUI::CRingUI() = default;

CRingUI::~CRingUI()
{
    if (m_pManager != nullptr)
        m_pManager->KillTimer(this, kRotateTimer);
    DeleteImage();
}

LPCWSTR CRingUI::GetClass() const
{
    return L"RingUI";
}

LPVOID CRingUI::GetInterface(LPCWSTR name)
{
    if (name != nullptr && wcscmp(name, L"Ring") == 0)
        return static_cast<CRingUI*>(this);
    return CLabelUI::GetInterface(name);
}

void CRingUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    // Exact name: "BkImage" and the like go to the label and keep the loaded image.
    if (wcscmp(name, L"bkimage") == 0)
        SetBkImage(value);
    else
        CLabelUI::SetAttribute(name, value);
}

void CRingUI::SetBkImage(LPCWSTR descriptor)
{
    if (descriptor == nullptr || m_sBkImage == descriptor)
        return;
    m_sBkImage = descriptor;
    DeleteImage();
    Invalidate();
}

void CRingUI::InitImage()
{
    m_pImage.reset(CUIRender::LoadGdiplusImage(m_sBkImage));
    if (m_pImage != nullptr && m_pManager != nullptr)
        (void)m_pManager->SetTimer(this, kRotateTimer, kRotateElapse);
}

void CRingUI::OnShownChanged(bool shown)
{
    if (m_pManager == nullptr)
        return;
    // The ring turns only while it can be seen; the angle waits where it was.
    if (!shown)
        m_pManager->KillTimer(this, kRotateTimer);
    else if (m_pImage != nullptr)
        (void)m_pManager->SetTimer(this, kRotateTimer, kRotateElapse);
}

void CRingUI::DeleteImage()
{
    m_pImage.reset();
}

void CRingUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventTimer && event.wParam == kRotateTimer) {
        if (!IsVisible()) {
            if (m_pManager != nullptr)
                m_pManager->KillTimer(this, kRotateTimer);
            return;
        }
        if (m_fAngle > 359.0f)
            m_fAngle = 0.0f;
        m_fAngle += 36.0f;
        Invalidate();
        return;
    }
    CLabelUI::DoEvent(event);
}

void CRingUI::PaintBkImage(HDC hDC)
{
    if (m_pImage == nullptr)
        InitImage();
    if (m_pImage == nullptr)
        return;
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    const auto cx = static_cast<Gdiplus::REAL>(m_rcItem.left + width / 2);
    const auto cy = static_cast<Gdiplus::REAL>(m_rcItem.top + height / 2);
    Gdiplus::Graphics graphics(hDC);
    graphics.TranslateTransform(cx, cy);
    graphics.RotateTransform(m_fAngle);
    graphics.TranslateTransform(-cx, -cy);
    graphics.DrawImage(m_pImage.get(), static_cast<INT>(m_rcItem.left), static_cast<INT>(m_rcItem.top),
                       static_cast<INT>(width), static_cast<INT>(height));
}

} // namespace ZvUI
