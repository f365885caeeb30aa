// Control factory and layout builder: class names in any case, elements, attributes, includes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "builder/ControlFactory.h"
#include "builder/DialogBuilder.h"
#include "control/ButtonUI.h"
#include "control/ControlUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "layout/ContainerUI.h"
#include "layout/TabLayoutUI.h"
#include "manager/PaintManagerUI.h"
#include "manager/UIResources.h"
#include "render/UIImageInfo.h"
#include "render/UIRender.h"
#include "resource/UIResourceTable.h"

using namespace ZvUI;

namespace {

// --- factory ---

struct FactoryCase {
    const wchar_t* name;
    const wchar_t* cls;  // null: not created
};

TEST(ControlFactory, CreatesBuiltInClassesInAnyCase)
{
    const FactoryCase cases[] = {
        {L"CVerticalLayoutUI", L"VerticalLayoutUI"}, {L"cverticallayoutui", L"VerticalLayoutUI"},
        {L"CBUTTONUI", L"ButtonUI"}, {L"CLabelUI", L"LabelUI"}, {L"CTextUI", L"TextUI"},
        {L"CControlUI", L"ControlUI"}, {L"CContainerUI", L"ContainerUI"},
        {L"CHorizontalLayoutUI", L"HorizontalLayoutUI"}, {L"CTabLayoutUI", L"TabLayoutUI"},
        {L"CTileLayoutUI", L"TileLayoutUI"}, {L"CChildLayoutUI", L"ChildLayoutUI"},
        {L"CProgressUI", L"ProgressUI"}, {L"CScrollBarUI", L"ScrollBarUI"},
        {L"COptionUI", L"OptionUI"}, {L"ccheckboxui", L"CheckBoxUI"},
        {L"VerticalLayout", nullptr}, {L"Button", nullptr}, {L"", nullptr}, {L"CNoSuchUI", nullptr}};
    for (const FactoryCase& c : cases) {
        CControlUI* control = CControlFactory::GetInstance()->CreateControl(c.name);
        if (c.cls == nullptr) {
            EXPECT_EQ(control, nullptr) << c.name;
        } else {
            ASSERT_NE(control, nullptr) << c.name;
            EXPECT_STREQ(control->GetClass(), c.cls) << c.name;
        }
        delete control;
    }
}

TEST(ControlFactory, CreatesEveryClassOfTheFramework)
{
    // All 47 classes a layout may name; each answers its class name without the leading C, but
    // for the two extended-list classes whose names were given otherwise.
    const wchar_t* names[] = {
        L"CControlUI", L"CContainerUI", L"CButtonUI", L"CLabelUI", L"COptionUI", L"CCheckBoxUI",
        L"CProgressUI", L"CScrollBarUI", L"CTextUI", L"CChildLayoutUI", L"CHorizontalLayoutUI",
        L"CTabLayoutUI", L"CTileLayoutUI", L"CVerticalLayoutUI", L"CComboUI", L"CComboBoxUI",
        L"CDateTimeUI", L"CEditUI", L"CGifAnimUI", L"CIPAddressUI", L"CIPAddressExUI", L"CListUI",
        L"CListHeaderUI", L"CListHeaderItemUI", L"CListLabelElementUI", L"CListTextElementUI",
        L"CListContainerElementUI", L"COptionMultiLineUI", L"CRichEditUI", L"CSliderUI",
        L"CTreeNodeUI", L"CTreeViewUI", L"CActiveXUI", L"CFlashUI", L"CGroupBoxUI", L"CMenuUI",
        L"CMenuElementUI", L"CWebBrowserUI", L"CAnimationTabLayoutUI", L"CRollTextUI",
        L"CColorPaletteUI", L"CListExUI", L"CListContainerHeaderItemUI", L"CListTextExtElementUI",
        L"CHotKeyUI", L"CFadeButtonUI", L"CRingUI"};
    static_assert(sizeof(names) / sizeof(names[0]) == 47, "the framework has 47 classes");
    for (const wchar_t* name : names) {
        CControlUI* control = CControlFactory::GetInstance()->CreateControl(name);
        ASSERT_NE(control, nullptr) << name;
        const std::wstring expected = std::wstring(name) == L"CListExUI"               ? L"XListUI"
                                      : std::wstring(name) == L"CListTextExtElementUI" ? L"ListTextExElementUI"
                                                                                        : name + 1;
        EXPECT_EQ(control->GetClass(), expected) << name;
        delete control;
    }
}

CControlUI* MakeFirst() { auto* c = new CControlUI(); c->SetName(L"first"); return c; }
CControlUI* MakeSecond() { auto* c = new CControlUI(); c->SetName(L"second"); return c; }

TEST(ControlFactory, RegisteringTwiceKeepsTheFirstCreator)
{
    CControlFactory* factory = CControlFactory::GetInstance();
    factory->RegisterControl(L"CTwiceUI", &MakeFirst);
    factory->RegisterControl(L"ctwiceui", &MakeSecond);
    CControlUI* control = factory->CreateControl(L"CTWICEUI");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetName(), L"first");
    delete control;
}

