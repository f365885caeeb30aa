// Flash control: no Flash object is registered here, so creation fails cleanly; handler references.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "HostTestSupport.h"
#include "activex/FlashUI.h"

using namespace ZvUI;

namespace {

class CountingFlashHandler : public IFlashHandler {
public:
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    HRESULT OnReadyStateChange(CFlashUI*, long) override { return Called(); }
    HRESULT OnProgress(CFlashUI*, long) override { return Called(); }
    HRESULT FSCommand(CFlashUI*, BSTR, BSTR) override { return Called(); }
    HRESULT FlashCall(CFlashUI*, BSTR) override { return Called(); }
    HRESULT Called()
    {
        ++calls;
        return S_OK;
    }
    long refs = 1;
    int calls = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class Flash : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};

TEST_F(Flash, MissingFlashObjectLeavesAnEmptyControl)
{
    auto wnd = std::make_unique<HostWindow>(
        L"<Window size=\"300,200\"><VerticalLayout><Flash name=\"flash\" width=\"200\" height=\"100\"/>"
        L"</VerticalLayout></Window>");
    ASSERT_TRUE(wnd->Open());
    auto* flash = wnd->Find<CFlashUI>(L"flash");
    ASSERT_NE(flash, nullptr);
    EXPECT_STREQ(flash->GetClass(), L"FlashUI");
    EXPECT_EQ(flash->GetInterface(L"flash"), flash);
    wchar_t id[64] = {};
    ::StringFromGUID2(flash->GetClassId(), id, 64);
    EXPECT_STREQ(id, L"{D27CDB6E-AE6D-11CF-96B8-444553540000}");

    // The first layout tried the creation; it failed and nothing was put in its place.
    EXPECT_EQ(flash->GetShockwaveFlash(), nullptr);
    EXPECT_EQ(flash->GetHostWindow(), nullptr);
    IUnknown* object = nullptr;
    EXPECT_EQ(flash->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), E_PENDING);
    EXPECT_EQ(wnd->Count(L"showactivex"), 0);
    int children = 0;
    ::EnumChildWindows(*wnd, CountChild, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 0);
    EXPECT_EQ(flash->RegisterEventHandler(true), S_FALSE);
    EXPECT_FALSE(flash->CreateHostedControl());
    MSG msg = {*wnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(flash->TranslateAccelerator(&msg), E_NOTIMPL);

    CloseHost(wnd);
}

TEST_F(Flash, HandlerIsHeldOnceAndReleasedOnceAndNeverCalledByEvents)
{
    CountingFlashHandler handler;
    {
        CFlashUI flash;
        flash.SetFlashEventHandler(&handler);
        EXPECT_EQ(handler.refs, 2);
        // The same handler again must not drop the only reference the control holds.
        flash.SetFlashEventHandler(&handler);
        EXPECT_EQ(handler.refs, 2);

        // The sink swallows every event.
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        EXPECT_EQ(flash.Invoke(0x7a6, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(handler.calls, 0);

        IUnknown* sink = nullptr;
        const IID events = {0xd27cdb6d, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
        EXPECT_EQ(flash.QueryInterface(events, reinterpret_cast<void**>(&sink)), S_OK);
        EXPECT_EQ(sink->Release(), 0u) << "a count of 0 frees nothing";
        EXPECT_STREQ(flash.GetClass(), L"FlashUI");
    }
    EXPECT_EQ(handler.refs, 1) << "destroying the control released the handler once";

    CFlashUI flash;
    flash.SetFlashEventHandler(&handler);
    flash.SetFlashEventHandler(nullptr);
    EXPECT_EQ(handler.refs, 1);
}

} // namespace
