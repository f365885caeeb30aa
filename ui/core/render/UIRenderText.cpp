// Text drawing of the render engine: plain text through GDI or GDI+, and the HTML-like markup.

#include "render/UIRender.h"

#include <objidl.h>
#include <algorithm>
#include <climits>
#include <gdiplus.h>
#include <vector>

#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIClipGuard.h"
#include "render/UIImageInfo.h"
#include "utils/UIString.h"

namespace ZvUI {

namespace {

// Font variants the markup asks for are created from this id upwards.
constexpr int kFontVariantId = 30000;

COLORREF ToColorRef(DWORD argb)
{
    return RGB(GetBValue(argb), GetGValue(argb), GetRValue(argb));
}

// Selects a GDI object for the scope and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC hDC, HGDIOBJ object) : m_hDC(hDC), m_old(object != nullptr ? ::SelectObject(hDC, object) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard()
    {
        if (m_old != nullptr)
            ::SelectObject(m_hDC, m_old);
    }

private:
    HDC m_hDC;
    HGDIOBJ m_old;
};

// The markup changes fonts, colours and modes freely; the caller gets its DC back unchanged.
class DcStateGuard {
public:
    explicit DcStateGuard(HDC hDC) : m_hDC(hDC), m_saved(::SaveDC(hDC)) {}
    DcStateGuard(const DcStateGuard&) = delete;
    DcStateGuard& operator=(const DcStateGuard&) = delete;
    ~DcStateGuard()
    {
        if (m_saved != 0)
            ::RestoreDC(m_hDC, m_saved);
    }

private:
    HDC m_hDC;
    int m_saved;
};

// --- plain text helpers ---

// The single UTF-16 unit an "&#x" entity names: at most four digits, a final blank, then a final
// ";" dropped.
wchar_t EntityChar(LPCWSTR entity)
{
    CUIString digits(entity + 3);
    if (digits.GetLength() > 4)
        digits = digits.Left(4);
    int length = digits.GetLength();
    if (length > 0 && digits[length - 1] == L' ')
        digits = digits.Left(--length);
    if (length > 0 && digits[length - 1] == L';')
        digits = digits.Left(--length);
    return static_cast<wchar_t>(wcstoul(digits, nullptr, 16));
}

Gdiplus::TextRenderingHint RenderingHint(int hint)
{
    if (hint < Gdiplus::TextRenderingHintSystemDefault || hint > Gdiplus::TextRenderingHintClearTypeGridFit)
        return Gdiplus::TextRenderingHintSystemDefault;
    return static_cast<Gdiplus::TextRenderingHint>(hint);
}

void DrawTextGdiplus(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                     UINT style)
{
    SelectGuard selectFont(hDC, manager->GetFont(font));
    // GDI+ looks the face up by the name the skin asked for, which may be a localised or
    // substituted name that only GDI resolves; give it the face GDI actually selected.
    LOGFONTW logFont = {};
    ::GetObjectW(manager->GetFont(font), sizeof(logFont), &logFont);
    wchar_t selectedFace[LF_FACESIZE] = {};
    if (::GetTextFaceW(hDC, LF_FACESIZE, selectedFace) > 0)
        wcsncpy(logFont.lfFaceName, selectedFace, LF_FACESIZE - 1);
    Gdiplus::Font gdiFont(hDC, &logFont);
    Gdiplus::Graphics graphics(hDC);
    graphics.SetTextRenderingHint(RenderingHint(manager->GetGdiplusTextRenderingHint()));
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);

    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    if ((style & DT_END_ELLIPSIS) != 0)
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    INT flags = format.GetFormatFlags();
    if ((style & DT_NOCLIP) != 0)
        flags |= Gdiplus::StringFormatFlagsNoClip;
    if ((style & DT_SINGLELINE) != 0)
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    format.SetFormatFlags(flags);
    if ((style & DT_CENTER) != 0)
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
    else if ((style & DT_RIGHT) != 0)
        format.SetAlignment(Gdiplus::StringAlignmentFar);
    else
        format.SetAlignment(Gdiplus::StringAlignmentNear);
    if ((style & DT_VCENTER) != 0)
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    else if ((style & DT_BOTTOM) != 0)
        format.SetLineAlignment(Gdiplus::StringAlignmentFar);
    else
        format.SetLineAlignment(Gdiplus::StringAlignmentNear);

