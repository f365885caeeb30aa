// The media player object the machine registers, hosted the two ways a layout can name it:
// created, shown, resized, hidden and destroyed many times in one process, at 100 % and 200 %.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "HostTestSupport.h"
#include "activex/ActiveXUI.h"
#include "manager/PaintManagerUI.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kPlayerClsid[] = L"{6BF52A52-394A-11D3-B153-00C04F79FAA6}";
constexpr int kCycles = 20;

std::wstring PlayerLayout(LPCWSTR attributes)
{
    return std::wstring(L"<Window size=\"400,300\"><VerticalLayout inset=\"10,10,10,10\">"
                        L"<ActiveX name=\"player\" ") +
           attributes + L" width=\"240\" height=\"160\"/><Button height=\"30\"/></VerticalLayout></Window>";
}

// Empty when the object is there, else why the test cannot run.
std::wstring WhyNoPlayer()
{
    CLSID clsid = GUID_NULL;
    if (FAILED(::CLSIDFromString(kPlayerClsid, &clsid)))
        return L"bad class id";
    HKEY key = nullptr;
    const std::wstring path = std::wstring(L"CLSID\\") + kPlayerClsid + L"\\InprocServer32";
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"the media player object is not registered on this machine";
    ::RegCloseKey(key);
    CLSID byName = GUID_NULL;
    if (FAILED(::CLSIDFromProgID(L"WMPlayer.OCX", &byName)) || !::IsEqualGUID(byName, clsid))
        return L"WMPlayer.OCX does not name the media player object here";
    return L"";
}

class MachineObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        const std::wstring why = WhyNoPlayer();
        if (!why.empty())
            GTEST_SKIP() << std::string(why.begin(), why.end());
    }
    void TearDown() override
    {
        CloseHost(m_wnd);
        ::OleUninitialize();
    }

    // One life of the object: created (at once or on the first layout), shown, resized, hidden,
    // and destroyed window first.
    void Cycle(LPCWSTR attributes, int dpi)
    {
        m_wnd = std::make_unique<HostWindow>(PlayerLayout(attributes));
        ASSERT_TRUE(m_wnd->Open());
        m_wnd->GetPaintManager().ApplyDpi(dpi);
        auto* player = m_wnd->Find<CActiveXUI>(L"player");
        ASSERT_NE(player, nullptr);
        ::SetWindowPos(*m_wnd, nullptr, 0, 0, 500, 380, SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(*m_wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(20);
        IUnknown* object = nullptr;
        ASSERT_EQ(player->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
        object->Release();
        EXPECT_NE(player->GetHostWindow(), nullptr);
        player->SetVisible(false);
        Pump(10);
        player->SetVisible(true);
        ::ShowWindow(*m_wnd, SW_HIDE);
        Pump(10);
        ::DestroyWindow(*m_wnd);
        CloseHost(m_wnd);
    }

    std::unique_ptr<HostWindow> m_wnd;
};

TEST_F(MachineObject, HostedByClassIdAndModuleWithDelayedCreation)
{
    const std::wstring attributes = std::wstring(L"clsid=\"") + kPlayerClsid +
                                    L"\" modulename=\"wmp.dll\" delaycreate=\"true\"";
    for (int i = 0; i < kCycles; ++i) {
        SCOPED_TRACE(i);
        Cycle(attributes.c_str(), i % 2 == 0 ? 96 : 192);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(MachineObject, HostedByProgIdCreatedAtOnce)
{
    for (int i = 0; i < kCycles; ++i) {
        SCOPED_TRACE(i);
        Cycle(L"clsid=\"WMPlayer.OCX\" delaycreate=\"false\"", i % 2 == 0 ? 96 : 192);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(MachineObject, DestroyedBeforeTheDelayedCreation)
{
    const std::wstring attributes = std::wstring(L"clsid=\"") + kPlayerClsid +
                                    L"\" modulename=\"wmp.dll\" delaycreate=\"true\"";
    for (int i = 0; i < kCycles; ++i) {
        // Never shown, so never laid out: the object is not made before the window goes.
        m_wnd = std::make_unique<HostWindow>(PlayerLayout(attributes.c_str()));
        ASSERT_NE(m_wnd->Create(nullptr, L"hosted", WS_POPUP, 0, 0, 0, 400, 300), nullptr);
        Pump(10);
        auto* player = m_wnd->Find<CActiveXUI>(L"player");
        ASSERT_NE(player, nullptr);
        IUnknown* object = nullptr;
        EXPECT_EQ(player->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), E_PENDING);
        ::DestroyWindow(*m_wnd);
        CloseHost(m_wnd);
    }
}

} // namespace
