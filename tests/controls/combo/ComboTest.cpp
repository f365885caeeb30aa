// Combo and combo box: selection bookkeeping, the pop-up opened and driven by real messages, its
// placement inside the work area, the arrow strip and the handles left after many openings.
#include <gtest/gtest.h>

#include "PopupHost.h"
#include "combo/ComboBoxUI.h"
#include "combo/ComboWnd.h"
#include "layout/VerticalLayoutUI.h"
#include "list/ListElementUI.h"
#include "manager/DpiHelper.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FFF0F0F0\">"
    L"<Combo name=\"combo\" float=\"true\" pos=\"10,10,210,40\" dropboxsize=\"0,120\" "
    L"textcolor=\"#FF000000\" textpadding=\"4,0,4,0\">"
    L"<ListLabelElement text=\"Alpha\" height=\"24\"/>"
    L"<ListLabelElement text=\"Beta\" height=\"24\"/>"
    L"<ListLabelElement text=\"Gamma\" height=\"24\"/>"
    L"<ListLabelElement text=\"Delta\" height=\"24\"/>"
    L"<ListLabelElement text=\"Epsilon\" height=\"24\"/>"
    L"<ListLabelElement text=\"Zeta\" height=\"24\"/>"
    L"</Combo>"
    L"<ComboBox name=\"box\" float=\"true\" pos=\"10,60,210,90\" "
    L"arrowimage=\"file='arrow.png' source='0,0,100,20'\">"
    L"<ListLabelElement text=\"One\" height=\"24\"/>"
    L"<ListLabelElement text=\"Two\" height=\"24\"/>"
    L"</ComboBox>"
    L"</VerticalLayout></Window>";

RECT HostAt(int x, int y)
{
    return RECT{x, y, x + 300, y + 200};
}

class ComboTest : public ::testing::Test {
protected:
    void Open(int x, int y, int dpi = 96)
    {
        host = std::make_unique<PopupHost>(kSkin, HostAt(x, y), dpi);
        combo = static_cast<CComboUI*>(host->Find(L"combo"));
        ASSERT_NE(combo, nullptr);
    }
    void TearDown() override
    {
        host.reset();
        PumpMessages();
    }
    RECT PopupRect() const
    {
        RECT rc = {};
        if (combo->GetDropWindow() != nullptr)
            ::GetWindowRect(combo->GetDropWindow()->GetHandle(), &rc);
        return rc;
    }

    std::unique_ptr<PopupHost> host;
    CComboUI* combo = nullptr;
};

} // namespace

TEST_F(ComboTest, SelectionFollowsRowsAddedRemovedAndDisabled)
{
    Open(20, 20);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(combo->GetText().IsEmpty());
    ASSERT_TRUE(combo->SelectItem(2));
    EXPECT_STREQ(combo->GetText().GetData(), L"Gamma");
    auto selects = host->log.Of(L"itemselect");
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].wParam, 2u);
    EXPECT_EQ(selects[0].lParam, -1);

    // A row inserted before the selection moves it; the rows keep their own indices.
    auto* extra = new CListLabelElementUI;
    extra->SetText(L"First");
    ASSERT_TRUE(combo->AddAt(extra, 0));
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_STREQ(combo->GetText().GetData(), L"Gamma");
    for (int i = 0; i < combo->GetCount(); ++i)
        EXPECT_EQ(static_cast<IListItemUI*>(combo->GetItemAt(i)->GetInterface(L"ListItem"))->GetIndex(), i);

    // Removing the selection picks the row that now has its index.
    host->log.entries.clear();
    ASSERT_TRUE(combo->RemoveAt(3));
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_STREQ(combo->GetText().GetData(), L"Delta");
    EXPECT_EQ(host->log.Count(L"itemselect"), 1);

    // A disabled row cannot be selected, and the old selection is gone.
    combo->GetItemAt(1)->SetEnabled(false);
    EXPECT_FALSE(combo->SelectItem(1));
    EXPECT_EQ(combo->GetCurSel(), -1);

    // Moving a row keeps the selection on the same row.
    ASSERT_TRUE(combo->SelectItem(4));
    CControlUI* selected = combo->GetItemAt(4);
    ASSERT_TRUE(combo->SetItemIndex(selected, 0));
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(combo->GetItemAt(0), selected);

    combo->RemoveAll();
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_FALSE(combo->SelectItem(0));
}