    CUIString shown(text);
    shown.Replace(L"&&", L"&");
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    if ((style & DT_CALCRECT) != 0) {
        Gdiplus::RectF bounds;
        graphics.MeasureString(shown, -1, &gdiFont, layout, &format, &bounds);
        rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
        rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
        return;
    }
    // Text is drawn with alpha 0xFE whatever the colour's own alpha.
    Gdiplus::SolidBrush brush(Gdiplus::Color(0xFE, static_cast<BYTE>(color >> 16), static_cast<BYTE>(color >> 8),
                                             static_cast<BYTE>(color)));
    graphics.DrawString(shown, -1, &gdiFont, layout, &format, &brush);
}

// --- markup ---

bool IsOpener(wchar_t c)
{
    return c == L'<' || c == L'{';
}

bool IsCloser(wchar_t c)
{
    return c == L'>' || c == L'}';
}

// An opener, a lower-case letter, then a blank or a closer: "<b>" is a tag, "<bold>" is text.
bool IsOpeningTag(LPCWSTR p)
{
    return IsOpener(p[0]) && p[1] >= L'a' && p[1] <= L'z' && (p[2] == L' ' || IsCloser(p[2]));
}

bool IsClosingTag(LPCWSTR p)
{
    return IsOpener(p[0]) && p[1] == L'/';
}

bool IsRawClose(LPCWSTR p)
{
    return IsOpener(p[0]) && p[1] == L'/' && p[2] == L'r' && IsCloser(p[3]);
}

// The four three-character escapes of the bracket characters; 0 when p starts none. p[1] is
// tested before p[2]: a text may end right after the opener.
wchar_t EscapeAt(LPCWSTR p)
{
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>')
        return p[1];
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}')
        return p[1];
    return 0;
}

LPCWSTR SkipBlanks(LPCWSTR p)
{
    while (*p == L' ')
        ++p;
    return p;
}

// Past the next closer, or at the end of the text.
LPCWSTR SkipTag(LPCWSTR p)
{
    while (*p != L'\0' && !IsCloser(*p))
        ++p;
    return *p != L'\0' ? p + 1 : p;
}

LPCWSTR TagEnd(LPCWSTR p)
{
    while (*p != L'\0' && !IsCloser(*p))
        ++p;
    return p;
}

