// ActiveX host on real windows: the test control hosted windowless and windowed from layout text.
#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "../../support/AccessViolationWatch.h"
#include "HostTestSupport.h"
#include "activex/ActiveXUI.h"
#include "activex/FlashUI.h"
#include "activex/WebBrowserUI.h"

using namespace ZvUI;

namespace {

std::wstring Layout(const CLSID& clsid, LPCWSTR module, LPCWSTR extra = L"")
{
    std::wstring ax = L"<ActiveX name=\"ax\" clsid=\"" + ClsidText(clsid) + L"\"";
    if (module != nullptr)
        ax += std::wstring(L" modulename=\"") + module + L"\"";
    return L"<Window size=\"400,300\"><VerticalLayout inset=\"10,20,10,10\">" + ax +
           L" width=\"200\" height=\"100\" " + extra +
           L"/><Button name=\"other\" height=\"30\"/></VerticalLayout></Window>";
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

class ActiveXHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        ASSERT_NE(TestStats(), nullptr) << "AxTestServer.dll must sit beside the test program";
        ResetTestStats();
        m_liveBefore = TestStats()->liveObjects;
    }
    void TearDown() override
    {
        Close();
        ::OleUninitialize();
    }
    HostWindow& Open(const std::wstring& layout)
    {
        m_wnd = std::make_unique<HostWindow>(layout);
        EXPECT_TRUE(m_wnd->Open());
        return *m_wnd;
    }
    void Close() { CloseHost(m_wnd); }
    LONG Live() const { return TestStats()->liveObjects - m_liveBefore; }

    std::unique_ptr<HostWindow> m_wnd;
    LONG m_liveBefore = 0;
};

TEST_F(ActiveXHost, WindowlessControlIsCreatedOnFirstLayoutAndSized)
{
    auto* ax = new CActiveXUI();
    ax->SetAttribute(L"clsid", ClsidText(kCLSID_AxTestWindowless).c_str());
    ax->SetAttribute(L"modulename", L"AxTestServer.dll");
    EXPECT_EQ(Live(), 0) << "creation waits for the first layout";
    delete ax;

    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    AxTestStats& stats = *TestStats();
    EXPECT_EQ(Live(), 1);
    EXPECT_TRUE(stats.windowless);
    EXPECT_EQ(host->GetHostWindow(), wnd.GetPaintManager().GetWindowHandle());
    EXPECT_EQ(wnd.Count(L"showactivex"), 1);
    EXPECT_EQ(stats.initNewCalls, 1);
    EXPECT_TRUE(stats.siteSetBeforeInitNew) << "the object asked for its site first";
    EXPECT_TRUE(stats.sameFrameEachTime) << "one in-place frame per site";

    const RECT item = host->GetPos();
    EXPECT_EQ(item.right - item.left, 200);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(stats.extent.cx, ::MulDiv(2540, 200, dpiX));
    EXPECT_EQ(stats.extent.cy, ::MulDiv(2540, 100, dpiY));
    EXPECT_TRUE(::EqualRect(&stats.objectRect, &item));

    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(stats.draws, 0);
    EXPECT_TRUE(::EqualRect(&stats.lastDraw, &item)) << "drawn into the window surface at its item";
}

