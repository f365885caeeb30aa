// Paint manager resources: fonts (also from a font file in a zip), default colours,
// class defaults, styles and window attributes, per manager and process-wide.
#include <gtest/gtest.h>

#include <string>

#include "ManagerTestSupport.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;
using zvtest::TestWindow;

#ifndef ZV_FONT_DIR
#error "ZV_FONT_DIR names the folder with zvplain.ttf and fonts.zip"
#endif

namespace {

// The face GDI actually chose for a font.
std::wstring FaceOf(HFONT font)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return face;
}

std::wstring FaceOfName(const wchar_t* name)
{
    // GDI keeps the face it chose for a LOGFONT; a new height each time asks afresh.
    static int call = 0;
    LOGFONTW lf = {};
    lf.lfHeight = -(10 + (call++ % 40));
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, name, LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&lf);
    std::wstring face = FaceOf(font);
    ::DeleteObject(font);
    return face;
}

LOGFONTW LogFontOf(HFONT font)
{
    LOGFONTW lf = {};
    ::GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

std::wstring FontDir()
{
    return ZV_FONT_DIR;
}

} // namespace

// --- fonts ---

TEST(Fonts, AddFontBuildsTheFontScaledAndMeasuresIt)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.GetDpiHelper()->SetScale(144);
    HFONT font = m.AddFont(3, L"DejaVu Sans", 12, true, true, false);
    ASSERT_NE(font, nullptr);
    const LOGFONTW lf = LogFontOf(font);
    EXPECT_EQ(lf.lfHeight, -18);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, L"DejaVu Sans");
    EXPECT_EQ(FaceOf(font), L"DejaVu Sans");
    UIFontInfo* info = m.GetFontInfo(3);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->handle, font);
    EXPECT_EQ(info->size, 12);
    EXPECT_TRUE(info->bold);
    EXPECT_TRUE(info->underline);
    EXPECT_GT(info->metrics.tmHeight, 0);
    EXPECT_EQ(m.GetFont(3), font);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 12, true, true, false), font);
    EXPECT_EQ(m.GetFont(L"dejavu sans", 12, true, true, false), nullptr);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 12, false, true, false), nullptr);
    EXPECT_EQ(m.GetFontIndex(font), 3);
    EXPECT_EQ(m.GetFontIndex(L"DejaVu Sans", 12, true, true, false), 3);
    EXPECT_EQ(m.GetFontIndex(font, true), -1);
    EXPECT_EQ(m.GetFontInfo(font), info);
    m.GetDpiHelper()->SetScale(96);
}

TEST(Fonts, SameIdReplacesTheOldFont)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    HFONT first = m.AddFont(1, L"DejaVu Sans", 10, false, false, false);
    HFONT second = m.AddFont(1, L"DejaVu Serif", 14, false, false, true);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(m.GetFontCount(), 1);
    EXPECT_EQ(m.GetFont(1), second);
    // The first GDI font was deleted.
    EXPECT_EQ(::GetObjectType(first), 0u);
    m.RemoveFont(second);
    EXPECT_EQ(m.GetFontCount(), 0);
    EXPECT_EQ(::GetObjectType(second), 0u);
}