TEST_F(ComboTest, WheelAndKeysOnTheClosedField)
{
    Open(20, 20);
    const POINT centre = CenterOf(combo);
    host->Wheel(centre, -2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    host->Wheel(centre, 1);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(combo->GetDropWindow(), nullptr);

    combo->SetFocus();
    host->Key(VK_END);
    EXPECT_EQ(combo->GetCurSel(), 5);
    host->Key(VK_UP);
    EXPECT_EQ(combo->GetCurSel(), 4);
    host->Key(VK_HOME);
    EXPECT_EQ(combo->GetCurSel(), 0);

    combo->SetAttribute(L"scrollselect", L"false");
    host->Wheel(centre, -1);
    EXPECT_EQ(combo->GetCurSel(), 0);
}

TEST_F(ComboTest, ADisabledFieldKeepsItsChoiceUnderTheWheel)
{
    Open(20, 20);
    const int before = combo->GetCurSel();
    combo->SetEnabled(false);
    // Rows added since keep their own state: the combo itself must refuse.
    auto* added = new CListLabelElementUI;
    added->SetText(L"added");
    ASSERT_TRUE(combo->Add(added));
    host->Update();
    host->log.entries.clear();
    host->Wheel(CenterOf(combo), -2);
    EXPECT_EQ(combo->GetCurSel(), before);
    EXPECT_EQ(host->log.Count(L"itemselect"), 0);
}

TEST_F(ComboTest, ClickOpensThePopupAndAClickOnARowChoosesAndCloses)
{
    Open(20, 20);
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    EXPECT_EQ(host->log.Count(L"predropdown"), 1);
    EXPECT_EQ(host->log.Count(L"dropdown"), 1);
    HWND popup = combo->GetDropWindow()->GetHandle();
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(::GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);

    // Width of the field, just below it, and as high as the rows allow (the box caps at 120).
    RECT field = combo->GetPos();
    ::MapWindowPoints(host->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&field), 2);
    const RECT rc = PopupRect();
    EXPECT_EQ(rc.left, field.left);
    EXPECT_EQ(rc.right, field.right);
    EXPECT_EQ(rc.top, field.bottom);
    EXPECT_EQ(rc.bottom - rc.top, 120);

    // The rows now live in the pop-up's layout and are hit there.
    CControlUI* beta = combo->GetItemAt(1);
    EXPECT_EQ(beta->GetManager(), &combo->GetDropWindow()->GetManager());
    ClickWindow(popup, CenterOf(beta));
    PumpMessages();
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetDropWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(popup));
    // Handed back to the field's manager.
    EXPECT_EQ(beta->GetManager(), &host->Manager());
    EXPECT_EQ(beta->GetParent(), combo);
    EXPECT_EQ(combo->GetButtonState() & ButtonStatePushed, 0u);
}

TEST_F(ComboTest, ComboRemovedAndKeptWhileOpenTakesItsRowsBack)
{
    Open(20, 20);
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    HWND popup = combo->GetDropWindow()->GetHandle();
    auto* layout = static_cast<CContainerUI*>(combo->GetParent());
    layout->SetAutoDestroy(false);
    ASSERT_TRUE(layout->Remove(combo));
    EXPECT_EQ(combo->GetDropWindow(), nullptr);
    EXPECT_FALSE(::IsWindow(popup));
    for (int i = 0; i < combo->GetCount(); ++i) {
        EXPECT_EQ(combo->GetItemAt(i)->GetManager(), nullptr) << "row " << i;
        EXPECT_EQ(combo->GetItemAt(i)->GetParent(), combo) << "row " << i;
    }
    // Given back to the window, it opens again with its rows.
    ASSERT_TRUE(layout->Add(combo));
    PumpMessages();
    EXPECT_EQ(combo->GetItemAt(0)->GetManager(), &host->Manager());
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    EXPECT_EQ(combo->GetItemAt(0)->GetManager(), &combo->GetDropWindow()->GetManager());
    KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
    PumpMessages();
    EXPECT_EQ(combo->GetItemAt(0)->GetManager(), &host->Manager());
}