// Reads a decimal number and leaves p after it; malformed numbers read as 0.
int ReadInt(LPCWSTR& p)
{
    p = SkipBlanks(p);
    LPWSTR end = nullptr;
    const long value = wcstol(p, &end, 10);
    if (end != nullptr && end != p)
        p = end;
    return static_cast<int>(value);
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// A style stack of the markup. Real texts nest a few tags; every line saves the stacks, so a text
// that opens tags by the thousand and never closes them would make that quadratic. Beyond the
// bound a push is only counted, and the matching pop only uncounts it.
template <typename T>
class MarkupStack {
public:
    static constexpr size_t kMaxDepth = 64;

    bool empty() const { return m_items.empty(); }
    const T& back() const { return m_items.back(); }
    void push_back(const T& value)
    {
        if (m_items.size() < kMaxDepth)
            m_items.push_back(value);
        else
            ++m_overflow;
    }
    void pop_back()
    {
        if (m_overflow > 0)
            --m_overflow;
        else if (!m_items.empty())
            m_items.pop_back();
    }

private:
    std::vector<T> m_items;
    size_t m_overflow = 0;
};

// Fonts the markup may add to a manager as bold, italic, underlined or sized variants.
constexpr int kMaxFontVariants = 256;
// What a line can use: <y> and <p> ask for at most this many pixels.
constexpr int kMaxLineExtent = 0x7FFF;
// Line tops stop here however many lines come before, so that a top plus its line cannot overflow.
constexpr int kMaxLineTop = INT_MAX - 4 * kMaxLineExtent;
// A run longer than this many characters past the room left on the line cannot fit, so the rest
// of a long word is not scanned or measured again for every line it wraps over.
constexpr int kRunSlack = 16;

struct FontMetrics {
    int height = 0;
    int leading = 0;
    int maxCharWidth = 0;
};

class HtmlLayout {
public:
    HtmlLayout(HDC hDC, CPaintManagerUI* manager, const RECT& rc, DWORD color, RECT* linkRects,
               CUIString* linkTexts, int capacity, int font, UINT style)
        : m_hDC(hDC), m_manager(manager), m_rc(rc), m_color(color), m_linkRects(linkRects),
          m_linkTexts(linkTexts), m_capacity(linkRects != nullptr && linkTexts != nullptr ? capacity : 0),
          m_style(style), m_calc((style & DT_CALCRECT) != 0)
    {
        m_baseFont = manager->GetFontInfo(font);
    }

    void SetHoverText(const CUIString& text) { m_hoverText = text; }

    void Run(LPCWSTR text);

    int LinkCount() const { return std::min(m_linkIndex, m_capacity); }
    RECT CalcResult() const
    {
        RECT rc = m_rc;
        rc.bottom = std::max(m_lastTop + m_lastLineHeight, m_minHeight);
        rc.right = std::min<LONG>(m_rc.right, m_maxX);
        return rc;
    }

private:
    // What a line's drawing pass starts from.
    struct LineStart {
        LPCWSTR p = nullptr;
        MarkupStack<UIFontInfo*> fonts;
        MarkupStack<DWORD> colors;
        MarkupStack<int> paragraphs;
        bool raw = false;
        bool selected = false;
        int linkIndex = 0;
        bool inLink = false;
        POINT linkStart = {0, 0};
    };

    UIFontInfo* CurrentFont() const { return m_fonts.empty() ? m_baseFont : m_fonts.back(); }
    DWORD CurrentColor() const { return m_colors.empty() ? m_color : m_colors.back(); }
    int ParagraphExtra() const { return m_paragraphs.empty() ? 0 : m_paragraphs.back(); }
    FontMetrics Metrics() const
    {
        const TEXTMETRICW& tm = CurrentFont()->metrics;
        return FontMetrics{tm.tmHeight, tm.tmExternalLeading, std::max<int>(tm.tmMaxCharWidth, 1)};
    }
    int FontLineHeight() const
    {
        const FontMetrics m = Metrics();
        return m.height + m.leading + ParagraphExtra();
    }
    void GrowLineHeight() { m_cyLine = std::max(m_cyLine, FontLineHeight()); }
    // Tags that repeat the current font are common; selecting it again costs a GDI call each.
    void SelectFont(HFONT font)
    {
        if (font != m_selectedFont) {
            ::SelectObject(m_hDC, font);
            m_selectedFont = font;
        }
    }
    void SelectCurrent()
    {
        SelectFont(CurrentFont()->handle);
        ::SetTextColor(m_hDC, ToColorRef(CurrentColor()));
    }

    LineStart Save() const;
    void Restore(const LineStart& start);
    void Line(bool draw);
    void EndLine(bool draw);
    bool ContentBlocked() const { return m_x >= m_rc.right && m_x > m_rc.left; }
    int Width(LPCWSTR text, int length) const;
    void DrawRun(LPCWSTR text, int length, int x);
    void TextRun(bool draw);
    void Blank(bool draw);
    void Glyph(bool draw, wchar_t ch);
    void OpeningTag(bool draw);
    void ClosingTag(bool draw);
    void Image(bool draw, LPCWSTR param);
    void PushFont(UIFontInfo* info);
    void PushVariant(bool bold, bool underline, bool italic);
    void PopFont();
    UIFontInfo* FindOrAddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    void OpenLink(bool draw, LPCWSTR param);
    void CloseLink(bool draw);

    HDC m_hDC;
    CPaintManagerUI* m_manager;
    RECT m_rc;
    DWORD m_color;
    RECT* m_linkRects;
    CUIString* m_linkTexts;
    int m_capacity;
    UINT m_style;
    bool m_calc;
    UIFontInfo* m_baseFont = nullptr;
    HFONT m_selectedFont = nullptr;
    CUIString m_hoverText;

    MarkupStack<UIFontInfo*> m_fonts;
    MarkupStack<DWORD> m_colors;
    MarkupStack<int> m_paragraphs;

    LPCWSTR m_p = nullptr;
    int m_x = 0;
    int m_y = 0;
    int m_cyLine = 0;
    // Found by the measuring pass; the drawing pass aligns runs on its bottom.
    int m_measuredLine = 0;
    // Horizontal shift of the line being drawn (centred or right-aligned multi-line text).
    int m_lineOffset = 0;
    bool m_raw = false;
    bool m_selected = false;
    bool m_lineEnd = false;
    bool m_ellipsis = false;

    int m_linkIndex = 0;
    int m_lineLinkIndex = 0;
    bool m_inLink = false;
    POINT m_linkStart = {0, 0};

    int m_maxX = 0;
    int m_minHeight = 0;
    int m_lastTop = 0;
    int m_lastLineHeight = 0;
};

HtmlLayout::LineStart HtmlLayout::Save() const
{
    LineStart start;
    start.p = m_p;
    start.fonts = m_fonts;
    start.colors = m_colors;
    start.paragraphs = m_paragraphs;
    start.raw = m_raw;
    start.selected = m_selected;
    start.linkIndex = m_linkIndex;
    start.inLink = m_inLink;
    start.linkStart = m_linkStart;
    return start;
}

void HtmlLayout::Restore(const LineStart& start)
{
    m_p = start.p;
    m_fonts = start.fonts;
    m_colors = start.colors;
    m_paragraphs = start.paragraphs;
    m_raw = start.raw;
    m_selected = start.selected;
    m_linkIndex = start.linkIndex;
    m_inLink = start.inLink;
    m_linkStart = start.linkStart;
    SelectCurrent();
}

void HtmlLayout::Run(LPCWSTR text)
{
    m_p = text;
    m_x = m_rc.left;
    m_y = m_rc.top;
    m_maxX = m_rc.left;
    m_linkStart = POINT{m_rc.left, m_rc.top};
    SelectCurrent();
    for (;;) {
        const LineStart start = Save();
        Line(false);
        if (!m_calc) {
            m_measuredLine = m_cyLine;
            Restore(start);
            Line(true);
            m_cyLine = m_measuredLine;
        }
        m_lastTop = m_y;
        m_lastLineHeight = m_cyLine;
        if ((m_style & DT_SINGLELINE) != 0 || *m_p == L'\0')
            break;
        m_y = static_cast<int>(std::min<long long>(static_cast<long long>(m_y) + m_cyLine, kMaxLineTop));
        m_linkStart = POINT{m_rc.left, m_y};
        if (!m_calc && m_y >= m_rc.bottom)
            break;
    }
}

void HtmlLayout::Line(bool draw)
{
    m_x = m_rc.left;
    m_cyLine = FontLineHeight();
    m_lineEnd = false;
    m_ellipsis = false;
    m_lineLinkIndex = m_linkIndex;
    while (!m_lineEnd) {
        const wchar_t c = *m_p;
        if (c == L'\0') {
            m_lineEnd = true;
        } else if (c == L'\n') {
            ++m_p;
            m_lineEnd = true;
        } else if (m_raw) {
            if (IsRawClose(m_p)) {
                m_raw = false;
                m_p += 4;
            } else if (ContentBlocked()) {
                m_lineEnd = true;
            } else {
                TextRun(draw);
            }
        } else if (const wchar_t escaped = EscapeAt(m_p)) {
            if (ContentBlocked())
                m_lineEnd = true;
            else
                Glyph(draw, escaped);
        } else if (IsOpeningTag(m_p)) {
            OpeningTag(draw);
        } else if (IsClosingTag(m_p)) {
            ClosingTag(draw);
        } else if (ContentBlocked()) {
            m_lineEnd = true;
        } else if (c == L' ') {
            Blank(draw);
        } else {
            TextRun(draw);
        }
        if (!draw)
            m_maxX = std::max(m_maxX, std::min<int>(m_x, m_rc.right));
    }
    EndLine(draw);
}

void HtmlLayout::EndLine(bool draw)
{
    const int lineBottom = m_y + m_cyLine;
    if (draw) {
        // Number the pieces of a wrapped link as the measuring pass did.
        if (m_inLink && m_linkIndex < m_capacity)
            ++m_linkIndex;
        return;
    }
    if (m_inLink && m_linkIndex < m_capacity) {
        m_linkRects[m_linkIndex] = RECT{m_linkStart.x, m_linkStart.y, std::min<LONG>(m_x, m_rc.right), lineBottom};
        ++m_linkIndex;
        if (m_linkIndex < m_capacity)
            m_linkTexts[m_linkIndex] = m_linkTexts[m_linkIndex - 1];
    }
    // Alignment applies to the whole line, so each run keeps its place beside the others.
    m_lineOffset = 0;
    if ((m_style & DT_SINGLELINE) == 0) {
        const int spare = m_rc.right - std::min<int>(m_x, m_rc.right);
        if ((m_style & DT_CENTER) != 0)
            m_lineOffset = spare / 2;
        else if ((m_style & DT_RIGHT) != 0)
            m_lineOffset = spare;
    }
    for (int i = m_lineLinkIndex; i < m_linkIndex && i < m_capacity; ++i) {
        m_linkRects[i].bottom = lineBottom;
        m_linkRects[i].left += m_lineOffset;
        m_linkRects[i].right += m_lineOffset;
    }
}

int HtmlLayout::Width(LPCWSTR text, int length) const
{
    SIZE size = {0, 0};
    if (length > 0)
        ::GetTextExtentPoint32W(m_hDC, text, length, &size);
    return size.cx;
}

void HtmlLayout::DrawRun(LPCWSTR text, int length, int x)
{
    const FontMetrics m = Metrics();
    const int y = m_y + m_measuredLine - m.height - m.leading;
    ::SetBkMode(m_hDC, m_selected ? OPAQUE : TRANSPARENT);
    ::TextOutW(m_hDC, x + m_lineOffset, y, text, length);
}

void HtmlLayout::TextRun(bool draw)
{
    const LPCWSTR start = m_p;
    // The first character is always part of the run, even an opener that starts no tag.
    LPCWSTR end = ::CharNextW(start);
    const int room = m_rc.right - m_x;
    // Every character is at least a pixel wide: a run cut here still overflows the room.
    const LPCWSTR limit = start + std::max(room, 0) + kRunSlack;
    while (*end != L'\0' && *end != L'\n' && end < limit) {
        if (m_raw ? IsRawClose(end) : (IsOpener(*end) || *end == L' '))
            break;
        end = ::CharNextW(end);
    }
    const int length = static_cast<int>(end - start);
    int fit = length;
    int width = 0;
    bool overflow = false;
    // Measure exactly only when the cheap estimate says the run may not fit.
    if (length * Metrics().maxCharWidth < room) {
        width = Width(start, length);
    } else {
        SIZE size = {0, 0};
        INT fitted = 0;
        ::GetTextExtentExPointW(m_hDC, start, length, std::max(room, 0), &fitted, nullptr, &size);
        if (fitted < length) {
            overflow = true;
            fit = fitted;
            if (fit > 0 && IS_HIGH_SURROGATE(start[fit - 1]))
                --fit;
            if ((m_style & DT_WORDBREAK) != 0 && (m_style & DT_END_ELLIPSIS) == 0) {
                int cut = fit;
                while (cut > 0 && IsAsciiLetter(start[cut - 1]))
                    --cut;
                // A word that does not fit moves to the next line whole, unless it starts the line.
                if (cut > 0 || m_x > m_rc.left)
                    fit = cut;
            }
            // A line always takes at least one character.
            if (fit == 0 && m_x == m_rc.left)
                fit = static_cast<int>(::CharNextW(start) - start);
            if ((m_style & DT_END_ELLIPSIS) != 0) {
                fit -= std::min(2, fit);
                const int dots = Width(L"...", 3);
                while (fit > 0 && Width(start, fit) + dots > room)
                    --fit;
                m_ellipsis = true;
            }
        }
        width = Width(start, fit);
    }
    if (draw && fit > 0)
        DrawRun(start, fit, m_x);
    if (draw && m_ellipsis)
        DrawRun(L"...", 3, m_x + width);
    m_x += width;
    // Behind an ellipsis the rest of the run stays hidden.
    m_p = m_ellipsis ? end : start + fit;
    if (overflow) {
        m_lineEnd = true;
        if (m_ellipsis)
            m_x = m_rc.right;
    }
}

void HtmlLayout::Blank(bool draw)
{
    const int width = Width(L" ", 1);
    if (m_x + width > m_rc.right && m_x > m_rc.left) {
        // The blank at a wrap is swallowed, so the next line starts with its word.
        ++m_p;
        m_lineEnd = true;
        return;
    }
    if (draw)
        DrawRun(L" ", 1, m_x);
    m_x += width;
    ++m_p;
}

void HtmlLayout::Glyph(bool draw, wchar_t ch)
{
    const int width = Width(&ch, 1);
    if (m_x + width > m_rc.right && m_x > m_rc.left) {
        m_lineEnd = true;
        return;
    }
    if (draw)
        DrawRun(&ch, 1, m_x);
    m_x += width;
    m_p += 3;
}

void HtmlLayout::PushFont(UIFontInfo* info)
{
    if (info == nullptr || info->handle == nullptr)
        info = CurrentFont();
    m_fonts.push_back(info);
    SelectFont(CurrentFont()->handle);
    GrowLineHeight();
}

UIFontInfo* HtmlLayout::FindOrAddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    if (UIFontInfo* info = m_manager->FindFontInfo(face, size, bold, underline, italic))
        return info;
    // Replacing a font record would free one the stacks may still hold: take a free id. Once
    // they are spent, the manager says so at once and the tag keeps the current font.
    const int id = m_manager->FindFreeFontId(kFontVariantId, kMaxFontVariants);
    if (id < 0 || m_manager->AddFont(id, face, size, bold, underline, italic, false) == nullptr)
        return CurrentFont();
    return m_manager->GetFontInfo(id);
}

