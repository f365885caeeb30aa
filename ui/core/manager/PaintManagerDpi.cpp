// Applying a new DPI to a paint manager: fonts and images rebuilt, the window resized.
#include "manager/PaintManagerUI.h"

#include <cwchar>

#include "control/ControlUI.h"
#include "manager/DpiHelper.h"
#include "manager/UIResources.h"
#include "richedit/RichEditUI.h"

namespace ZvUI {

namespace {

constexpr UINT kDpiAppliedMessage = WM_USER + 2;

void RebuildFontMap(CPaintManagerUI& manager, CUIStringMap& fonts)
{
    for (int i = 0; i < fonts.GetSize(); ++i) {
        LPCWSTR key = fonts.GetAt(i);
        if (key != nullptr)
            manager.RebuildFont(static_cast<UIFontInfo*>(fonts.Find(key, false)));
    }
}

} // namespace

void CPaintManagerUI::ApplyDpi(int dpi)
{
    CDpiHelper* helper = GetDpiHelper();
    const int oldScale = helper->GetScale();
    helper->SetScale(dpi);
    const int newScale = helper->GetScale();
    // Every new root applies the process DPI again: at an unchanged scale the skin's own images
    // (with their masks and resource types) survive it, and a window that keeps its rectangle is
    // spared the resize.
    if (newScale != oldScale)
        RemoveAllImages();
    m_drawnImages.Clear();
    RescaleFonts();
    if (m_hWndPaint == nullptr)
        return;
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(m_hWndPaint, &rc);
    const RECT before = rc;
    if (!::IsZoomed(m_hWndPaint) && oldScale > 0) {
        rc.right = rc.left + (rc.right - rc.left) * newScale / oldScale;
        rc.bottom = rc.top + (rc.bottom - rc.top) * newScale / oldScale;
    }
    if (!::EqualRect(&rc, &before))
        ::SetWindowPos(m_hWndPaint, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_pRoot != nullptr)
        m_pRoot->NeedUpdate();
    // A notice for the application's window; the framework itself ignores it.
    ::PostMessageW(m_hWndPaint, kDpiAppliedMessage, 0, 0);
}

void CPaintManagerUI::BorrowDpiOf(CPaintManagerUI& owner)
{
    m_iBorrowedDpi = owner.GetDpiHelper()->GetDpi();
    ApplyDpi(m_iBorrowedDpi);
}

void CPaintManagerUI::ApplyDpiToAll(int dpi)
{
    CUIPtrArray* managers = GetAllManagers();
    for (int i = 0; i < managers->GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>((*managers)[i]);
        if (manager != nullptr)
            manager->ApplyDpi(dpi);
    }
}

void CPaintManagerUI::RescaleFonts()
{
    // Draw infos hold scaled rectangles and maybe a file for the old scale; dropped images
    // reload lazily.
    ClearDrawInfoCache();
    RebuildFontMap(*this, m_ResInfo.fonts);
    RebuildFont(&m_ResInfo.defaultFont);
    UIResourceSet& shared = GetSharedResources();
    RebuildFontMap(*this, shared.fonts);
    RebuildFont(&shared.defaultFont);
    // Rich edits hold the font handle in their text host: hand them the rebuilt one.
    if (m_pRoot == nullptr)
        return;
    CUIPtrArray* found = FindSubControlsByClass(m_pRoot, L"RichEditUI");
    for (int i = 0; found != nullptr && i < found->GetSize(); ++i) {
        auto* richEdit = static_cast<CRichEditUI*>(static_cast<CControlUI*>((*found)[i])->GetInterface(L"RichEdit"));
        if (richEdit != nullptr)
            richEdit->SetFont(richEdit->GetFont());
    }
}

void CPaintManagerUI::RebuildFont(UIFontInfo* info)
{
    if (info == nullptr)
        return;
    if (info->handle != nullptr)
        ::DeleteObject(info->handle);
    info->handle = nullptr;
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    wcsncpy(lf.lfFaceName, info->faceName.GetData(), LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -GetDpiHelper()->Scale(info->size);
    lf.lfQuality = CLEARTYPE_QUALITY;
    if (info->bold)
        lf.lfWeight += FW_BOLD;
    if (info->underline)
        lf.lfUnderline = TRUE;
    if (info->italic)
        lf.lfItalic = TRUE;
    info->handle = ::CreateFontIndirectW(&lf);
    info->metrics = TEXTMETRICW{};
    if (m_hDcPaint != nullptr && info->handle != nullptr) {
        HGDIOBJ old = ::SelectObject(m_hDcPaint, info->handle);
        ::GetTextMetricsW(m_hDcPaint, &info->metrics);
        ::SelectObject(m_hDcPaint, old);
    }
}

RECT CPaintManagerUI::ScaleRectByFactor(RECT rc, double factor)
{
    RECT out;
    out.left = static_cast<LONG>(rc.left * factor);
    out.top = static_cast<LONG>(rc.top * factor);
    out.right = static_cast<LONG>((rc.right - rc.left) * factor) + out.left;
    out.bottom = static_cast<LONG>((rc.bottom - rc.top) * factor) + out.top;
    return out;
}

} // namespace ZvUI