TEST_F(ComboTest, KeysInThePopupMoveTheSelectionAndEscapeRestoresIt)
{
    Open(20, 20);
    combo->SelectItem(1);
    combo->SetFocus();
    host->Key(VK_F4);
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    HWND popup = combo->GetDropWindow()->GetHandle();
    KeyWindow(popup, VK_DOWN);
    KeyWindow(popup, VK_DOWN);
    EXPECT_EQ(combo->GetCurSel(), 3);
    host->log.entries.clear();
    KeyWindow(popup, VK_ESCAPE);
    PumpMessages();
    EXPECT_EQ(combo->GetCurSel(), 1);
    auto selects = host->log.Of(L"itemselect");
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].wParam, 1u);
    EXPECT_EQ(combo->GetDropWindow(), nullptr);

    // Return keeps what the keys chose; the wheel in the pop-up selects too.
    host->Key(VK_F4);
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    popup = combo->GetDropWindow()->GetHandle();
    ::SendMessageW(popup, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(combo->GetCurSel(), 2);
    KeyWindow(popup, VK_END);
    KeyWindow(popup, VK_RETURN);
    PumpMessages();
    EXPECT_EQ(combo->GetCurSel(), 5);
    EXPECT_EQ(combo->GetDropWindow(), nullptr);
}

TEST_F(ComboTest, PopupStaysInsideTheWorkAreaNextToEachEdge)
{
    const RECT work = WorkArea();
    const POINT corners[] = {{work.left, work.top},
                             {work.right - 300, work.top},
                             {work.left, work.bottom - 200},
                             {work.right - 300, work.bottom - 200},
                             {work.left, work.bottom - 45}};
    for (const POINT& at : corners) {
        Open(at.x, at.y);
        host->Click(CenterOf(combo));
        ASSERT_NE(combo->GetDropWindow(), nullptr);
        const RECT rc = PopupRect();
        EXPECT_GE(rc.top, work.top) << at.x << "," << at.y;
        EXPECT_LE(rc.bottom, work.bottom) << at.x << "," << at.y;
        EXPECT_GE(rc.left, work.left);
        EXPECT_LE(rc.right, work.right);
        EXPECT_EQ(rc.bottom - rc.top, 120);
        KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
        PumpMessages();
        EXPECT_EQ(combo->GetDropWindow(), nullptr);
        host.reset();
    }
}

TEST_F(ComboTest, PopupAtDoubleScaleMatchesTheField)
{
    Open(20, 20, 192);
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    const RECT rc = PopupRect();
    EXPECT_EQ(rc.bottom - rc.top, 240);
    EXPECT_EQ(rc.right - rc.left, combo->GetPos().right - combo->GetPos().left);
    // Rows measure 24 at 100 %, so 48 in the pop-up.
    const RECT row = combo->GetItemAt(0)->GetPos();
    EXPECT_EQ(row.bottom - row.top, 48);
    KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
    PumpMessages();
}

// After a live change of the owner to 200 %, the pop-up took the process DPI for its fonts: the
// owner's font was rebuilt at half its size and the rows were laid out at 200 % with 100 % text.
TEST_F(ComboTest, PopupAfterALiveDpiChangeTakesTheOwnersScaleForLayoutAndFonts)
{
    Open(20, 20);
    const auto fontHeight = [](CPaintManagerUI& pm) {
        LOGFONTW lf = {};
        ::GetObjectW(pm.GetDefaultFontInfo()->handle, sizeof(lf), &lf);
        return lf.lfHeight;
    };
    host->Manager().ApplyDpi(192);
    host->Update();
    const LONG ownerFont = fontHeight(host->Manager());
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    CPaintManagerUI& popup = combo->GetDropWindow()->GetManager();
    EXPECT_EQ(fontHeight(host->Manager()), ownerFont) << "the owner's text keeps its size";
    EXPECT_EQ(fontHeight(popup), ownerFont);
    EXPECT_EQ(popup.GetDpiHelper()->GetScale(), host->Manager().GetDpiHelper()->GetScale());
    const RECT row = combo->GetItemAt(0)->GetPos();
    EXPECT_EQ(row.bottom - row.top, 48);
    KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
    PumpMessages();
    host->Manager().ApplyDpi(96);
}

TEST_F(ComboTest, ComboBoxCutsItsArrowFromAFiveFrameStrip)
{
    Open(20, 20);
    auto* box = static_cast<CComboBoxUI*>(host->Find(L"box"));
    ASSERT_NE(box, nullptr);
    EXPECT_STREQ(box->GetClass(), L"ComboBoxUI");
    ::InvalidateRect(host->Handle(), nullptr, FALSE);
    host->Update();
    EXPECT_EQ(box->GetArrowWidth(), 20);
    // A descriptor without its quotes draws no arrow and keeps the last good width.
    box->SetArrowImage(L"file='arrow.png' source=0,0,50,10");
    ::InvalidateRect(host->Handle(), nullptr, FALSE);
    host->Update();
    EXPECT_EQ(box->GetArrowWidth(), 20);
    ASSERT_TRUE(box->SelectItem(1));
    EXPECT_STREQ(box->GetText().GetData(), L"Two");
}