void HtmlLayout::PushVariant(bool bold, bool underline, bool italic)
{
    const UIFontInfo* current = CurrentFont();
    // A font that has the style already is pushed again, so the closing tag pops what its tag pushed.
    if ((current->bold || !bold) && (current->underline || !underline) && (current->italic || !italic)) {
        PushFont(CurrentFont());
        return;
    }
    PushFont(FindOrAddFont(current->faceName, current->size, current->bold || bold,
                           current->underline || underline, current->italic || italic));
}

void HtmlLayout::PopFont()
{
    if (m_fonts.empty())
        return;
    UIFontInfo* left = m_fonts.back();
    m_fonts.pop_back();
    UIFontInfo* now = CurrentFont();
    if (left->italic && !now->italic) {
        // Italic glyphs lean into the next run; half the blank's C width keeps them apart.
        ABC abc = {};
        if (::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc))
            m_x += static_cast<int>(abc.abcC) / 2;
    }
    SelectFont(now->handle);
    GrowLineHeight();
}

void HtmlLayout::OpenLink(bool draw, LPCWSTR param)
{
    DWORD color = m_color != 0 ? m_color : m_manager->GetLinkColor();
    if (m_linkIndex < m_capacity) {
        if (!draw)
            m_linkTexts[m_linkIndex].Assign(param, static_cast<int>(TagEnd(param) - param));
        if (!m_hoverText.IsEmpty() && m_linkTexts[m_linkIndex] == m_hoverText.GetData())
            color = m_manager->GetLinkHoverColor();
    }
    m_colors.push_back(color);
    ::SetTextColor(m_hDC, ToColorRef(color));
    PushVariant(false, true, false);
    m_linkStart = POINT{m_x, m_y};
    m_inLink = true;
}

