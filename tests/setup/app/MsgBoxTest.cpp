// The message box driven by real clicks and keys while it runs modally.
#include "AppTestSupport.h"
#include "ZVMsgBox.h"

#include <gtest/gtest.h>

#include "control/ControlUI.h"
#include "layout/ContainerUI.h"

using namespace ZvUI;
using apptest::CTimerScript;

namespace {

int ShowPlainBox(LPCWSTR first, LPCWSTR second, CTimerScript::Step step)
{
    CTimerScript script(std::move(step));
    return ShowZVMsgBox(nullptr, kZvWindowCaption, L"确定关闭？", L"关闭后将中断安装流程", first, second, nullptr,
                        kZvWindowStyle, kZvWindowExStyle, true);
}

bool IsShown(CPaintManagerUI& pm, LPCWSTR name)
{
    CControlUI* control = pm.FindControl(name);
    return control != nullptr && control->IsVisible();
}

// A host for the dimmed box: a plain window of the program with a container root.
class HostWindow : public CZVObjectWnd {
public:
    HostWindow()
    {
        m_skinFile = L"<Window size=\"400,300\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\" "
                     L"borderround=\"8,8\"><Label name=\"body\"/></VerticalLayout></Window>";
        m_className = L"zvdimhost";
    }
    void OnFinalMessage(HWND window) override
    {
        WindowImplBase::OnFinalMessage(window);
        DeleteWhenUnwound(this);
    }
};

} // namespace

TEST(MsgBox, EachButtonEndsTheBoxWithItsResult)
{
    struct Case {
        LPCWSTR control;
        int result;
    };
    for (const Case& c : {Case{L"okBtn", 1}, Case{L"cancelBtn", 2}, Case{L"closebtn", 0}})
        EXPECT_EQ(ShowPlainBox(L"确定", L"取消", apptest::ClickInMsgBox(c.control)), c.result) << c.control;
    EXPECT_EQ(apptest::FindMsgBox(), nullptr);
}

TEST(MsgBox, TextsAndCaptionsFillTheSkin)
{
    CUIString title, message, first, second;
    const int result = ShowPlainBox(L"重试", L"放弃", [&] {
        CPaintManagerUI* pm = apptest::ManagerOf(apptest::FindMsgBox());
        if (pm == nullptr)
            return false;
        title = pm->FindControl(L"zv_txt_title")->GetText();
        message = pm->FindControl(L"zv_txt_msg")->GetText();
        first = pm->FindControl(L"okBtn")->GetText();
        second = pm->FindControl(L"cancelBtn")->GetText();
        return apptest::PostClick(*pm, L"okBtn");
    });
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(title, L"确定关闭？");
    EXPECT_STREQ(message, L"关闭后将中断安装流程");
    EXPECT_STREQ(first, L"重试");
    EXPECT_STREQ(second, L"放弃");
}

TEST(MsgBox, WithoutCaptionsOnlyTheCloseButtonRemains)
{
    bool okShown = true, cancelShown = true, closeShown = false;
    const int result = ShowPlainBox(L"", L"", [&] {
        CPaintManagerUI* pm = apptest::ManagerOf(apptest::FindMsgBox());
        if (pm == nullptr)
            return false;
        okShown = IsShown(*pm, L"okBtn");
        cancelShown = IsShown(*pm, L"cancelBtn");
        closeShown = IsShown(*pm, L"closebtn");
        return apptest::PostClick(*pm, L"closebtn");
    });
    EXPECT_FALSE(okShown);
    EXPECT_FALSE(cancelShown);
    EXPECT_TRUE(closeShown);
    EXPECT_EQ(result, 0);
}