TEST_F(ComboTest, OpeningAndClosingLeavesNoHandlesBehind)
{
    Open(20, 20);
    // Warm up caches (fonts, classes) before counting.
    host->Click(CenterOf(combo));
    KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
    PumpMessages();
    const DWORD gdi = GdiObjects();
    const DWORD user = UserObjects();
    for (int i = 0; i < 1000; ++i) {
        host->Click(CenterOf(combo));
        ASSERT_NE(combo->GetDropWindow(), nullptr);
        KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
        PumpMessages();
        ASSERT_EQ(combo->GetDropWindow(), nullptr);
    }
    EXPECT_LE(GdiObjects(), gdi + 2);
    EXPECT_LE(UserObjects(), user + 2);
}

// --- rows and placement while the pop-up is open ---

TEST_F(ComboTest, RowsRemovedOrAddedWhileOpenLeaveAndJoinThePopup)
{
    Open(20, 20);
    combo->SelectItem(1);
    host->Click(CenterOf(combo));
    CComboWnd* wnd = combo->GetDropWindow();
    ASSERT_NE(wnd, nullptr);
    HWND popup = wnd->GetHandle();
    CVerticalLayoutUI* layout = wnd->GetLayout();
    const auto paintPopup = [&] {
        PumpMessages(); // deletions queued by the removals run here
        ::InvalidateRect(popup, nullptr, FALSE);
        ::UpdateWindow(popup);
        PumpMessages();
    };
    const auto sameRows = [&] {
        ASSERT_EQ(layout->GetCount(), combo->GetCount());
        for (int i = 0; i < combo->GetCount(); ++i)
            EXPECT_EQ(layout->GetItemAt(i), combo->GetItemAt(i)) << i;
    };

    CControlUI* doomed = combo->GetItemAt(1);
    ASSERT_TRUE(combo->RemoveAt(1));
    EXPECT_NE(wnd->GetManager().GetFocus(), doomed);
    ASSERT_TRUE(combo->Remove(combo->GetItemAt(0)));
    paintPopup();
    sameRows();

    auto* late = new CListLabelElementUI;
    late->SetText(L"Late");
    ASSERT_TRUE(combo->Add(late));
    auto* early = new CListLabelElementUI;
    early->SetText(L"Early");
    ASSERT_TRUE(combo->AddAt(early, 0));
    paintPopup();
    sameRows();
    EXPECT_EQ(late->GetManager(), &wnd->GetManager());
    EXPECT_EQ(late->GetParent(), layout);

    // The moved row moves in the pop-up too.
    ASSERT_TRUE(combo->SetItemIndex(late, 0));
    sameRows();

    combo->RemoveAll();
    paintPopup();
    EXPECT_EQ(layout->GetCount(), 0);
    KeyWindow(popup, VK_ESCAPE);
    PumpMessages();
    EXPECT_EQ(combo->GetDropWindow(), nullptr);
}

TEST_F(ComboTest, RowsLentToThePopupLeaveNothingBehindAndTakeTheirTimersAlong)
{
    const auto timersOf = [](const CPaintManagerUI& manager, CControlUI* control) {
        int n = 0;
        for (int i = 0; i < manager.GetTimerCount(); ++i)
            n += manager.GetTimerInfo(i)->control == control && !manager.GetTimerInfo(i)->killed ? 1 : 0;
        return n;
    };
    Open(20, 20);
    CControlUI* beta = combo->GetItemAt(1);
    ASSERT_TRUE(beta->SetTimer(9, 100000));
    host->Click(CenterOf(combo));
    CComboWnd* wnd = combo->GetDropWindow();
    ASSERT_NE(wnd, nullptr);
    // The field's window holds nothing of a row that lives in the pop-up now.
    EXPECT_EQ(timersOf(host->Manager(), beta), 0);
    EXPECT_EQ(timersOf(wnd->GetManager(), beta), 1);
    EXPECT_TRUE(host->Manager().IsBound(combo));
    EXPECT_FALSE(host->Manager().IsBound(beta));
    KeyWindow(wnd->GetHandle(), VK_ESCAPE);
    PumpMessages();
    ASSERT_EQ(combo->GetDropWindow(), nullptr);
    EXPECT_EQ(timersOf(host->Manager(), beta), 1);
    EXPECT_TRUE(host->Manager().IsBound(beta));
}