void HtmlLayout::CloseLink(bool draw)
{
    if (m_inLink && m_linkIndex < m_capacity) {
        if (!draw) {
            const TEXTMETRICW& tm = CurrentFont()->metrics;
            m_linkRects[m_linkIndex] = RECT{m_linkStart.x, m_linkStart.y, std::min<LONG>(m_x, m_rc.right),
                                            m_y + tm.tmHeight + tm.tmExternalLeading};
        }
        ++m_linkIndex;
    }
    if (!m_colors.empty())
        m_colors.pop_back();
    ::SetTextColor(m_hDC, ToColorRef(CurrentColor()));
    m_inLink = false;
    PopFont();
}

void HtmlLayout::OpeningTag(bool draw)
{
    const wchar_t letter = m_p[1];
    LPCWSTR param = SkipBlanks(m_p + 2);
    switch (letter) {
    case L'a':
        OpenLink(draw, param);
        break;
    case L'b':
        PushVariant(true, false, false);
        break;
    case L'c': {
        LPCWSTR digits = param;
        if (*digits == L'#')
            ++digits;
        // The full unsigned ARGB value: an eight-digit colour must not saturate.
        const DWORD color = static_cast<DWORD>(wcstoul(digits, nullptr, 16));
        m_colors.push_back(color);
        ::SetTextColor(m_hDC, ToColorRef(color));
        break;
    }
    case L'f': {
        if (*param >= L'0' && *param <= L'9') {
            PushFont(m_manager->GetFontInfo(_wtoi(param)));
            break;
        }
        LPCWSTR faceEnd = param;
        while (*faceEnd != L'\0' && *faceEnd != L' ' && !IsCloser(*faceEnd))
            ++faceEnd;
        const CUIString face(param, static_cast<int>(faceEnd - param));
        LPCWSTR rest = faceEnd;
        int size = 10;
        LPCWSTR afterBlanks = SkipBlanks(rest);
        if (*afterBlanks >= L'0' && *afterBlanks <= L'9')
            size = ReadInt(rest);
        CUIString styles(rest, static_cast<int>(TagEnd(rest) - rest));
        styles.MakeLower();
        PushFont(FindOrAddFont(face, size, styles.Find(L"bold") >= 0, styles.Find(L"underline") >= 0,
                               styles.Find(L"italic") >= 0));
        break;
    }
    case L'i':
        if (IsCloser(*param) || *param == L'\0') {
            PushVariant(false, false, true);
        } else {
            Image(draw, param);
            return;
        }
        break;
    case L'n':
        if ((m_style & DT_SINGLELINE) == 0)
            m_lineEnd = true;
        break;
    case L'p': {
        if (m_x > m_rc.left)
            m_lineEnd = true;
        LPCWSTR q = param;
        const int extra = IsCloser(*q) ? 0 : std::clamp(ReadInt(q), 0, kMaxLineExtent);
        m_paragraphs.push_back(extra);
        GrowLineHeight();
        break;
    }
    case L'r':
        m_raw = true;
        break;
    case L's':
        m_selected = !m_selected;
        break;
    case L'u':
        PushVariant(false, true, false);
        break;
    case L'x': {
        // Along the line only: from its left edge to its right edge.
        LPCWSTR q = param;
        const long long x = static_cast<long long>(m_x) + ReadInt(q);
        m_x = static_cast<int>(std::clamp<long long>(x, m_rc.left, std::max(m_rc.left, m_rc.right)));
        break;
    }
    case L'y': {
        LPCWSTR q = param;
        m_cyLine = std::clamp(ReadInt(q), 0, kMaxLineExtent);
        break;
    }
    default:
        break;
    }
    m_p = SkipTag(m_p);
}