// The first tab stop, the close button, has the focus once the box is laid out, however often
// it was painted; Escape and Return themselves close nothing, and Return presses the focused
// button.
TEST(MsgBox, EscapeAndReturnCloseNothing)
{
    for (const bool focusOnClose : {false, true}) {
        int tick = 0;
        bool openAfterKeys = false;
        CUIString firstFocus;
        const int result = ShowPlainBox(L"确定", L"取消", [&] {
            const HWND box = apptest::FindMsgBox();
            CPaintManagerUI* pm = apptest::ManagerOf(box);
            if (pm == nullptr || pm->IsUpdateNeeded() || pm->FindControl(L"okBtn")->GetPos().right == 0)
                return false;
            ++tick;
            if (tick == 1) {
                // Laid out, and nothing painted it since.
                firstFocus = pm->GetFocus() != nullptr ? pm->GetFocus()->GetName() : CUIString(L"-");
                if (!focusOnClose)
                    pm->SetFocus(nullptr);
                for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                    ::PostMessageW(box, WM_KEYDOWN, key, 0);
                    ::PostMessageW(box, WM_KEYUP, key, 0xC0000001);
                }
                return false;
            }
            if (tick < 4)
                return false;
            openAfterKeys = ::IsWindowVisible(box) != FALSE;
            return apptest::PostClick(*pm, L"cancelBtn");
        });
        EXPECT_STREQ(firstFocus, L"closebtn");
        EXPECT_EQ(openAfterKeys, !focusOnClose) << "focus on the close button " << focusOnClose;
        EXPECT_EQ(result, focusOnClose ? 0 : 2);
    }
}

TEST(MsgBox, ClosedByTheSystemTheResultIsZero)
{
    const int result = ShowPlainBox(L"确定", L"取消", [] {
        const HWND box = apptest::FindMsgBox();
        if (box == nullptr)
            return false;
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(result, 0);
}

TEST(MsgBox, DimmedBoxCoversTheHostWhileItRuns)
{
    HostWindow* host = ShowZVWindow<HostWindow>(nullptr, nullptr, false, L"host", nullptr, nullptr,
                                                WS_POPUP | WS_VISIBLE, 0, 1, 0);
    ASSERT_NE(host, nullptr);
    const HWND hostWindow = host->GetHandle();
    CPaintManagerUI& pm = host->GetPaintManager();
    auto* root = static_cast<IContainerUI*>(pm.GetContentRoot()->GetInterface(L"IContainer"));
    ASSERT_NE(root, nullptr);
    const int before = root->GetCount();

    int during = 0;
    DWORD layerColor = 0;
    bool layerFloats = false;
    SIZE layerRound = {};
    bool ownerDisabled = false;
    HWND boxOwner = nullptr;
    CTimerScript script([&] {
        const HWND box = apptest::FindMsgBox();
        if (box == nullptr)
            return false;
        during = root->GetCount();
        CControlUI* layer = root->GetItemAt(during - 1);
        layerColor = layer->GetBkColor();
        layerFloats = layer->IsFloat();
        layerRound = layer->GetBorderRound();
        ownerDisabled = !::IsWindowEnabled(hostWindow);
        boxOwner = ::GetWindow(box, GW_OWNER);
        return apptest::PostClick(*apptest::ManagerOf(box), L"cancelBtn");
    });
    const int result = ShowDimmedMsgBox(pm, L"下载失败！", L"请检查网络", L"确定", L"取消");

    EXPECT_EQ(result, 2);
    EXPECT_EQ(during, before + 1);
    EXPECT_EQ(layerColor, 0x33000000u);
    EXPECT_TRUE(layerFloats);
    EXPECT_EQ(layerRound.cx, 8);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(boxOwner, hostWindow);
    EXPECT_EQ(root->GetCount(), before);
    EXPECT_TRUE(::IsWindowEnabled(hostWindow));
    ::DestroyWindow(hostWindow);
}

TEST(MsgBox, AHostDestroyedWhileTheBoxRunsIsLeftAlone)
{
    HostWindow* host = ShowZVWindow<HostWindow>(nullptr, nullptr, false, L"host", nullptr, nullptr,
                                                WS_POPUP | WS_VISIBLE, 0, 1, 0);
    ASSERT_NE(host, nullptr);
    const HWND hostWindow = host->GetHandle();
    CTimerScript script([&] {
        if (apptest::FindMsgBox() == nullptr)
            return false;
        ::PostMessageW(hostWindow, WM_CLOSE, 0, 0); // as the finish timer does
        return true;
    });
    // The host, its controls and the dimming layer are freed inside the box's modal run.
    EXPECT_EQ(ShowDimmedMsgBox(host->GetPaintManager(), L"确定关闭？", L"关闭后将中断安装流程", L"确定", L"取消"), 0);
    EXPECT_FALSE(::IsWindow(hostWindow));
    EXPECT_EQ(apptest::FindMsgBox(), nullptr);
}