TEST_F(ActiveXHost, WindowlessControlGetsClicksKeysAndFocusThroughTheManager)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    AxTestStats& stats = *TestStats();
    const RECT item = host->GetPos();
    const int cx = (item.left + item.right) / 2;
    const int cy = (item.top + item.bottom) / 2;

    // A key before the control has the framework focus stays with the window.
    ::SendMessageW(wnd, WM_CHAR, L'x', 0);
    EXPECT_EQ(stats.charCount, 0);

    // The object takes the focus through its site on a click; the host turns that into the
    // framework's focus (the first layout gave it to the button, the first tab stop).
    const int focusedBefore = wnd.Count(L"setfocus");
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(cx, cy));
    EXPECT_EQ(stats.clicks, 1);
    EXPECT_EQ(wnd.GetPaintManager().GetFocus(), host);
    EXPECT_EQ(wnd.Count(L"setfocus"), focusedBefore + 1);

    // While it holds the capture it sees the mouse anywhere.
    const LONG mouseBefore = stats.mouseMessages;
    ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(2, 280));
    EXPECT_EQ(stats.mouseMessages, mouseBefore + 1);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, At(cx, cy));

    // Without the capture a point outside its hit area never reaches it.
    const LONG outsideBefore = stats.mouseMessages;
    ::SendMessageW(wnd, WM_MOUSEMOVE, 0, At(2, 280));
    stats.hitAnswer = HITRESULT_OUTSIDE;
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(cx, cy));
    EXPECT_EQ(stats.mouseMessages, outsideBefore);
    EXPECT_EQ(stats.clicks, 1);
    stats.hitAnswer = HITRESULT_HIT;

    ::SendMessageW(wnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageW(wnd, WM_CHAR, L'a', 0);
    EXPECT_EQ(stats.keyDowns, 1);
    EXPECT_EQ(std::wstring(stats.chars), L"a");

    // Another control takes the focus: keys no longer go to the object.
    wnd.Find<CControlUI>(L"other")->SetFocus();
    ::SendMessageW(wnd, WM_CHAR, L'b', 0);
    EXPECT_EQ(std::wstring(stats.chars), L"a");

    // The wheel's point is on the screen; it still finds the object under it.
    ::SetWindowPos(wnd, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ::SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), At(cx + 100, cy + 100));
    EXPECT_EQ(stats.wheels, 1);

    // A disabled mouse leaves the object out of mouse traffic.
    host->SetMouseEnabled(false);
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(cx, cy));
    EXPECT_EQ(stats.clicks, 1);
}

TEST_F(ActiveXHost, AHiddenOrDisabledWindowlessObjectGetsNoClicks)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    AxTestStats& stats = *TestStats();
    const RECT item = host->GetPos();
    const LPARAM at = At((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    const auto click = [&] {
        ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
    };
    host->SetEnabled(false);
    click();
    EXPECT_EQ(stats.clicks, 0);
    host->SetEnabled(true);
    host->SetVisible(false);
    click();
    EXPECT_EQ(stats.clicks, 0);
    host->SetVisible(true);
    click();
    EXPECT_EQ(stats.clicks, 1);
}

TEST_F(ActiveXHost, ADisabledWindowedObjectHasItsWindowDisabled)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->GetHostWindow(), nullptr);
    host->SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(host->GetHostWindow()));
    ASSERT_TRUE(host->CreateHostedControl());
    ASSERT_NE(host->GetHostWindow(), nullptr);
    EXPECT_FALSE(::IsWindowEnabled(host->GetHostWindow())) << "made again while disabled";
    host->SetEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(host->GetHostWindow()));
}