void HtmlLayout::ClosingTag(bool draw)
{
    switch (m_p[2]) {
    case L'a':
        CloseLink(draw);
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        break;
    case L'c':
        if (!m_colors.empty())
            m_colors.pop_back();
        ::SetTextColor(m_hDC, ToColorRef(CurrentColor()));
        break;
    case L'p':
        if (m_x > m_rc.left)
            m_lineEnd = true;
        if (!m_paragraphs.empty())
            m_paragraphs.pop_back();
        GrowLineHeight();
        break;
    case L's':
        m_selected = !m_selected;
        break;
    default:
        break;
    }
    m_p = SkipTag(m_p);
}

void HtmlLayout::Image(bool draw, LPCWSTR param)
{
    const LPCWSTR tagEnd = TagEnd(param);
    const CUIString inside(param, static_cast<int>(tagEnd - param));
    CUIString name;
    CUIString type;
    LPCWSTR p = param;
    if (inside.Find(L"file='") >= 0 || inside.Find(L"res='") >= 0) {
        while (p < tagEnd) {
            LPCWSTR eq = p;
            while (eq < tagEnd && *eq != L'=' && *eq != L' ')
                ++eq;
            if (eq >= tagEnd || eq[0] != L'=' || eq[1] != L'\'')
                break;
            const CUIString key(p, static_cast<int>(eq - p));
            LPCWSTR value = eq + 2;
            LPCWSTR close = value;
            while (close < tagEnd && *close != L'\'')
                ++close;
            if (close >= tagEnd)
                break;
            const CUIString text(value, static_cast<int>(close - value));
            if (!text.IsEmpty()) {
                if (key == L"file" || key == L"res")
                    name = text;
                else if (key == L"restype")
                    type = text;
            }
            p = close + 1;
            if (*p != L' ')
                break;
            ++p;
        }
    } else {
        LPCWSTR nameEnd = p;
        while (nameEnd < tagEnd && *nameEnd != L' ')
            ++nameEnd;
        name.Assign(p, static_cast<int>(nameEnd - p));
        p = nameEnd;
    }
    int count = 1;
    int index = 0;
    if (*SkipBlanks(p) >= L'0' && *SkipBlanks(p) <= L'9') {
        count = std::max(ReadInt(p), 1);
        if (*SkipBlanks(p) >= L'0' && *SkipBlanks(p) <= L'9')
            index = ReadInt(p);
    }
    if (index < 0 || index >= count)
        index = 0;

    const UIImageInfo* image =
        name.IsEmpty() ? nullptr : m_manager->LoadImageCached(name, type.IsEmpty() ? nullptr : type.GetData(), 0);
    if (image == nullptr || image->bitmap == nullptr) {
        m_p = SkipTag(m_p);
        return;
    }
    const int cell = image->width / count;
    const int height = image->height;
    if (m_x + cell > m_rc.right && m_x > m_rc.left && (m_style & DT_SINGLELINE) == 0) {
        // Tried again at the start of the next line.
        m_lineEnd = true;
        return;
    }
    if (draw) {
        const int line = m_measuredLine;
        RECT dest = {m_x + m_lineOffset, m_y + line - height, m_x + m_lineOffset + cell, m_y + line};
        if (height < line) {
            const int up = (line - height) / 2;
            dest.top -= up;
            dest.bottom -= up;
        }
        const RECT source = {cell * index, 0, cell * (index + 1), height};
        const RECT noCorner = {0, 0, 0, 0};
        CUIRender::DrawImage(m_hDC, image->bitmap, dest, dest, source, noCorner, image->alpha, 255, false, false,
                             false);
    }
    m_cyLine = std::max(m_cyLine, height);
    m_x += cell;
    m_minHeight = std::max(m_minHeight, m_y + height);
    m_p = SkipTag(m_p);
}

} // namespace

