// Menus: building from a layout, placement, three levels opened by mouse and keys, check states,
// the command record received and freed by the owner, and the handles left after many openings.
#include <gtest/gtest.h>

#include <string>

#include "../../support/AccessViolationWatch.h"
#include "PopupHost.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuUI.h"
#include "menu/MenuWnd.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kHostSkin[] = L"<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\"/></Window>";

constexpr wchar_t kMenu[] =
    L"<Window><Menu name=\"root\" bkcolor=\"#FFFFFFFF\" bordersize=\"1\" bordercolor=\"#FF888888\" "
    L"itemtextpadding=\"30,0,0,0\">"
    L"<MenuElement name=\"open\" text=\"Open\"/>"
    L"<MenuElement name=\"recent\" text=\"Recent\" expland=\"true\">"
    L"  <MenuElement name=\"files\" text=\"Files\">"
    L"    <MenuElement name=\"a.pdf\" text=\"a.pdf\" userdata=\"path-a\"/>"
    L"    <MenuElement name=\"b.pdf\" text=\"b.pdf\"/>"
    L"  </MenuElement>"
    L"  <MenuElement name=\"clear\" text=\"Clear\"/>"
    L"</MenuElement>"
    L"<MenuElement linetype=\"true\"/>"
    L"<MenuElement name=\"wrap\" text=\"Wrap\" checkitem=\"true\" ischeck=\"true\"/>"
    L"<MenuElement text=\"Disabled\" enabled=\"false\"/>"
    L"</Menu></Window>";

// Commands the owner window received; it frees each record as the receiver must.
struct Received {
    std::wstring name;
    std::wstring userData;
    int checked;
};
std::vector<Received> g_received;
WNDPROC g_hostProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MENUCLICK) {
        auto* info = reinterpret_cast<MenuCommandInfo*>(wParam);
        g_received.push_back({info->name, info->userData, info->checked});
        delete info;
        return 0;
    }
    return ::CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
}

int OpenMenuCount()
{
    int count = 0;
    MenuObserverImpl& observer = GetMenuObserver();
    for (int i = 0; i < observer.GetReceiverCount(); ++i)
        count += dynamic_cast<CMenuWnd*>(observer.GetReceiver(i)) != nullptr ? 1 : 0;
    return count;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NewHost();
        g_received.clear();
    }
    void NewHost()
    {
        host = std::make_unique<PopupHost>(kHostSkin, RECT{0, 0, 300, 200});
        g_hostProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(host->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc)));
    }
    void TearDown() override
    {
        GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
        PumpMessages();
        ClearMenuCheckStates();
        GetMenuObserver().SetCheckStateMap(nullptr);
        host.reset();
    }
    CMenuWnd* OpenRoot(POINT at, UINT alignment = 6, LPCWSTR layout = kMenu)
    {
        CMenuWnd* menu = CMenuWnd::CreateMenu(nullptr, layout, at, &host->Manager(), &checks, alignment);
        PumpMessages();
        return menu;
    }
    CMenuElementUI* Item(CMenuWnd* menu, LPCWSTR name)
    {
        return static_cast<CMenuElementUI*>(menu->GetManager().FindControl(name));
    }
    void Hover(CMenuWnd* menu, CControlUI* item)
    {
        const POINT pt = CenterOf(item);
        ::SendMessageW(menu->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        PumpMessages();
    }

    std::unique_ptr<PopupHost> host;
    CUIStringMap checks;
};

} // namespace