TEST(Fonts, UnknownOrNegativeIdsGiveTheDefaultFont)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    UIFontInfo& shared = CPaintManagerUI::GetSharedResources().defaultFont;
    // A manager without its own default face uses the shared default font.
    EXPECT_EQ(m.GetDefaultFontInfo(), &shared);
    EXPECT_FALSE(shared.faceName.IsEmpty());
    EXPECT_GT(shared.metrics.tmHeight, 0);
    EXPECT_EQ(m.GetFont(-1), shared.handle);
    EXPECT_EQ(m.GetFont(77), shared.handle);
    EXPECT_EQ(m.GetFontInfo(77), &shared);
    LOGFONTW stock = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    EXPECT_STREQ(shared.faceName, stock.lfFaceName);
    EXPECT_EQ(shared.size, -stock.lfHeight);

    m.SetDefaultFont(L"DejaVu Sans", 11, true, false, false);
    UIFontInfo* own = m.GetDefaultFontInfo();
    EXPECT_NE(own, &shared);
    EXPECT_STREQ(own->faceName, L"DejaVu Sans");
    EXPECT_EQ(m.GetFont(-1), own->handle);
    // Bold adds to the stock weight.
    EXPECT_EQ(LogFontOf(own->handle).lfWeight, stock.lfWeight + FW_BOLD);
    // The default font survives attaching the window again.
    m.AddFont(4, L"DejaVu Sans", 9, false, false, false);
    m.AttachWindow(window.hwnd());
    EXPECT_EQ(m.GetFontCount(), 0);
    EXPECT_EQ(m.GetDefaultFontInfo(), own);
}

TEST(Fonts, LookupsTryTheManagerThenTheSharedSet)
{
    TestWindow window;
    TestWindow other(600, 100);
    CPaintManagerUI& m = window.manager();
    HFONT sharedFont = m.AddFont(20, L"DejaVu Serif", 10, false, false, false, true);
    EXPECT_EQ(m.GetFontCount(), 0);
    EXPECT_EQ(m.GetFontCount(true), 1);
    // Any manager finds a shared font.
    EXPECT_EQ(other.manager().GetFont(20), sharedFont);
    EXPECT_EQ(other.manager().GetFontInfo(sharedFont)->handle, sharedFont);
    HFONT ownFont = m.AddFont(20, L"DejaVu Sans", 10, false, false, false);
    EXPECT_EQ(m.GetFont(20), ownFont);
    EXPECT_EQ(other.manager().GetFont(20), sharedFont);
    EXPECT_EQ(m.GetFont(L"DejaVu Serif", 10, false, false, false), sharedFont);
    EXPECT_EQ(m.GetFontIndex(sharedFont, true), 20);
    m.RemoveFont(20);
    EXPECT_EQ(m.GetFont(20), sharedFont);
    m.RemoveAllFonts(true);
    EXPECT_EQ(m.GetFontCount(true), 0);
    EXPECT_EQ(::GetObjectType(sharedFont), 0u);
}

TEST(Fonts, UseSharedFlagSendsEveryAddToTheSharedSet)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.SetUseSharedResources(true);
    m.AddFont(30, L"DejaVu Sans", 10, false, false, false);
    m.AddFont(31, L"DejaVu Sans", 10, false, false, false, true);
    m.AddStyle(L"sharedstyle", L"text=\"s\"");
    m.AddClassDefaults(L"SharedClass", L"width=\"3\"");
    EXPECT_EQ(m.GetFontCount(), 0);
    EXPECT_EQ(m.GetFontCount(true), 2);
    EXPECT_NE(CPaintManagerUI::GetSharedResources().styles.Find(L"sharedstyle"), nullptr);
    EXPECT_NE(CPaintManagerUI::GetSharedResources().classDefaults.Find(L"SharedClass"), nullptr);
    m.SetUseSharedResources(false);
    m.RemoveAllFonts(true);
    m.RemoveAllStyles(true);
    m.RemoveAllClassDefaults(true);
}