// --- builder on a real window ---

LRESULT CALLBACK ManagedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (pm != nullptr && pm->HandleWindowMessage(msg, wParam, lParam, result))
        return result;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateManagedWindow(CPaintManagerUI& pm)
{
    static ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ManagedProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZvBuilderTestWindow";
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    HWND hwnd = ::CreateWindowExW(0, L"ZvBuilderTestWindow", L"b", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pm));
    pm.AttachWindow(hwnd);
    return hwnd;
}

void DestroyManagedWindow(HWND hwnd)
{
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
}

class BuilderWindow : public ::testing::Test {
protected:
    void SetUp() override { m_hwnd = CreateManagedWindow(m_pm); }
    void TearDown() override { DestroyManagedWindow(m_hwnd); }
    CControlUI* Build(LPCWSTR xml, IDialogBuilderCallback* cb = nullptr)
    {
        CLayoutBuilder builder;
        CControlUI* root = builder.Create(xml, nullptr, cb, &m_pm, nullptr);
        if (root != nullptr)
            m_pm.SetRootControl(root);
        return root;
    }
    CPaintManagerUI m_pm;
    HWND m_hwnd = nullptr;
};

TEST_F(BuilderWindow, WindowAttributesApplyInAnyCaseExceptTheLayeredFour)
{
    CControlUI* root = Build(
        L"<WINDOW SIZE=\"300,200\" Caption=\"0,0,0,50\" sizeBOX=\"4,5,6,7\" roundcorner=\"3,4\" "
        L"MinInfo=\"80,60\" maxinfo=\"900,700\" SHOWDIRTY=\"TRUE\" Bktrans=\"true\" "
        L"DefaultFontColor=\"#FF112233\" tooltiphovertime=\"250\" ShadowSize=\"5\" showshadow=\"true\">"
        L"<VerticalLayout name=\"root\"/></WINDOW>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(m_pm.GetInitialSize().cx, 300);
    EXPECT_EQ(m_pm.GetInitialSize().cy, 200);
    RECT rcWin;
    ::GetWindowRect(m_hwnd, &rcWin);
    EXPECT_EQ(rcWin.right - rcWin.left, 300);
    const RECT cap = m_pm.GetCaptionRect();
    EXPECT_EQ(cap.bottom, 50);
    const RECT box = m_pm.GetSizeBox();
    EXPECT_EQ(box.left + box.top + box.right + box.bottom, 22);
    EXPECT_EQ(m_pm.GetRoundCorner().cy, 4);
    EXPECT_EQ(m_pm.GetMinInfo().cx, 80);
    EXPECT_EQ(m_pm.GetMaxInfo().cy, 700);
    EXPECT_TRUE(m_pm.IsShowUpdateRect());
    EXPECT_FALSE(m_pm.IsLayeredRequested());  // "Bktrans" is not "bktrans"
    EXPECT_EQ(m_pm.GetTextColor(), 0xFF112233u);
    EXPECT_EQ(m_pm.GetHoverTime(), 250);
    EXPECT_TRUE(m_pm.GetShadow()->IsShadowEnabled());
}

// The window size is the one value the builder stores scaled; the other rectangles scale on reading.
TEST(BuilderDpi, WindowSizeIsScaledOnceAtHighDpi)
{
    struct Case {
        int dpi;
        int cx, cy, captionBottom;
    };
    for (const Case& c : {Case{144, 1050, 630, 75}, Case{192, 1400, 840, 100}}) {
        SCOPED_TRACE(c.dpi);
        CPaintManagerUI::SetGlobalDpi(c.dpi);
        {
            CPaintManagerUI pm;
            HWND hwnd = CreateManagedWindow(pm);
            CLayoutBuilder builder;
            CControlUI* root = builder.Create(
                L"<Window size=\"700,420\" caption=\"0,0,0,50\"><VerticalLayout/></Window>", nullptr, nullptr, &pm,
                nullptr);
            EXPECT_NE(root, nullptr);
            if (root != nullptr)
                pm.SetRootControl(root);
            EXPECT_EQ(pm.GetInitialSize().cx, c.cx);
            EXPECT_EQ(pm.GetInitialSize().cy, c.cy);
            RECT rcWin;
            ::GetWindowRect(hwnd, &rcWin);
            EXPECT_EQ(rcWin.right - rcWin.left, c.cx);
            EXPECT_EQ(rcWin.bottom - rcWin.top, c.cy);
            EXPECT_EQ(pm.GetCaptionRect().bottom, c.captionBottom);
            DestroyManagedWindow(hwnd);
        }
        CPaintManagerUI::SetGlobalDpi(96);
    }
}

TEST_F(BuilderWindow, ChildrenAttributesDefaultsAndTagsInAnyCase)
{
    CControlUI* root = Build(
        L"<Window><Default name=\"Button\" value=\"text=&quot;dflt&quot; width=&quot;40&quot;\"/>"
        L"<Font id=\"3\" name=\"Tahoma\" size=\"14\" default=\"true\"/><Font name=\"x\" size=\"30\"/>"
        L"<Style name=\"big\" value=\"height=&quot;33&quot;\"/>"
        L"<verticallayout NAME=\"root\"><HorizontalLayout name=\"row\">"
        L"<Button name=\"a\"/><Button name=\"b\" Text=\"own\"/><BUTTON name=\"c2\"/><Label name=\"l\" style=\"big\"/>"
        L"</HorizontalLayout><Unknown name=\"u\"><Label name=\"lost\"/></Unknown></verticallayout>"
        L"<Label name=\"second\"/></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"root");
    CControlUI* a = m_pm.FindControl(L"a");
    CControlUI* b = m_pm.FindControl(L"b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(a->GetClass(), L"ButtonUI");
    EXPECT_EQ(a->GetText(), L"dflt");
    EXPECT_EQ(b->GetText(), L"own");
    EXPECT_EQ(b->GetFixedWidth(), 40);
    EXPECT_EQ(b->GetParent(), m_pm.FindControl(L"row"));
    // Class defaults are looked up under the tag as written.
    ASSERT_NE(m_pm.FindControl(L"c2"), nullptr);
    EXPECT_STREQ(m_pm.FindControl(L"c2")->GetClass(), L"ButtonUI");
    ASSERT_NE(m_pm.FindControl(L"l"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"l")->GetFixedHeight(), 33);
    EXPECT_EQ(m_pm.FindControl(L"u"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"lost"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"second"), nullptr);  // built, attached nowhere
    EXPECT_NE(m_pm.GetFontInfo(3), nullptr);
    EXPECT_EQ(m_pm.GetFontCount(), 1);
}

class TagRecorder : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR tag) override
    {
        tags += tag;
        tags += L";";
        if (wcscmp(tag, L"MyThing") != 0)
            return nullptr;
        auto* c = new CControlUI();
        return c;
    }
    std::wstring tags;
};

TEST_F(BuilderWindow, UnknownTagsGoToTheCallbackAsWritten)
{
    TagRecorder cb;
    CControlUI* root = Build(L"<Window><VerticalLayout><MyThing name=\"t\"/><mystery/></VerticalLayout></Window>", &cb);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(cb.tags, L"MyThing;mystery;");
    ASSERT_NE(m_pm.FindControl(L"t"), nullptr);
}

TEST_F(BuilderWindow, ParentWithoutContainerEndsTheLevel)
{
    CControlUI* root = Build(L"<Window><VerticalLayout><Label name=\"p\"><Label name=\"c\"/></Label>"
                             L"<Label name=\"after\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    EXPECT_NE(m_pm.FindControl(L"p"), nullptr);
    EXPECT_NE(m_pm.FindControl(L"after"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"c"), nullptr);
}

TEST_F(BuilderWindow, FailuresReturnNullAndApplyNothing)
{
    const wchar_t* bad[] = {L"<Window size=\"300,200\"><VerticalLayout></Window>",
                            L"no-such-file.xml", L"<Window size=\"300,200\"></Window>"};
    for (const wchar_t* xml : bad) {
        CLayoutBuilder builder;
        EXPECT_EQ(builder.Create(xml, nullptr, nullptr, &m_pm, nullptr), nullptr) << xml;
    }
    EXPECT_EQ(m_pm.GetInitialSize().cx, 300);  // the valid, empty layout applied its window
    CLayoutBuilder builder;
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEW(999), L"ZVXML", nullptr, &m_pm, nullptr), nullptr);
}