// --- plain text ---

void CUIRender::DrawText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                         UINT style)
{
    if (text == nullptr || manager == nullptr)
        return;
    if (manager->IsLayered() || manager->IsUseGdiplusText()) {
        DrawTextGdiplus(hDC, manager, rc, text, color, font, style);
        return;
    }
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(color));
    SelectGuard selectFont(hDC, manager->GetFont(font));
    if (LPCWSTR entity = wcsstr(text, L"&#x")) {
        // An icon-font glyph: only the character the entity encodes is drawn.
        const wchar_t ch = EntityChar(entity);
        ::DrawTextW(hDC, &ch, 1, &rc, style);
        return;
    }
    ::DrawTextW(hDC, text, -1, &rc, style);
}

void CUIRender::DrawTextWithBackground(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text,
                                       DWORD textColor, int font, UINT style, DWORD bkColor)
{
    if (text == nullptr || manager == nullptr)
        return;
    DrawColor(hDC, rc, bkColor);
    DrawText(hDC, manager, rc, text, textColor, font, style);
}

SIZE CUIRender::GetTextSize(HDC hDC, CPaintManagerUI* manager, LPCWSTR text, int font)
{
    SIZE size = {0, 0};
    if (text == nullptr || manager == nullptr)
        return size;
    ::SetBkMode(hDC, TRANSPARENT);
    SelectGuard selectFont(hDC, manager->GetFont(font));
    ::GetTextExtentPoint32W(hDC, text, static_cast<int>(wcslen(text)), &size);
    return size;
}