TEST(Fonts, FaceNamesAreCutTo31Characters)
{
    TestWindow window;
    const wchar_t* longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";
    HFONT font = window.manager().AddFont(2, longFace, 10, false, false, false);
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(LogFontOf(font).lfFaceName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
    EXPECT_STREQ(window.manager().GetFontInfo(2)->faceName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
}

TEST(Fonts, FaceLookupFollowsEveryAddAndRemove)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    HFONT a = m.AddFont(1, L"DejaVu Sans", 10, false, false, false);
    HFONT twin = m.AddFont(2, L"DejaVu Sans", 10, false, false, false);
    HFONT shared = m.AddFont(40, L"DejaVu Sans", 10, false, false, false, true);
    const HFONT first = m.GetFont(L"DejaVu Sans", 10, false, false, false);
    EXPECT_TRUE(first == a || first == twin);
    // The equal font under the other id is found once the first one goes, then the shared one.
    m.RemoveFont(first);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 10, false, false, false), first == a ? twin : a);
    m.RemoveFont(first == a ? 2 : 1);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 10, false, false, false), shared);
    m.RemoveAllFonts(true);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 10, false, false, false), nullptr);

    // An id taken again by another face: the old face is gone, the new one found.
    m.AddFont(3, L"DejaVu Sans", 12, true, false, false);
    HFONT serif = m.AddFont(3, L"DejaVu Serif", 12, true, false, false);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans", 12, true, false, false), nullptr);
    EXPECT_EQ(m.GetFont(L"DejaVu Serif", 12, true, false, false), serif);

    // Fonts put into the map or taken out of it by hand: a freed one is never answered, a new
    // one is found.
    CUIStringMap* fonts = m.GetFontMap();
    auto byHand = [](LPCWSTR face, int size) {
        auto* info = new UIFontInfo;
        info->handle = ::CreateFontW(-size, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        info->faceName = face;
        info->size = size;
        return info;
    };
    auto* old = static_cast<UIFontInfo*>(fonts->Find(L"3", false));
    ASSERT_NE(old, nullptr);
    fonts->Remove(L"3");
    ::DeleteObject(old->handle);
    delete old;
    UIFontInfo* mono = byHand(L"DejaVu Sans Mono", 9);
    ASSERT_TRUE(fonts->Insert(L"3", mono));
    EXPECT_EQ(m.GetFont(L"DejaVu Serif", 12, true, false, false), nullptr);
    EXPECT_EQ(m.GetFont(L"DejaVu Sans Mono", 9, false, false, false), mono->handle);
    UIFontInfo* added = byHand(L"DejaVu Sans Mono", 11);
    ASSERT_TRUE(fonts->Insert(L"8", added));
    EXPECT_EQ(m.GetFont(L"DejaVu Sans Mono", 11, false, false, false), added->handle);
    m.AttachWindow(window.hwnd());
    EXPECT_EQ(m.FindFontInfo(L"DejaVu Sans", 10, false, false, false), nullptr);
}

TEST(Fonts, FindFontInfoTakesTheFaceAsAddFontKeepsIt)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    const wchar_t* longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";
    m.AddFont(5, longFace, 10, false, false, false);
    m.AddFont(6, L"", 11, false, true, false);
    UIFontInfo* cut = m.FindFontInfo(longFace, 10, false, false, false);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut, m.GetFontInfo(5));
    EXPECT_GT(cut->metrics.tmHeight, 0);
    EXPECT_EQ(m.FindFontInfo(L"", 11, false, true, false), m.GetFontInfo(6));
    EXPECT_EQ(m.FindFontInfo(nullptr, 11, false, true, false), m.GetFontInfo(6));
    // GetFont compares the face as given.
    EXPECT_EQ(m.GetFont(longFace, 10, false, false, false), nullptr);
    EXPECT_EQ(m.FindFontInfo(longFace, 10, true, false, false), nullptr);
}

TEST(Fonts, FreeFontIdSkipsTakenIdsUntilAFontLeaves)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.AddFont(100, L"DejaVu Sans", 10, false, false, false);
    m.AddFont(101, L"DejaVu Sans", 11, false, false, false, true);
    EXPECT_EQ(m.FindFreeFontId(100, 4), 102);
    EXPECT_EQ(m.FindFreeFontId(100, 4), 102) << "asked again, the free id is still free";
    m.AddFont(102, L"DejaVu Sans", 12, false, false, false);
    m.AddFont(103, L"DejaVu Sans", 13, false, false, false);
    EXPECT_EQ(m.FindFreeFontId(100, 4), -1);
    EXPECT_EQ(m.FindFreeFontId(100, 5), 104);
    // A font leaving either set makes its id free again.
    m.RemoveFont(101, true);
    EXPECT_EQ(m.FindFreeFontId(100, 4), 101);
    m.AddFont(101, L"DejaVu Sans", 11, false, false, false);
    m.RemoveFont(102);
    EXPECT_EQ(m.FindFreeFontId(100, 4), 102);
    m.RemoveAllFonts();
    EXPECT_EQ(m.FindFreeFontId(100, 4), 100);
}