TEST_F(ActiveXHost, PropertyChangeRepaintsThroughTheSite)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    Pump();
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(host->GetHostedControl(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    const LONG drawsBefore = TestStats()->draws;

    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = ::SysAllocString(L"hello");
    EXPECT_EQ(CWebBrowserUI::SetProperty(dispatch, L"Caption", &value), S_OK);
    ::VariantClear(&value);
    EXPECT_EQ(std::wstring(TestStats()->caption), L"hello");

    VARIANT read;
    ::VariantInit(&read);
    EXPECT_EQ(CWebBrowserUI::GetProperty(dispatch, L"Caption", &read), S_OK);
    EXPECT_EQ(std::wstring(V_BSTR(&read)), L"hello");
    ::VariantClear(&read);
    EXPECT_EQ(CWebBrowserUI::GetProperty(dispatch, L"NoSuchName", &read), E_FAIL);
    dispatch->Release();

    // The object invalidated the manager's window: the next paint draws it again.
    EXPECT_TRUE(PumpUntil([&] { return TestStats()->draws > drawsBefore; }, 2000));
    HDC hdc = ::GetDC(wnd);
    const RECT item = host->GetPos();
    const COLORREF pixel = ::GetPixel(hdc, item.left + 5, item.top + 5);
    ::ReleaseDC(wnd, hdc);
    EXPECT_EQ(pixel, RGB(0, 0, 255));
}

TEST_F(ActiveXHost, WindowedControlLivesInAChildWindowOverItsItem)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    AxTestStats& stats = *TestStats();
    HWND child = host->GetHostWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(stats.windowless);
    EXPECT_EQ(::GetParent(child), static_cast<HWND>(wnd));
    wchar_t cls[32] = {};
    ::GetClassNameW(child, cls, 32);
    EXPECT_STREQ(cls, L"ActiveXWnd");
    EXPECT_EQ(::GetParent(stats.ownWindow), child);

    RECT placed = {};
    ::GetWindowRect(child, &placed);
    ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&placed), 2);
    const RECT item = host->GetPos();
    EXPECT_TRUE(::EqualRect(&placed, &item));
    EXPECT_EQ(stats.objectRect.left, 0) << "object rectangles are relative to the host window";
    EXPECT_EQ(stats.objectRect.right, item.right - item.left);

    ::SetFocus(stats.ownWindow);
    ::SendMessageW(stats.ownWindow, WM_CHAR, L'k', 0);
    EXPECT_EQ(std::wstring(stats.chars), L"k");
    EXPECT_GE(stats.windowFocusGained, 1);

    host->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(child));
    host->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(child));

    // In-place deactivation destroys the host window and forgets its handle.
    IOleInPlaceObject* inPlace = nullptr;
    ASSERT_EQ(host->GetHostedControl(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)), S_OK);
    inPlace->InPlaceDeactivate();
    inPlace->Release();
    EXPECT_FALSE(::IsWindow(child));
    EXPECT_EQ(host->GetHostWindow(), nullptr);
}

TEST_F(ActiveXHost, TreeDestroyedWhileTheObjectStillHoldsTheSite)
{
    TestStats()->holdSite = true;
    Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    ASSERT_EQ(Live(), 1);
    Close();
    // The site outlived its control: late calls are refused, and its last release frees it
    // together with the drawing reference it kept on the object.
    ReleaseHeldSite();
    EXPECT_EQ(TestStats()->lateCallResult, E_UNEXPECTED);
    EXPECT_EQ(TestStats()->lateReleaseResult, 0);
    EXPECT_EQ(Live(), 0);
}

TEST_F(ActiveXHost, ObjectThatReleasesItsSiteOnceTooOftenIsTornDownSafely)
{
    for (int round = 0; round < 2; ++round) {
        ResetTestStats();
        HostWindow& wnd = Open(Layout(kCLSID_AxTestMediaLike, L"AxTestServer.dll"));
        auto* host = wnd.Find<CActiveXUI>(L"ax");
        ASSERT_NE(host, nullptr);
        ASSERT_EQ(Live(), 1);
        EXPECT_FALSE(TestStats()->windowless);
        HWND child = host->GetHostWindow();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(::GetParent(TestStats()->ownWindow), child);

        // The window goes first, then the tree: the site the object freed is not touched, and
        // the frame it kept no longer reaches the deleted control.
        ::DestroyWindow(wnd);
        Close();
        EXPECT_FALSE(::IsWindow(child));
        CallHeldFrame();
        EXPECT_EQ(TestStats()->lateFrameResult, E_UNEXPECTED);
        EXPECT_EQ(Live(), 0);
    }
}