// --- includes from files ---

std::wstring TempFolder()
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    std::wstring folder = std::wstring(dir) + L"zvbuilder\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteFile(const std::wstring& path, const char* text)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fputs(text, f);
    fclose(f);
}

TEST_F(BuilderWindow, IncludeRepeatsAFileUnderTheCurrentParent)
{
    const std::wstring folder = TempFolder();
    WriteFile(folder + L"item.xml", "<Window><Label text=\"inc\"/></Window>");
    WriteFile(folder + L"main.xml",
              "<Window><VerticalLayout name=\"root\"><Include source=\"item.xml\" count=\"3\"/>"
              "<include SOURCE=\"item.xml\"/><ChildLayout name=\"child\" xmlfile=\"item.xml\"/>"
              "</VerticalLayout></Window>");
    CPaintManagerUI::SetResourceFolder(folder.c_str());
    CControlUI* root = Build(L"main.xml");
    // The child layout builds its own file when the finished tree is attached.
    CControlUI* child = m_pm.FindControl(L"child");
    ASSERT_NE(child, nullptr);
    auto* childItems = static_cast<IContainerUI*>(child->GetInterface(L"IContainer"));
    EXPECT_EQ(childItems->GetCount(), 1);
    CPaintManagerUI::SetResourceFolder(L"");
    ASSERT_NE(root, nullptr);
    auto* container = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->GetCount(), 5);
    EXPECT_EQ(container->GetItemAt(3)->GetText(), L"inc");
}