TEST(Fonts, FontFileFromTheResourceFolderAndFromAZip)
{
    ASSERT_NE(FaceOfName(L"Zv Plain Face"), L"Zv Plain Face");
    ASSERT_NE(FaceOfName(L"Zv Zip Face"), L"Zv Zip Face");
    {
        TestWindow window;
        CPaintManagerUI& m = window.manager();
        // A plain file in the resource folder.
        CPaintManagerUI::SetResourceFolder(FontDir().c_str());
        CPaintManagerUI::SetResourceArchive(L"");
        m.AddFontFile(L"zvplain.ttf");
        EXPECT_EQ(m.GetFontFileCount(), 1);
        HFONT plain = m.AddFont(1, L"Zv Plain Face", 12, false, false, false);
        EXPECT_EQ(FaceOf(plain), L"Zv Plain Face");

        // An item of the archive, named with a backslash; the archive opened for this read only.
        CPaintManagerUI::SetResourceArchive(L"fonts.zip");
        m.AddFontFile(L"fonts\\zvzip.ttf");
        EXPECT_EQ(m.GetFontFileCount(), 2);
        HFONT zipped = m.AddFont(2, L"Zv Zip Face", 12, false, false, false);
        EXPECT_EQ(FaceOf(zipped), L"Zv Zip Face");
        // Any GDI call of the process sees it.
        EXPECT_EQ(FaceOfName(L"Zv Zip Face"), L"Zv Zip Face");

        // A missing item registers nothing; a plain path is the last resort.
        m.AddFontFile(L"fonts\\missing.ttf");
        EXPECT_EQ(m.GetFontFileCount(), 2);
        const std::wstring path = FontDir() + L"\\zvplain.ttf";
        m.AddFontFile(path.c_str());
        EXPECT_EQ(m.GetFontFileCount(), 3);
        CPaintManagerUI::SetResourceArchive(L"");
        CPaintManagerUI::SetResourceFolder(L"");
    }
    // The manager hands its font files back with RemoveFontMemResourceEx when it goes; Wine 8
    // keeps memory fonts until the process ends, so the face stays findable here.
}

TEST(Fonts, FontFileFromACachedArchive)
{
    TestWindow window;
    CPaintManagerUI::SetResourceFolder(FontDir().c_str());
    CPaintManagerUI::SetResourceArchive(L"fonts.zip", true);
    ASSERT_NE(CPaintManagerUI::GetResourceArchiveHandle(), nullptr);
    window.manager().AddFontFile(L"fonts/zvzip.ttf");
    EXPECT_EQ(window.manager().GetFontFileCount(), 1);
    EXPECT_EQ(FaceOfName(L"Zv Zip Face"), L"Zv Zip Face");
    // The cached handle stays open for the next reader.
    EXPECT_NE(CPaintManagerUI::GetResourceArchiveHandle(), nullptr);
    CPaintManagerUI::SetResourceArchive(L"");
    CPaintManagerUI::SetResourceFolder(L"");
}

// --- colours ---