TEST_F(ComboTest, SetItemIndexOutOfRangeKeepsTheRow)
{
    Open(20, 20);
    CControlUI* row = combo->GetItemAt(2);
    const int count = combo->GetCount();
    EXPECT_FALSE(combo->SetItemIndex(row, count));
    EXPECT_FALSE(combo->SetItemIndex(row, -1));
    ASSERT_EQ(combo->GetCount(), count);
    EXPECT_EQ(combo->GetItemAt(2), row);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(static_cast<IListItemUI*>(combo->GetItemAt(i)->GetInterface(L"ListItem"))->GetIndex(), i);
}

TEST_F(ComboTest, PopupIsPlacedInScreenPixelsOnceAndKeptOnTheWorkArea)
{
    const RECT work = WorkArea();
    const auto field = [this] {
        RECT rc = combo->GetPos();
        ::MapWindowPoints(host->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const auto close = [this] {
        KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
        PumpMessages();
        host.reset();
    };

    // Flipped above the field, with the host away from the screen's left edge.
    Open(work.left + 100, work.bottom - 45);
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    RECT rc = PopupRect();
    EXPECT_EQ(rc.bottom, field().top);
    EXPECT_EQ(rc.left, field().left);
    EXPECT_EQ(rc.right, field().right);
    EXPECT_EQ(rc.bottom - rc.top, 120);
    close();

    // Wider than the room to the right: moved left, not cut.
    Open(work.right - 300, work.top + 20);
    combo->SetDropBoxSize(SIZE{400, 120});
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    rc = PopupRect();
    EXPECT_LE(rc.right, work.right);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.top, field().bottom);
    close();

    // Taller than the room on either side: the bigger side, cut to the work area.
    Open(work.left + 50, (work.top + work.bottom) / 2 - 100);
    combo->SetDropBoxSize(SIZE{0, 20000});
    for (int i = 0; i < 200; ++i) {
        auto* row = new CListLabelElementUI;
        row->SetFixedHeight(24);
        combo->Add(row);
    }
    host->Click(CenterOf(combo));
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    rc = PopupRect();
    EXPECT_EQ(rc.top, field().bottom);
    EXPECT_EQ(rc.bottom, work.bottom);
    close();
}

TEST(ComboScale, AComboWithoutFixedHeightAndItsDropBoxInsetScaleWithTheWindow)
{
    constexpr wchar_t kFlow[] =
        L"<Window size=\"300,200\"><VerticalLayout>"
        L"<Combo name=\"combo\" width=\"150\" dropboxinset=\"0,10,0,0\">"
        L"<ListLabelElement text=\"A\" height=\"24\"/><ListLabelElement text=\"B\" height=\"24\"/>"
        L"</Combo><Control/></VerticalLayout></Window>";
    struct Measured {
        int width, extra, popup;
    };
    const auto measure = [&](int dpi) {
        Measured m = {};
        PopupHost host(kFlow, RECT{20, 20, 320, 220}, dpi);
        auto* combo = static_cast<CComboUI*>(host.Find(L"combo"));
        if (combo == nullptr)
            return m;
        const RECT pos = combo->GetPos();
        m.width = pos.right - pos.left;
        m.extra = pos.bottom - pos.top - host.Manager().GetDefaultFontInfo()->metrics.tmHeight;
        host.Click(CenterOf(combo));
        if (combo->GetDropWindow() != nullptr) {
            RECT rc = {};
            ::GetWindowRect(combo->GetDropWindow()->GetHandle(), &rc);
            m.popup = rc.bottom - rc.top;
            KeyWindow(combo->GetDropWindow()->GetHandle(), VK_ESCAPE);
        }
        PumpMessages();
        return m;
    };
    const Measured normal = measure(96);
    const Measured doubled = measure(192);
    EXPECT_EQ(normal.width, 150);
    EXPECT_EQ(normal.extra, 12);
    EXPECT_EQ(normal.popup, 10 + 2 * 24 + 4);
    EXPECT_EQ(doubled.width, 300);
    EXPECT_EQ(doubled.extra, 24);
    EXPECT_EQ(doubled.popup, 2 * normal.popup);
}
