// Notification routing: message tables with base chains, named and catch-all entries, virtual windows.
#include "window/NotifyPump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ControlUI.h"

using ZvUI::CControlUI;
using ZvUI::CNotifyPump;
using ZvUI::UINotifyMessage;

namespace {

std::vector<std::string> g_log;

// A second base in front of the pump, so handlers need the pump-to-object adjustment.
class Padding {
public:
    virtual ~Padding() = default;
    int fill[5] = {1, 2, 3, 4, 5};
};

class BasePage : public Padding, public CNotifyPump {
    ZV_DECLARE_MESSAGE_TABLE(BasePage)
public:
    std::string tag = "base";

protected:
    void OnAnyTimer(UINotifyMessage&) { g_log.push_back(tag + ":timer"); }
    void OnAnyClick(UINotifyMessage&) { g_log.push_back(tag + ":click-base"); }
};

ZV_BEGIN_MESSAGE_TABLE(BasePage, CNotifyPump)
ZV_ON_NOTIFY(L"timer", OnAnyTimer)
ZV_ON_NOTIFY(L"click", OnAnyClick)
ZV_END_MESSAGE_TABLE()

class Page : public BasePage {
    ZV_DECLARE_MESSAGE_TABLE(Page)
public:
    WPARAM lastW = 0;
    LPARAM lastL = 0;

private:
    void OnFirstCatchAll(UINotifyMessage&) { g_log.push_back(tag + ":click-any-1"); }
    void OnInstall(UINotifyMessage& msg)
    {
        g_log.push_back(tag + ":click-install");
        EXPECT_EQ(fill[4], 5);  // the object, not the pump subobject
        EXPECT_NE(msg.sender, nullptr);
    }
    void OnLastCatchAll(UINotifyMessage&) { g_log.push_back(tag + ":click-any-2"); }
    void OnSelect(WPARAM w, LPARAM l)
    {
        lastW = w;
        lastL = l;
        g_log.push_back(tag + ":select");
    }
};

ZV_BEGIN_MESSAGE_TABLE(Page, BasePage)
ZV_ON_NOTIFY(L"click", OnFirstCatchAll)
ZV_ON_NOTIFY_CTRL(L"click", L"installBtn", OnInstall)
ZV_ON_NOTIFY(L"click", OnLastCatchAll)
ZV_ON_NOTIFY_PARAMS(L"selectchanged", L"", OnSelect)
ZV_END_MESSAGE_TABLE()

// The window that owns the pages; it registers them as virtual windows.
class Frame : public CNotifyPump {
    ZV_DECLARE_MESSAGE_TABLE(Frame)
private:
    void OnClick(UINotifyMessage&) { g_log.push_back("frame:click"); }
    void OnWindowInit(UINotifyMessage&) { g_log.push_back("frame:windowinit"); }
};

ZV_BEGIN_MESSAGE_TABLE(Frame, CNotifyPump)
ZV_ON_NOTIFY(L"click", OnClick)
ZV_ON_NOTIFY(L"windowinit", OnWindowInit)
ZV_END_MESSAGE_TABLE()

UINotifyMessage Make(const wchar_t* type, CControlUI* sender, const wchar_t* vwnd = L"")
{
    UINotifyMessage msg;
    msg.type = type;
    msg.sender = sender;
    msg.virtualWnd = vwnd;
    return msg;
}

} // namespace

TEST(NotifyPump, NamedEntryBeatsCatchAllAndTheLastCatchAllWins)
{
    Page page;
    CControlUI install;
    install.SetName(L"installBtn");
    CControlUI other;
    other.SetName(L"closebtn");
    CControlUI wrongCase;
    wrongCase.SetName(L"INSTALLBTN");

    const struct {
        CControlUI* sender;
        const char* expected;
    } rows[] = {
        {&install, "base:click-install"},
        {&other, "base:click-any-2"},
        {&wrongCase, "base:click-any-2"},
        {nullptr, "base:click-any-2"},
    };
    for (const auto& row : rows) {
        g_log.clear();
        UINotifyMessage msg = Make(L"click", row.sender);
        EXPECT_TRUE(page.RouteNotify(msg));
        EXPECT_EQ(g_log, (std::vector<std::string>{row.expected}));
    }
}

TEST(NotifyPump, BaseTableAnswersWhatTheClassLeavesOut)
{
    Page page;
    g_log.clear();
    UINotifyMessage timer = Make(L"timer", nullptr);
    EXPECT_TRUE(page.RouteNotify(timer));
    EXPECT_EQ(g_log, (std::vector<std::string>{"base:timer"}));

    // Types are matched case-sensitively; nothing handles these.
    UINotifyMessage upper = Make(L"Click", nullptr);
    EXPECT_FALSE(page.RouteNotify(upper));
    UINotifyMessage unknown = Make(L"windowinit", nullptr);
    EXPECT_FALSE(page.DispatchByMessageTable(unknown));

    CNotifyPump bare;
    UINotifyMessage click = Make(L"click", nullptr);
    EXPECT_FALSE(bare.RouteNotify(click));
}

TEST(NotifyPump, ParamsHandlerGetsWParamAndLParam)
{
    Page page;
    UINotifyMessage msg = Make(L"selectchanged", nullptr);
    msg.wParam = 2;
    msg.lParam = 77;
    EXPECT_TRUE(page.RouteNotify(msg));
    EXPECT_EQ(page.lastW, 2u);
    EXPECT_EQ(page.lastL, 77);
}

TEST(NotifyPump, VirtualWindowsRouteIgnoringCaseThenFallBack)
{
    Frame frame;
    Page page0;
    page0.tag = "page0";
    Page page1;
    page1.tag = "page1";
    EXPECT_TRUE(frame.RegisterVirtualWindow(L"page0", &page0));
    EXPECT_TRUE(frame.RegisterVirtualWindow(L"page1", &page1));
    // A taken name keeps the first pump.
    EXPECT_FALSE(frame.RegisterVirtualWindow(L"page0", &page1));

    CControlUI install;
    install.SetName(L"installBtn");
    const struct {
        const wchar_t* type;
        const wchar_t* vwnd;
        const char* expected;
    } rows[] = {
        {L"click", L"page0", "page0:click-install"},
        {L"click", L"PAGE1", "page1:click-install"},
        {L"click", L"", "frame:click"},
        {L"click", L"nosuchpage", "frame:click"},
        // The page has no entry: the frame's own table is tried next.
        {L"windowinit", L"Page0", "frame:windowinit"},
    };
    for (const auto& row : rows) {
        g_log.clear();
        UINotifyMessage msg = Make(row.type, &install, row.vwnd);
        EXPECT_TRUE(frame.RouteNotify(msg)) << row.expected;
        EXPECT_EQ(g_log, (std::vector<std::string>{row.expected}));
    }

    EXPECT_TRUE(frame.UnregisterVirtualWindow(L"page0"));
    EXPECT_FALSE(frame.UnregisterVirtualWindow(L"page0"));
    g_log.clear();
    UINotifyMessage msg = Make(L"click", &install, L"page0");
    EXPECT_TRUE(frame.RouteNotify(msg));
    EXPECT_EQ(g_log, (std::vector<std::string>{"frame:click"}));
    // After unregistering, the name is free again.
    EXPECT_TRUE(frame.RegisterVirtualWindow(L"page0", &page1));
}