TEST(Colors, ManagersStartWithTheSharedColours)
{
    CPaintManagerUI m;
    EXPECT_EQ(m.GetDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(m.GetTextColor(), 0xFF000000u);
    EXPECT_EQ(m.GetLinkColor(), 0xFF0000FFu);
    EXPECT_EQ(m.GetLinkHoverColor(), 0xFFD3215Fu);
    EXPECT_EQ(m.GetSelectedColor(), 0xFFBAE4FFu);
}

TEST(Colors, SharedSetterMovesOnlyManagersThatStillHadTheSharedValue)
{
    CPaintManagerUI following;
    CPaintManagerUI own;
    CPaintManagerUI bystander;
    own.SetDisabledColor(0xFF112233);
    EXPECT_EQ(CPaintManagerUI::GetSharedResources().disabledColor, 0xFFA7A6AAu);
    following.SetDisabledColor(0xFF445566, true);
    EXPECT_EQ(following.GetDisabledColor(), 0xFF445566u);
    EXPECT_EQ(CPaintManagerUI::GetSharedResources().disabledColor, 0xFF445566u);
    own.SetDisabledColor(0xFF778899, true);
    EXPECT_EQ(own.GetDisabledColor(), 0xFF112233u);
    EXPECT_EQ(CPaintManagerUI::GetSharedResources().disabledColor, 0xFF778899u);
    // Other managers keep the values they copied at construction.
    EXPECT_EQ(bystander.GetDisabledColor(), 0xFFA7A6AAu);
    // A manager made now copies the current shared value.
    CPaintManagerUI late;
    EXPECT_EQ(late.GetDisabledColor(), 0xFF778899u);

    following.SetTextColor(0xFF010203, true);
    following.SetLinkColor(0xFF010204, true);
    following.SetLinkHoverColor(0xFF010205, true);
    following.SetSelectedColor(0xFF010206, true);
    EXPECT_EQ(following.GetSelectedColor(), 0xFF010206u);
    EXPECT_EQ(CPaintManagerUI::GetSharedResources().linkHoverColor, 0xFF010205u);
    // Put the shared defaults back for the other tests.
    following.SetDisabledColor(0xFFA7A6AA, true);
    following.SetTextColor(0xFF000000, true);
    following.SetLinkColor(0xFF0000FF, true);
    following.SetLinkHoverColor(0xFFD3215F, true);
    following.SetSelectedColor(0xFFBAE4FF, true);
}

// --- class defaults, styles, window attributes ---

TEST(ClassDefaults, LastListWinsAndTheManagerComesFirst)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.AddClassDefaults(L"VScrollBar", L"width=\"8\"", true);
    EXPECT_STREQ(m.GetClassDefaults(L"VScrollBar"), L"width=\"8\"");
    m.AddClassDefaults(L"VScrollBar", L"width=\"10\"");
    m.AddClassDefaults(L"VScrollBar", L"width=\"12\"");
    EXPECT_STREQ(m.GetDefaultAttributeList(L"VScrollBar"), L"width=\"12\"");
    CPaintManagerUI other;
    EXPECT_STREQ(other.GetClassDefaults(L"VScrollBar"), L"width=\"8\"");
    EXPECT_EQ(m.GetClassDefaults(L"Nothing"), nullptr);
    EXPECT_TRUE(m.RemoveClassDefaults(L"VScrollBar"));
    EXPECT_FALSE(m.RemoveClassDefaults(L"VScrollBar"));
    EXPECT_STREQ(m.GetClassDefaults(L"VScrollBar"), L"width=\"8\"");
    EXPECT_EQ(m.GetClassDefaultsMap(true)->GetSize(), 1);
    m.RemoveAllClassDefaults(true);
    EXPECT_EQ(m.GetClassDefaults(L"VScrollBar"), nullptr);
}