// Counts the controls alive, so a test can see which ones the builder freed.
class CountedControl : public CControlUI {
public:
    CountedControl() { ++live; }
    ~CountedControl() override { --live; }
    static int live;
};
int CountedControl::live = 0;

class CountingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR tag) override
    {
        return wcscmp(tag, L"Counted") == 0 ? new CountedControl() : nullptr;
    }
};

TEST_F(BuilderWindow, ControlsThatNobodyOwnsAreDeleted)
{
    CountingCallback cb;
    CountedControl::live = 0;
    {
        CLayoutBuilder builder;
        CControlUI* root = builder.Create(
            L"<Window><VerticalLayout name=\"root\">"
            L"<Label name=\"p\"><Counted name=\"orphan\"/><Counted name=\"orphan2\"/></Label>"
            L"<Counted name=\"kept\"/></VerticalLayout>"
            L"<Counted name=\"extra\"/><Counted name=\"extra2\"><Counted/></Counted></Window>",
            nullptr, &cb, &m_pm, nullptr);
        ASSERT_NE(root, nullptr);
        // A label takes no children, and only the first top-level control has an owner.
        EXPECT_EQ(CountedControl::live, 1);
        m_pm.SetRootControl(root);
        ASSERT_NE(m_pm.FindControl(L"kept"), nullptr);
        EXPECT_EQ(m_pm.FindControl(L"orphan"), nullptr);
    }
    // A counted control as the whole layout is the caller's.
    CLayoutBuilder single;
    CControlUI* alone = single.Create(L"<Window><Counted/><Counted/></Window>", nullptr, &cb, &m_pm, nullptr);
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(CountedControl::live, 2);
    delete alone;
    EXPECT_EQ(CountedControl::live, 1);
    m_pm.SetRootControl(nullptr);
}