// --- markup ---

void CUIRender::DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                             RECT* linkRects, CUIString* linkTexts, int& linkCount, int font, UINT style)
{
    const int capacity = linkCount;
    if (text == nullptr || manager == nullptr || ::IsRectEmpty(&rc)) {
        linkCount = 0;
        return;
    }
    const bool calc = (style & DT_CALCRECT) != 0;
    DcStateGuard keepDc(hDC);
    CUIClipGuard clip;
    if (!calc)
        CUIClipGuard::GenerateClip(hDC, rc, clip);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetBkColor(hDC, ToColorRef(manager->GetSelectedColor()));

    if (!calc && (style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        // Multi-line text is measured at its own width, so wrapping counts in its height.
        const bool single = (style & DT_SINGLELINE) != 0;
        RECT measured = {0, 0, single ? 9999 : rc.right - rc.left, single ? 100 : 9999};
        int none = 0;
        DrawHtmlText(hDC, manager, measured, text, color, nullptr, nullptr, none, font, style | DT_CALCRECT);
        const int width = measured.right - measured.left;
        const int height = measured.bottom - measured.top;
        if (single) {
            if ((style & DT_CENTER) != 0) {
                rc.left = (rc.right - rc.left) / 2 + rc.left - width / 2;
                rc.right = rc.left + width;
            } else if ((style & DT_RIGHT) != 0) {
                rc.left = rc.right - width;
            }
        }
        if ((style & DT_VCENTER) != 0) {
            rc.top = (rc.bottom - rc.top) / 2 + rc.top - height / 2;
            rc.bottom = rc.top + height;
        } else if ((style & DT_BOTTOM) != 0) {
            rc.top = rc.bottom - height;
        }
    }

    HtmlLayout layout(hDC, manager, rc, color, linkRects, linkTexts, capacity, font, style);
    if (linkRects != nullptr && linkTexts != nullptr) {
        const POINT mouse = manager->GetMousePos();
        for (int i = 0; i < capacity; ++i) {
            if (::PtInRect(&linkRects[i], mouse)) {
                layout.SetHoverText(linkTexts[i]);
                break;
            }
        }
    }
    layout.Run(text);
    linkCount = layout.LinkCount();
    if (calc) {
        const RECT result = layout.CalcResult();
        rc.right = result.right;
        rc.bottom = result.bottom;
    }
}

} // namespace ZvUI