TEST_F(ActiveXHost, WindowedSiteWithoutAHostWindowHandsOutNoDC)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    IOleObject* object = nullptr;
    ASSERT_EQ(host->GetHostedControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    IOleClientSite* client = nullptr;
    object->GetClientSite(&client);
    ASSERT_NE(client, nullptr);
    IOleInPlaceSiteWindowless* site = nullptr;
    ASSERT_EQ(client->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site)), S_OK);

    HDC hdc = nullptr;
    ASSERT_EQ(site->GetDC(nullptr, 0, &hdc), S_OK);
    EXPECT_EQ(::WindowFromDC(hdc), host->GetHostWindow());
    site->ReleaseDC(hdc);

    IOleInPlaceObject* inPlace = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)), S_OK);
    inPlace->InPlaceDeactivate();
    inPlace->Release();
    ASSERT_EQ(host->GetHostWindow(), nullptr);
    hdc = reinterpret_cast<HDC>(1);
    EXPECT_TRUE(FAILED(site->GetDC(nullptr, OLEDC_PAINTBKGND, &hdc))) << "not the screen's DC";
    EXPECT_EQ(hdc, nullptr);

    site->Release();
    client->Release();
    object->Release();
}

TEST_F(ActiveXHost, ThousandCreationsLeaveNoHandlesOrObjectsBehind)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    HANDLE process = ::GetCurrentProcess();
    for (const CLSID& clsid : {kCLSID_AxTestWindowed, kCLSID_AxTestWindowless}) {
        host->SetClassId(clsid);
        ASSERT_TRUE(host->CreateHostedControl());
        const DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
        const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
        for (int i = 0; i < 1000; ++i)
            ASSERT_TRUE(host->CreateHostedControl()) << i;
        Pump(10);
        EXPECT_EQ(Live(), 1);
        EXPECT_LE(::GetGuiResources(process, GR_GDIOBJECTS), gdi + 2);
        EXPECT_LE(::GetGuiResources(process, GR_USEROBJECTS), user + 2);
    }
}

TEST_F(ActiveXHost, SiteContainerAnswers)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    IOleObject* object = nullptr;
    ASSERT_EQ(host->GetHostedControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    IOleClientSite* site = nullptr;
    object->GetClientSite(&site);
    ASSERT_NE(site, nullptr);

    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &items), S_OK);
    IUnknown* first = nullptr;
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(1, &first, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    IUnknown* second = nullptr;
    EXPECT_EQ(items->Next(1, &second, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(second, nullptr);
    if (first != nullptr)
        first->Release();
    items->Release();
    container->Release();

    IOleControlSite* control = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&control)), S_OK);
    IDispatch* extended = nullptr;
    EXPECT_EQ(control->GetExtendedControl(&extended), S_OK);
    if (extended != nullptr)
        extended->Release();
    EXPECT_EQ(control->GetExtendedControl(nullptr), E_POINTER);
    control->Release();

    IOleInPlaceSiteWindowless* windowless = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless)),
              S_OK);
    HDC hdc = nullptr;
    EXPECT_EQ(windowless->GetDC(nullptr, 0, &hdc), S_FALSE) << "a windowless object draws on paint only";
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    ASSERT_EQ(windowless->GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
    EXPECT_EQ(info.hwndFrame, static_cast<HWND>(wnd));
    EXPECT_EQ(frame->RequestBorderSpace(nullptr), INPLACE_E_NOTOOLSPACE);
    frame->Release();
    windowless->Release();

    site->Release();
    object->Release();
}

TEST_F(ActiveXHost, ModuleIsNotTakenFromTheCurrentDirectory)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zv_ax_cwd";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\AxCwdOnly.dll";
    ASSERT_TRUE(::CopyFileW(BesideProgram(L"AxTestServer.dll").c_str(), copy.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder.c_str());

    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowless, L"AxCwdOnly.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    IUnknown* object = nullptr;
    EXPECT_EQ(host->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), E_PENDING);
    EXPECT_EQ(::GetModuleHandleW(L"AxCwdOnly.dll"), nullptr);

    // A full path names the module explicitly and is honoured.
    host->SetModuleName(copy.c_str());
    EXPECT_TRUE(host->CreateHostedControl());
    EXPECT_EQ(host->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    if (object != nullptr)
        object->Release();
    Close();
    ::SetCurrentDirectoryW(previous);
}