TEST_F(BuilderWindow, IncludeWithoutAParentLeavesNothingBehind)
{
    CountingCallback cb;
    CountedControl::live = 0;
    const std::wstring folder = TempFolder();
    WriteFile(folder + L"counted.xml", "<Window><Counted/><Counted/></Window>");
    CPaintManagerUI::SetResourceFolder(folder.c_str());
    CLayoutBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Include source=\"counted.xml\" count=\"2\"/><Counted/></Window>",
                                      nullptr, &cb, &m_pm, nullptr);
    CPaintManagerUI::SetResourceFolder(L"");
    // Included controls never count as the first of the level.
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(CountedControl::live, 1);
    delete root;
    EXPECT_EQ(CountedControl::live, 0);
}

} // namespace

namespace {

// --- resources and the archive ---

TEST_F(BuilderWindow, ResourceLayoutIncludesResourceIdsOfItsType)
{
    CLayoutBuilder builder;
    CControlUI* root = builder.Create(MAKEINTRESOURCEW(201), L"ZVXML", nullptr, &m_pm, nullptr);
    ASSERT_NE(root, nullptr);
    m_pm.SetRootControl(root);
    EXPECT_EQ(m_pm.GetInitialSize().cx, 220);
    auto* container = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->GetCount(), 2);
    EXPECT_TRUE(container->GetItemAt(1)->GetText() == L"资源");
}

TEST_F(BuilderWindow, ArchiveLayoutLoadsItsImagesAndIncludes)
{
    // The same zip as a file archive: the image reader opens archives by name.
    CPaintManagerUI::SetResourceFolder(ZV_SKIN_BUILD_DIR);
    CPaintManagerUI::SetResourceArchive(L"builder_skin.zip");
    CControlUI* root = Build(L"arc_main.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"arcroot");
    ASSERT_NE(m_pm.FindControl(L"arcbtn"), nullptr);
    EXPECT_TRUE(m_pm.FindControl(L"arcbtn")->GetText() == L"archive");
}

} // namespace