TEST_F(MenuTest, RootIsBuiltFromTheLayoutAndPlacedAtTheBasePoint)
{
    CMenuWnd* menu = OpenRoot(POINT{100, 120});
    ASSERT_TRUE(::IsWindow(menu->GetHandle()));
    EXPECT_EQ(::GetWindowLongW(menu->GetHandle(), GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    RECT rc = {};
    ::GetWindowRect(menu->GetHandle(), &rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 120);
    // Five rows: four of 30 and a separator of 6; the nested items stay out.
    EXPECT_EQ(rc.bottom - rc.top, 4 * 30 + 6);
    EXPECT_EQ(rc.right - rc.left, 150);
    CMenuElementUI* line = static_cast<CMenuElementUI*>(
        static_cast<CMenuUI*>(menu->GetManager().GetRoot())->GetItemAt(2));
    EXPECT_TRUE(line->IsLineType());
    EXPECT_FALSE(line->IsEnabled());
    EXPECT_FALSE(Item(menu, L"files")->IsVisible());
    GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
    PumpMessages();
    EXPECT_EQ(OpenMenuCount(), 0);

    // Right and bottom alignment put those edges at the point instead.
    menu = OpenRoot(POINT{300, 300}, MenuAlignRight | MenuAlignBottom);
    ::GetWindowRect(menu->GetHandle(), &rc);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, 300);
}

TEST_F(MenuTest, ALayoutWhoseRootIsNotAMenuClosesItsWindow)
{
    CMenuWnd* menu = OpenRoot(POINT{10, 10}, 6, L"<Window><VerticalLayout name=\"x\"/></Window>");
    (void)menu;
    PumpMessages();
    EXPECT_EQ(OpenMenuCount(), 0);
    // Only menu items go into a menu list.
    CMenuUI list;
    auto* label = new CControlUI;
    EXPECT_FALSE(list.Add(label));
    EXPECT_FALSE(list.AddAt(label, 0));
    EXPECT_EQ(list.GetItemIndex(label), -1);
    delete label;
    auto* item = new CMenuElementUI;
    EXPECT_TRUE(list.Add(item));
    EXPECT_EQ(list.GetListKind(), 3);
}

TEST_F(MenuTest, ThreeLevelsOpenByMouseAndKeysAndCloseOneByOne)
{
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* recent = Item(root, L"recent");
    Hover(root, recent);
    CMenuWnd* second = recent->GetSubMenuWindow();
    ASSERT_NE(second, nullptr);
    RECT rcRoot = {};
    RECT rcSecond = {};
    ::GetWindowRect(root->GetHandle(), &rcRoot);
    ::GetWindowRect(second->GetHandle(), &rcSecond);
    // Beside its owner window, level with the owner item.
    EXPECT_EQ(rcSecond.left, rcRoot.right);
    RECT item = recent->GetPos();
    ::MapWindowPoints(root->GetHandle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(rcSecond.top, item.top);
    EXPECT_EQ(rcSecond.bottom - rcSecond.top, 60);

    // The third level by keys: select "files" and press Right.
    CMenuElementUI* files = static_cast<CMenuElementUI*>(second->GetManager().FindControl(L"files"));
    ASSERT_NE(files, nullptr);
    Hover(second, files);
    CMenuWnd* third = files->GetSubMenuWindow();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(OpenMenuCount(), 3);
    // Escape closes the third level only.
    KeyWindow(third->GetHandle(), VK_ESCAPE);
    PumpMessages();
    EXPECT_EQ(files->GetSubMenuWindow(), nullptr);
    EXPECT_EQ(OpenMenuCount(), 2);
    ASSERT_EQ(files->GetManager(), &second->GetManager());
    files->SetFocus();
    KeyWindow(second->GetHandle(), VK_RIGHT);
    third = files->GetSubMenuWindow();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(OpenMenuCount(), 3);

    // Hovering a leaf of the root closes what was opened below it.
    Hover(root, Item(root, L"open"));
    PumpMessages();
    EXPECT_EQ(OpenMenuCount(), 1);
    EXPECT_EQ(recent->GetSubMenuWindow(), nullptr);
    // The nested items are back with their item, hidden.
    EXPECT_EQ(files->GetManager(), &root->GetManager());
    EXPECT_FALSE(files->IsVisible());
}

TEST_F(MenuTest, ADisabledItemOpensNoSubMenu)
{
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* recent = Item(root, L"recent");
    recent->SetEnabled(false);
    Hover(root, recent);
    EXPECT_EQ(recent->GetSubMenuWindow(), nullptr);
    EXPECT_EQ(OpenMenuCount(), 1);
    recent->SetEnabled(true);
    Hover(root, Item(root, L"open"));
    Hover(root, recent);
    EXPECT_NE(recent->GetSubMenuWindow(), nullptr);
}

TEST_F(MenuTest, SubMenuDestroyedWithoutItsCloseGivesItsItemsBack)
{
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* recent = Item(root, L"recent");
    Hover(root, recent);
    CMenuWnd* second = recent->GetSubMenuWindow();
    ASSERT_NE(second, nullptr);
    CControlUI* files = second->GetManager().FindControl(L"files");
    ASSERT_NE(files, nullptr);
    ::DestroyWindow(second->GetHandle());
    EXPECT_EQ(recent->GetSubMenuWindow(), nullptr);
    EXPECT_EQ(files->GetManager(), &root->GetManager());
    EXPECT_EQ(files->GetParent(), recent);
    EXPECT_EQ(OpenMenuCount(), 1);

    // The owner window destroyed under an open sub-menu: its tree, lent items included, goes
    // with it.
    Hover(root, Item(root, L"open"));
    Hover(root, recent);
    ASSERT_NE(recent->GetSubMenuWindow(), nullptr);
    ::DestroyWindow(root->GetHandle());
    PumpMessages();
    EXPECT_EQ(OpenMenuCount(), 0);
}

TEST_F(MenuTest, ItemRemovedAndKeptWhileItsSubMenuIsOpenTakesItsItemsBack)
{
    AccessViolationWatch watch;
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* recent = Item(root, L"recent");
    Hover(root, recent);
    CMenuWnd* second = recent->GetSubMenuWindow();
    ASSERT_NE(second, nullptr);
    HWND sub = second->GetHandle();
    CControlUI* files = second->GetManager().FindControl(L"files");
    ASSERT_NE(files, nullptr);
    auto* list = static_cast<CContainerUI*>(recent->GetParent());
    list->SetAutoDestroy(false);
    ASSERT_TRUE(list->Remove(recent));
    EXPECT_EQ(recent->GetSubMenuWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(sub));
    EXPECT_EQ(files->GetManager(), nullptr);
    EXPECT_EQ(files->GetParent(), recent);
    PumpMessages();
    delete recent;
    ::RedrawWindow(root->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_EQ(OpenMenuCount(), 1);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

TEST_F(MenuTest, RowsChangedWhileTheirSubMenuIsOpenLeaveJoinAndMoveInIt)
{
    AccessViolationWatch watch;
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* recent = Item(root, L"recent");
    Hover(root, recent);
    CMenuWnd* sub = recent->GetSubMenuWindow();
    ASSERT_NE(sub, nullptr);
    auto* list = static_cast<CMenuUI*>(sub->GetManager().GetRoot());
    ASSERT_EQ(list->GetCount(), 2);
    auto repaint = [&] {
        ::RedrawWindow(sub->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    };

    // A "recent files" list refreshed while open: a row goes (and is deleted), another comes.
    CControlUI* clear = sub->GetManager().FindControl(L"clear");
    ASSERT_NE(clear, nullptr);
    EXPECT_TRUE(recent->Remove(clear));
    EXPECT_EQ(list->GetCount(), 1);
    PumpMessages();
    repaint();
    auto* fresh = new CMenuElementUI;
    fresh->SetName(L"c.pdf");
    fresh->SetText(L"c.pdf");
    EXPECT_TRUE(recent->Add(fresh));
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetItemAt(1), fresh);
    EXPECT_TRUE(fresh->IsVisible());
    repaint();
    RECT rc = {};
    ::GetWindowRect(sub->GetHandle(), &rc);
    EXPECT_EQ(rc.bottom - rc.top, 60) << "sized to its rows";
    EXPECT_TRUE(recent->SetItemIndex(fresh, 0));
    EXPECT_EQ(list->GetItemAt(0), fresh);
    repaint();

    // A row whose own sub-menu is open takes that one down with it.
    auto* files = static_cast<CMenuElementUI*>(sub->GetManager().FindControl(L"files"));
    ASSERT_NE(files, nullptr);
    Hover(sub, files);
    ASSERT_NE(files->GetSubMenuWindow(), nullptr);
    EXPECT_EQ(OpenMenuCount(), 3);
    EXPECT_TRUE(recent->Remove(files));
    EXPECT_EQ(OpenMenuCount(), 2);
    EXPECT_EQ(list->GetCount(), 1);
    PumpMessages();
    repaint();
    recent->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    PumpMessages();
    repaint();
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

TEST_F(MenuTest, OwnerAndItsTableAreForgottenWithTheOwnerWindow)
{
    AccessViolationWatch watch;
    auto* table = new CUIStringMap;
    CMenuWnd::CreateMenu(nullptr, kMenu, POINT{50, 50}, &host->Manager(), table);
    PumpMessages();
    GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
    PumpMessages();
    EXPECT_EQ(GetMenuObserver().GetCheckStateMap(), table);
    ClearMenuCheckStates();
    host.reset();
    delete table;
    EXPECT_EQ(GetMenuObserver().GetOwnerManager(), nullptr);
    EXPECT_EQ(GetMenuObserver().GetCheckStateMap(), nullptr);

    // The next owner gives no table: no check state is read or written.
    NewHost();
    CMenuWnd* root = CMenuWnd::CreateMenu(nullptr, kMenu, POINT{50, 50}, &host->Manager(), nullptr);
    PumpMessages();
    EXPECT_EQ(GetMenuObserver().GetOwnerManager(), &host->Manager());
    CMenuElementUI* wrap = Item(root, L"wrap");
    ASSERT_NE(wrap, nullptr);
    EXPECT_FALSE(wrap->IsChecked());
    ClickWindow(root->GetHandle(), CenterOf(wrap));
    PumpMessages();
    EXPECT_EQ(GetMenuCheckInfo(L"wrap"), nullptr);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].checked, 0);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

TEST_F(MenuTest, SubMenuTallerThanTheRoomOnEitherSideStaysInsideTheWorkArea)
{
    const RECT work = WorkArea();
    const int rows = (work.bottom - work.top) * 3 / 4 / 30;
    std::wstring layout = L"<Window><Menu><MenuElement name=\"long\" text=\"Long\">";
    for (int i = 0; i < rows; ++i)
        layout += L"<MenuElement text=\"row\"/>";
    layout += L"</MenuElement></Menu></Window>";
    // The owner item sits in the middle of the screen and near its right edge.
    const POINT at = {work.right - 200, (work.top + work.bottom) / 2};
    CMenuWnd* root = OpenRoot(at, 6, layout.c_str());
    CMenuElementUI* owner = Item(root, L"long");
    ASSERT_NE(owner, nullptr);
    Hover(root, owner);
    CMenuWnd* sub = owner->GetSubMenuWindow();
    ASSERT_NE(sub, nullptr);
    RECT rc = {};
    ::GetWindowRect(sub->GetHandle(), &rc);
    EXPECT_EQ(rc.bottom - rc.top, rows * 30);
    EXPECT_GE(rc.top, work.top);
    EXPECT_LE(rc.bottom, work.bottom);
    EXPECT_GE(rc.left, work.left);
    EXPECT_LE(rc.right, work.right);
}

TEST_F(MenuTest, MenusOpenedAfterALiveDpiChangeTakeItForLayoutAndFonts)
{
    auto fontHeight = [](CPaintManagerUI& pm) {
        LOGFONTW lf = {};
        ::GetObjectW(pm.GetDefaultFontInfo()->handle, sizeof(lf), &lf);
        return lf.lfHeight;
    };
    host->Manager().ApplyDpi(192);
    PumpMessages();
    const LONG ownerFont = fontHeight(host->Manager());
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    RECT rc = {};
    ::GetWindowRect(root->GetHandle(), &rc);
    EXPECT_EQ(rc.bottom - rc.top, 2 * (4 * 30 + 6));
    EXPECT_EQ(fontHeight(root->GetManager()), ownerFont);
    CMenuElementUI* recent = Item(root, L"recent");
    Hover(root, recent);
    ASSERT_NE(recent->GetSubMenuWindow(), nullptr);
    EXPECT_EQ(fontHeight(recent->GetSubMenuWindow()->GetManager()), ownerFont);
    RECT sub = {};
    ::GetWindowRect(recent->GetSubMenuWindow()->GetHandle(), &sub);
    EXPECT_EQ(sub.right - sub.left, 2 * (150 + 2)) << "the rows and the margin beside them, both at 200 %";
    EXPECT_EQ(fontHeight(host->Manager()), ownerFont) << "the owner's text keeps its size";
}

TEST_F(MenuTest, ChosenLeafPostsItsCommandAndClosesEveryMenu)
{
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    Hover(root, Item(root, L"recent"));
    CMenuWnd* second = Item(root, L"recent")->GetSubMenuWindow();
    ASSERT_NE(second, nullptr);
    CMenuElementUI* files = static_cast<CMenuElementUI*>(second->GetManager().FindControl(L"files"));
    Hover(second, files);
    CMenuWnd* third = files->GetSubMenuWindow();
    ASSERT_NE(third, nullptr);
    CControlUI* leaf = third->GetManager().FindControl(L"a.pdf");
    ASSERT_NE(leaf, nullptr);
    ClickWindow(third->GetHandle(), CenterOf(leaf));
    PumpMessages();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].name, L"a.pdf");
    EXPECT_EQ(g_received[0].userData, L"path-a");
    // A leaf toggles its check state; it had none, so it is now checked.
    EXPECT_EQ(g_received[0].checked, 1);
    EXPECT_EQ(OpenMenuCount(), 0);
}

TEST_F(MenuTest, InitialCheckYieldsToATableEntryOfAnyLetterCase)
{
    auto* entry = new MenuCheckInfo{};
    wcscpy(entry->name, L"WRAP");
    entry->checked = false;
    checks.Insert(L"WRAP", entry);
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    EXPECT_FALSE(Item(root, L"wrap")->IsChecked()) << "\"ischeck\" applies only without an entry";
    EXPECT_EQ(GetMenuCheckInfo(L"wrap"), nullptr) << "no second entry was made";
}

TEST_F(MenuTest, CheckItemsKeepTheirStateInTheOwnersTable)
{
    CMenuWnd* root = OpenRoot(POINT{50, 50});
    CMenuElementUI* wrap = Item(root, L"wrap");
    EXPECT_TRUE(wrap->IsChecked());
    ClickWindow(root->GetHandle(), CenterOf(wrap));
    PumpMessages();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].checked, 0);
    ASSERT_NE(GetMenuCheckInfo(L"wrap"), nullptr);
    EXPECT_FALSE(GetMenuCheckInfo(L"wrap")->checked);

    // The table outlives the menu: "ischeck" does not override it on the next opening.
    root = OpenRoot(POINT{50, 50});
    EXPECT_FALSE(Item(root, L"wrap")->IsChecked());
    // A disabled item takes no click.
    CControlUI* disabled = static_cast<CMenuUI*>(root->GetManager().GetRoot())->GetItemAt(4);
    ClickWindow(root->GetHandle(), CenterOf(disabled));
    PumpMessages();
    EXPECT_EQ(g_received.size(), 1u);
    EXPECT_EQ(OpenMenuCount(), 1);
}

TEST_F(MenuTest, LongNamesReachTheOwnerCut)
{
    const std::wstring longName(300, L'n');
    const std::wstring layout = L"<Window><Menu><MenuElement name=\"" + longName + L"\" text=\"Long\"/></Menu></Window>";
    CMenuWnd* root = OpenRoot(POINT{50, 50}, 6, layout.c_str());
    CControlUI* item = static_cast<CMenuUI*>(root->GetManager().GetRoot())->GetItemAt(0);
    ClickWindow(root->GetHandle(), CenterOf(item));
    PumpMessages();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].name, longName.substr(0, 255));
}

TEST_F(MenuTest, OpeningAndClosingLeavesNoHandlesBehind)
{
    auto cycle = [this] {
        CMenuWnd* root = OpenRoot(POINT{50, 50});
        Hover(root, Item(root, L"recent"));
        GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
        PumpMessages();
    };
    cycle();
    const DWORD gdi = GdiObjects();
    const DWORD user = UserObjects();
    for (int i = 0; i < 1000; ++i) {
        cycle();
        ASSERT_EQ(OpenMenuCount(), 0);
    }
    EXPECT_LE(GdiObjects(), gdi + 2);
    EXPECT_LE(UserObjects(), user + 2);
}