TEST_F(ActiveXHost, ClassIdsThatNameNothingLeaveTheControlInert)
{
    const std::wstring layout =
        L"<Window size=\"400,300\"><VerticalLayout>"
        L"<ActiveX name=\"null\" clsid=\"{00000000-0000-0000-0000-000000000000}\" width=\"50\" height=\"50\"/>"
        L"<ActiveX name=\"progid\" clsid=\"Zv.NoSuchControl.1\" width=\"50\" height=\"50\"/>"
        L"<ActiveX name=\"upper\" CLSID=\"" + ClsidText(kCLSID_AxTestWindowless) +
        L"\" modulename=\"AxTestServer.dll\" width=\"50\" height=\"50\"/>"
        L"</VerticalLayout></Window>";
    HostWindow& wnd = Open(layout);
    for (LPCWSTR name : {L"null", L"progid", L"upper"}) {
        auto* host = wnd.Find<CActiveXUI>(name);
        ASSERT_NE(host, nullptr) << name;
        EXPECT_TRUE(::IsEqualGUID(host->GetClassId(), GUID_NULL)) << name;
        IUnknown* object = nullptr;
        EXPECT_EQ(host->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), E_PENDING) << name;
    }
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(wnd.Count(L"showactivex"), 0);
}

TEST_F(ActiveXHost, ClassRegisteredWithComIsCreatedByItsIdAlone)
{
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    HMODULE server = ::GetModuleHandleW(L"AxTestServer.dll");
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(server, "DllGetClassObject")));
    ASSERT_NE(getClassObject, nullptr);
    IUnknown* factory = nullptr;
    ASSERT_EQ(getClassObject(kCLSID_AxTestWindowed, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(::CoRegisterClassObject(kCLSID_AxTestWindowed, factory, CLSCTX_INPROC_SERVER,
                                      REGCLS_MULTIPLEUSE, &cookie),
              S_OK);

    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, nullptr));
    EXPECT_EQ(Live(), 1);
    EXPECT_NE(wnd.Find<CActiveXUI>(L"ax")->GetHostWindow(), nullptr);
    Close();
    EXPECT_EQ(Live(), 0);
    ::CoRevokeClassObject(cookie);
}

TEST_F(ActiveXHost, LayeredWindowPrintsTheHostWindowItAttached)
{
    std::wstring layout = Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll");
    layout.replace(layout.find(L"<Window "), 8, L"<Window layered=\"true\" ");
    HostWindow& wnd = Open(layout);
    ASSERT_TRUE(wnd.GetPaintManager().IsLayered());
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    HWND child = host->GetHostWindow();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(wnd.GetPaintManager().GetChildWindowCount(), 1);
    EXPECT_EQ(wnd.GetPaintManager().GetChildWindow(0), child);

    // A layered window shows the object only through the host window's WM_PRINT.
    const LONG drawsBefore = TestStats()->draws;
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(TestStats()->draws, drawsBefore);
    EXPECT_EQ(TestStats()->lastDraw.left, 0) << "drawn over the host window's client area";

    IOleInPlaceObject* inPlace = nullptr;
    ASSERT_EQ(host->GetHostedControl(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)), S_OK);
    inPlace->InPlaceDeactivate();
    inPlace->Release();
    EXPECT_EQ(wnd.GetPaintManager().GetChildWindowCount(), 0);
}

} // namespace

// --- a "showactivex" handler that lets the object go ---

namespace {

// Releases the hosted object from its own "showactivex", or releases it and creates another.
class ReleasingHost : public HostWindow {
public:
    ReleasingHost(std::wstring skin, bool recreate) : HostWindow(std::move(skin)), m_recreate(recreate) {}
    void Notify(UINotifyMessage& msg) override
    {
        HostWindow::Notify(msg);
        if (msg.type != L"showactivex" || m_busy)
            return;
        auto* host = static_cast<CActiveXUI*>(msg.sender->GetInterface(L"ActiveX"));
        m_busy = true;
        if (m_recreate)
            recreated = host->CreateHostedControl();
        else
            host->ReleaseHostedControl();
        m_busy = false;
    }
    bool recreated = false;

private:
    bool m_recreate;
    bool m_busy = false;
};

} // namespace