namespace {

// --- one skin with every element, from the zip linked into the program ---

struct ClassCase {
    const wchar_t* name;
    const wchar_t* cls;
};

// The pixel at a window point of a bitmap that GenerateBitmap painted for the whole client area.
DWORD PixelAt(HBITMAP bitmap, int x, int y)
{
    DIBSECTION ds = {};
    ::GetObjectW(bitmap, sizeof(ds), &ds);
    const auto* bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    const int row = ds.dsBmih.biHeight > 0 ? ds.dsBm.bmHeight - 1 - y : y;
    return bits[row * ds.dsBm.bmWidth + x] & 0xFFFFFF;
}

class FullSkin : public BuilderWindow {
protected:
    void SetUp() override
    {
        BuilderWindow::SetUp();
        HMODULE module = ::GetModuleHandleW(nullptr);
        HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(113), L"ZVZIP_RES");
        ASSERT_NE(res, nullptr);
        const void* bytes = ::LockResource(::LoadResource(module, res));
        CPaintManagerUI::SetResourceArchive(bytes, static_cast<int>(::SizeofResource(module, res)));
    }
    void TearDown() override
    {
        CPaintManagerUI::SetResourceArchive(L"");
        BuilderWindow::TearDown();
    }
};

TEST_F(FullSkin, EveryElementOfTheFormatBuildsARealWindow)
{
    CControlUI* root = Build(L"full_main.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"fullroot");

    // Window attributes in any case.
    EXPECT_EQ(m_pm.GetInitialSize().cx, 400);
    EXPECT_EQ(m_pm.GetInitialSize().cy, 300);
    EXPECT_EQ(m_pm.GetCaptionRect().bottom, 30);
    EXPECT_EQ(m_pm.GetRoundCorner().cx, 4);
    EXPECT_EQ(m_pm.GetMinInfo().cx, 200);
    EXPECT_EQ(m_pm.GetTextColor(), 0xFF202020u);

    // Font, Import and Image.
    ASSERT_NE(m_pm.GetFontInfo(1), nullptr);
    EXPECT_EQ(m_pm.GetFontInfo(1)->faceName, L"Zv Plain Face");
    EXPECT_TRUE(m_pm.GetFontInfo(1)->bold);
    EXPECT_EQ(m_pm.GetDefaultFontInfo()->faceName, L"Tahoma");
    EXPECT_EQ(m_pm.GetFontFileCount(), 1);
    const UIImageInfo* button = m_pm.FindImage(L"btn.png");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->width, 20);
    EXPECT_FALSE(button->alpha);
    const UIImageInfo* bar = m_pm.FindImage(L"bar.png");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->alpha);  // the magenta stripe is masked out

    // One element per control class, tags in any case.
    const ClassCase classes[] = {
        {L"fullroot", L"VerticalLayoutUI"}, {L"left", L"VerticalLayoutUI"}, {L"body", L"HorizontalLayoutUI"},
        {L"title", L"LabelUI"},   {L"closebtn", L"ButtonUI"}, {L"text", L"TextUI"},
        {L"opt1", L"OptionUI"},   {L"check", L"CheckBoxUI"},  {L"prg", L"ProgressUI"},
        {L"sbar", L"ScrollBarUI"}, {L"plain", L"ControlUI"},  {L"box", L"ContainerUI"},
        {L"tabs", L"TabLayoutUI"}, {L"tiles", L"TileLayoutUI"}, {L"child", L"ChildLayoutUI"}};
    for (const ClassCase& c : classes) {
        CControlUI* control = m_pm.FindControl(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_STREQ(control->GetClass(), c.cls) << c.name;
    }

    // Default and Style, with the element's own attributes last.
    auto* close = static_cast<CButtonUI*>(m_pm.FindControl(L"closebtn"));
    EXPECT_EQ(close->GetFixedHeight(), 28);
    EXPECT_EQ(close->GetNormalImage(), L"btn.png");
    EXPECT_EQ(static_cast<CLabelUI*>(m_pm.FindControl(L"tab0"))->GetTextColor(), 0xFF000080u);
    EXPECT_EQ(static_cast<CLabelUI*>(m_pm.FindControl(L"title"))->GetTextColor(), 0xFFFFFFFFu);
    EXPECT_EQ(m_pm.FindControl(L"captionbar")->GetFixedHeight(), 30);
    auto* body = static_cast<CContainerUI*>(m_pm.FindControl(L"body"));
    EXPECT_EQ(body->GetInset().left, 6);
    EXPECT_EQ(body->GetBkColor(), 0xFFE8F0F8u);

    // Include from the archive, the child layout's own file, and the stateful controls.
    auto* tiles = static_cast<IContainerUI*>(m_pm.FindControl(L"tiles")->GetInterface(L"IContainer"));
    EXPECT_EQ(tiles->GetCount(), 5);
    auto* child = static_cast<IContainerUI*>(m_pm.FindControl(L"child")->GetInterface(L"IContainer"));
    EXPECT_EQ(child->GetCount(), 1);
    EXPECT_TRUE(static_cast<COptionUI*>(m_pm.FindControl(L"opt1"))->IsSelected());
    EXPECT_FALSE(static_cast<COptionUI*>(m_pm.FindControl(L"opt2"))->IsSelected());
    EXPECT_EQ(static_cast<CTabLayoutUI*>(m_pm.FindControl(L"tabs"))->GetCurSel(), 1);

    // Shown and painted: the layout places the tree in the skin's size.
    ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hwnd);
    RECT client;
    ::GetClientRect(m_hwnd, &client);
    ASSERT_EQ(client.right, 400);
    EXPECT_EQ(root->GetPos().bottom, 300);
    HBITMAP shot = CUIRender::GenerateBitmap(&m_pm, client, nullptr);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(PixelAt(shot, 330, 3), 0x2060A0u);  // caption style
    const RECT prg = m_pm.FindControl(L"prg")->GetPos();
    ASSERT_GT(prg.right - prg.left, 100);
    EXPECT_EQ(PixelAt(shot, prg.left + 5, prg.top + 7), 0x30A030u);   // filled part
    EXPECT_EQ(PixelAt(shot, prg.right - 5, prg.top + 7), 0xCCCCCCu);  // the track beyond 60 %
    const RECT box = m_pm.FindControl(L"box")->GetPos();
    EXPECT_EQ(PixelAt(shot, (box.left + box.right) / 2, (box.top + box.bottom) / 2), 0x1E963Cu);
    EXPECT_EQ(PixelAt(shot, (box.left + box.right) / 2, box.top + 1), 0xE8F0F8u);  // masked stripe
    const RECT tab = m_pm.FindControl(L"tab1")->GetPos();
    EXPECT_EQ(PixelAt(shot, tab.right - 3, tab.bottom - 3), 0xFFE0A0u);
    ::DeleteObject(shot);
    // ZV_HOLD_FULL_SKIN keeps the window on screen for five seconds, for a look at it.
    if (::GetEnvironmentVariableW(L"ZV_HOLD_FULL_SKIN", nullptr, 0) != 0) {
        for (int i = 0; i < 100; ++i) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            ::Sleep(50);
        }
    }
}

TEST_F(FullSkin, ResourceTableFromTheArchiveNamesImagesAndLayouts)
{
    CUIResourceTable::Release();
    ASSERT_TRUE(CUIResourceTable::Instance()->LoadFromResource(L"res.xml", nullptr));
    // "tile" names the archive's full_item.xml, "logo" its btn.png.
    CControlUI* root = Build(L"<Window><VerticalLayout><Include source=\"tile\"/>"
                             L"<Control name=\"logo\" bkimage=\"logo\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    auto* items = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_EQ(items->GetCount(), 2);
    EXPECT_EQ(items->GetItemAt(0)->GetText(), L"tile");
    ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hwnd);
    const RECT logo = m_pm.FindControl(L"logo")->GetPos();
    ASSERT_GT(logo.bottom - logo.top, 10);
    HBITMAP shot = CUIRender::GenerateBitmap(&m_pm, RECT{0, 0, 100, 100}, nullptr);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(PixelAt(shot, 50, (logo.top + logo.bottom) / 2), 0x285AAAu);  // the button face's blue
    ::DeleteObject(shot);
    CUIResourceTable::Release();
}

} // namespace