TEST(Styles, FirstTextWinsAndTheManagerComesFirst)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.AddStyle(L"big", L"font=\"2\"", true);
    m.AddStyle(L"big", L"font=\"9\"", true);
    EXPECT_STREQ(m.GetStyle(L"big"), L"font=\"2\"");
    m.AddStyle(L"big", L"font=\"5\"");
    EXPECT_STREQ(m.GetStyle(L"big"), L"font=\"5\"");
    EXPECT_TRUE(m.RemoveStyle(L"big"));
    EXPECT_TRUE(m.RemoveStyle(L"absent"));
    EXPECT_STREQ(m.GetStyle(L"big"), L"font=\"2\"");
    EXPECT_EQ(m.GetStyleMap(true)->GetSize(), 1);
    m.RemoveAllStyles(true);
    EXPECT_EQ(m.GetStyle(L"big"), nullptr);

    // A control's "style" attribute reads the manager's style.
    m.AddStyle(L"tip", L"tooltip=\"from style\"");
    zvtest::TestControl control(L"styled");
    control.SetManager(&m, nullptr, false);
    control.SetAttribute(L"style", L"tip");
    EXPECT_STREQ(control.GetToolTip(), L"from style");
    control.SetManager(nullptr, nullptr, false);
}

TEST(WindowAttributes, FirstValueWinsAndEmptyIsRefused)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.SetWindowAttribute(L"skin", L"blue");
    m.SetWindowAttribute(L"skin", L"red");
    EXPECT_STREQ(m.GetWindowAttribute(L"skin"), L"blue");
    m.SetWindowAttribute(L"empty", L"");
    m.SetWindowAttribute(L"", L"x");
    m.SetWindowAttribute(nullptr, L"x");
    EXPECT_EQ(m.GetWindowAttribute(L"empty"), nullptr);
    EXPECT_EQ(m.GetWindowAttribute(L""), nullptr);
    EXPECT_EQ(m.GetWindowAttribute(nullptr), nullptr);
    EXPECT_FALSE(m.RemoveWindowAttribute(L""));
    EXPECT_FALSE(m.RemoveWindowAttribute(L"absent"));
    EXPECT_TRUE(m.RemoveWindowAttribute(L"skin"));
    EXPECT_EQ(m.GetWindowAttribute(L"skin"), nullptr);
    m.SetWindowAttribute(L"a", L"1");
    m.RemoveAllWindowAttributes();
    EXPECT_EQ(m.GetWindowAttribute(L"a"), nullptr);
}

TEST(Resources, AttachingEmptiesTheManagersOwnSetOnly)
{
    TestWindow window;
    CPaintManagerUI& m = window.manager();
    m.AddFont(1, L"DejaVu Sans", 10, false, false, false);
    m.AddFont(2, L"DejaVu Sans", 11, false, false, false, true);
    m.AddStyle(L"s", L"x=\"1\"");
    m.AddStyle(L"t", L"x=\"2\"", true);
    m.AddClassDefaults(L"C", L"y=\"1\"");
    m.SetWindowAttribute(L"w", L"v");
    m.AttachWindow(window.hwnd(), L"again");
    EXPECT_STREQ(m.GetName(), L"again");
    EXPECT_EQ(m.GetFontCount(), 0);
    EXPECT_EQ(m.GetStyle(L"s"), nullptr);
    EXPECT_EQ(m.GetClassDefaults(L"C"), nullptr);
    EXPECT_EQ(m.GetWindowAttribute(L"w"), nullptr);
    EXPECT_EQ(m.GetFontCount(true), 1);
    EXPECT_NE(m.GetStyle(L"t"), nullptr);
    m.RemoveAllFonts(true);
    m.RemoveAllStyles(true);
    // The manager is listed once.
    int listed = 0;
    for (int i = 0; i < CPaintManagerUI::GetAllManagers()->GetSize(); ++i)
        listed += CPaintManagerUI::GetAllManagers()->GetAt(i) == &m ? 1 : 0;
    EXPECT_EQ(listed, 1);
}

TEST(Resources, ClientSizeIsTheClientRectangle)
{
    TestWindow window(100, 100, 320, 240);
    const SIZE size = window.manager().GetClientSize();
    EXPECT_EQ(size.cx, 320);
    EXPECT_EQ(size.cy, 240);
    CPaintManagerUI detached;
    EXPECT_EQ(detached.GetClientSize().cx, 0);
}