TEST_F(ActiveXHost, ShowHandlerThatReleasesTheObjectEndsCreationCleanly)
{
    const std::wstring attributes = L" name=\"ax\" clsid=\"" + ClsidText(kCLSID_AxTestWindowed) +
                                    L"\" modulename=\"AxTestServer.dll\" width=\"200\" height=\"100\"/><Button name=\"other\" height=\"30\"/>";
    // The web browser and Flash controls create through the same host.
    for (LPCWSTR tag : {L"ActiveX", L"WebBrowser", L"Flash"}) {
        SCOPED_TRACE(testing::Message() << tag);
        AccessViolationWatch watch;
        const std::wstring layout = std::wstring(L"<Window size=\"400,300\"><VerticalLayout><") + tag +
                                    attributes + L"</VerticalLayout></Window>";
        m_wnd = std::make_unique<ReleasingHost>(layout, false);
        ASSERT_TRUE(m_wnd->Open());
        auto* host = static_cast<CActiveXUI*>(m_wnd->GetPaintManager().FindControl(L"ax"));
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(m_wnd->Count(L"showactivex"), 1);
        IUnknown* object = nullptr;
        EXPECT_EQ(host->GetHostedControl(IID_IUnknown, reinterpret_cast<void**>(&object)), E_PENDING);
        EXPECT_EQ(host->GetHostWindow(), nullptr);
        EXPECT_EQ(Live(), 0);
        // The layout pass was not abandoned: the control below is placed.
        EXPECT_GT(m_wnd->GetPaintManager().FindControl(L"other")->GetPos().bottom, 0);
        if (auto* web = static_cast<CWebBrowserUI*>(host->GetInterface(L"WebBrowser")))
            EXPECT_EQ(web->GetWebBrowser2(), nullptr);
        Close();
        EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
    }
}

TEST_F(ActiveXHost, WindowedObjectCreatedWhileHiddenKeepsItsWindowHidden)
{
    HostWindow& wnd = Open(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"));
    auto* host = wnd.Find<CActiveXUI>(L"ax");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->GetHostWindow(), nullptr);
    host->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(host->GetHostWindow()));
    // Made again while hidden: the new window follows the control, not the object's style.
    ASSERT_TRUE(host->CreateHostedControl());
    ASSERT_NE(host->GetHostWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(host->GetHostWindow()));
    host->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(host->GetHostWindow()));
    // A DPI change lays the page out again, and the window follows the control.
    wnd.GetPaintManager().ApplyDpi(192);
    Pump(100);
    RECT rc = {};
    ::GetWindowRect(host->GetHostWindow(), &rc);
    ::MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, host->GetPos().left);
    EXPECT_EQ(rc.top, host->GetPos().top);
    EXPECT_EQ(rc.right, host->GetPos().right);
    EXPECT_EQ(rc.bottom - rc.top, 200) << "the control's 100 at 200 %";
}

TEST_F(ActiveXHost, ShowHandlerThatReplacesTheObjectLeavesOnlyTheNewOne)
{
    AccessViolationWatch watch;
    auto wnd = std::make_unique<ReleasingHost>(Layout(kCLSID_AxTestWindowed, L"AxTestServer.dll"), true);
    ReleasingHost& host = *wnd;
    m_wnd = std::move(wnd);
    ASSERT_TRUE(m_wnd->Open());
    auto* ax = m_wnd->Find<CActiveXUI>(L"ax");
    ASSERT_NE(ax, nullptr);
    EXPECT_TRUE(host.recreated);
    EXPECT_EQ(Live(), 1);
    EXPECT_NE(ax->GetHostWindow(), nullptr) << "the replacement was activated in place";
    Close();
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}
