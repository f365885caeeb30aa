// Web browser control: the system browser from a layout, its events in order, accelerators,
// and the document-host and service answers given to the browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../../support/AccessViolationWatch.h"
#include "HostTestSupport.h"
#include "activex/HostedComIds.h"
#include "activex/WebBrowserUI.h"

using namespace ZvUI;

namespace {

class RecordingHandler : public IWebBrowserHandler {
public:
    void BeforeNavigate2(CWebBrowserUI*, IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                         VARIANT_BOOL*) override
    {
        events.push_back(L"BeforeNavigate2");
        if (url != nullptr && V_VT(url) == VT_BSTR)
            firstUrl = V_BSTR(url);
    }
    void NavigateError(CWebBrowserUI*, IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) override
    {
        events.push_back(L"NavigateError");
    }
    void NavigateComplete2(CWebBrowserUI*, IDispatch*, VARIANT*) override
    {
        events.push_back(L"NavigateComplete2");
    }
    void DocumentComplete(CWebBrowserUI*, IDispatch*, VARIANT*) override
    {
        events.push_back(L"DocumentComplete");
    }
    void TitleChange(CWebBrowserUI*, BSTR text) override
    {
        events.push_back(std::wstring(L"TitleChange:") + (text != nullptr ? text : L""));
    }
    HRESULT GetHostInfo(CWebBrowserUI*, DOCHOSTUIINFO* info) override
    {
        hostFlags = info->dwFlags;
        return S_OK;
    }
    HRESULT Download(CWebBrowserUI*, IMoniker*, IBindCtx*, DWORD verb, LONG, BINDINFO*, LPCOLESTR,
                     LPCOLESTR, UINT codePage) override
    {
        downloads.push_back(verb * 1000 + codePage);
        return E_ABORT;
    }
    std::vector<std::wstring> events;
    std::wstring firstUrl;
    DWORD hostFlags = 0;
    std::vector<UINT> downloads;
};

class WebBrowser : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override
    {
        CloseHost(m_wnd);
        ::OleUninitialize();
    }
    std::unique_ptr<HostWindow> m_wnd;
};

std::wstring WritePage()
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"zv_browser_page.html";
    std::ofstream(path.c_str()) << "<html><head><title>Zv</title></head><body>page</body></html>";
    std::wstring url = L"file:///" + path;
    for (auto& ch : url)
        if (ch == L'\\')
            ch = L'/';
    return url;
}

TEST_F(WebBrowser, LayoutBrowserNavigatesToItsHomePageAndReportsEventsInOrder)
{
    const std::wstring url = WritePage();
    m_wnd = std::make_unique<HostWindow>(
        L"<Window size=\"400,300\"><VerticalLayout><WebBrowser name=\"web\" homepage=\"" + url +
        L"\" autonavi=\"true\"/></VerticalLayout></Window>");
    // The handler must be in place before the first layout creates the browser.
    RecordingHandler handler;
    ASSERT_NE(m_wnd->Create(nullptr, L"hosted", WS_POPUP, 0, 0, 0, 400, 300), nullptr);
    auto* web = m_wnd->Find<CWebBrowserUI>(L"web");
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->IsAutoNavigation());
    EXPECT_EQ(std::wstring(web->GetHomePage().GetData()), url);
    web->SetWebBrowserEventHandler(&handler);
    ::ShowWindow(*m_wnd, SW_SHOWNA);
    ::UpdateWindow(*m_wnd);

    ASSERT_NE(web->GetWebBrowser2(), nullptr) << "the system browser object is creatable";
    EXPECT_NE(web->GetHostWindow(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return handler.events.size() >= 2; }, 5000));
    ASSERT_FALSE(handler.events.empty());
    EXPECT_EQ(handler.events[0], L"BeforeNavigate2");
    // The browser reports the file URL in its own spelling.
    EXPECT_NE(handler.firstUrl.find(L"zv_browser_page.html"), std::wstring::npos) << handler.firstUrl.c_str();
    ASSERT_GE(handler.events.size(), 2u);
    // Without a browser engine the navigation fails; with one it completes.
    EXPECT_TRUE(handler.events[1] == L"NavigateError" || handler.events[1] == L"NavigateComplete2")
        << handler.events[1].c_str();
}

TEST_F(WebBrowser, AcceleratorsGoToTheBrowserOnlyWhileItHasTheFocus)
{
    m_wnd = std::make_unique<HostWindow>(
        L"<Window size=\"400,300\"><VerticalLayout><WebBrowser name=\"web\"/>"
        L"<Button name=\"other\" height=\"30\"/></VerticalLayout></Window>");
    ASSERT_TRUE(m_wnd->Open());
    auto* web = m_wnd->Find<CWebBrowserUI>(L"web");
    ASSERT_NE(web, nullptr);
    ASSERT_NE(web->GetWebBrowser2(), nullptr);
    HWND host = web->GetHostWindow();
    ASSERT_NE(host, nullptr);

    MSG click = {*m_wnd, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_EQ(web->TranslateAccelerator(&click), S_FALSE) << "not a key message";

    ::SetFocus(*m_wnd);
    MSG key = {*m_wnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(web->TranslateAccelerator(&key), S_FALSE);
    EXPECT_FALSE(m_wnd->GetPaintManager().TranslateAccelerator(&key));

    // With the focus inside the browser's window the key is the browser's to translate.
    HWND inner = host;
    while (::GetWindow(inner, GW_CHILD) != nullptr)
        inner = ::GetWindow(inner, GW_CHILD);
    ::SetFocus(inner);
    ASSERT_EQ(::GetFocus(), inner);
    key.hwnd = inner;
    IOleInPlaceActiveObject* active = nullptr;
    ASSERT_EQ(web->GetWebBrowser2()->QueryInterface(IID_IOleInPlaceActiveObject,
                                                    reinterpret_cast<void**>(&active)),
              S_OK);
    const HRESULT expected = active->TranslateAccelerator(&key);
    active->Release();
    EXPECT_EQ(web->TranslateAccelerator(&key), expected);
    EXPECT_EQ(m_wnd->GetPaintManager().TranslateAccelerator(&key), expected == S_OK);
}

TEST_F(WebBrowser, ComIdentityAndCountsNeverFreeTheControl)
{
    CWebBrowserUI web;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(web.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    IDispatch* sink = nullptr;
    ASSERT_EQ(web.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)), S_OK);
    IUnknown* again = nullptr;
    ASSERT_EQ(sink->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, unknown) << "one identity for every interface";
    again->Release();
    sink->Release();
    EXPECT_EQ(unknown->Release(), 0u);
    EXPECT_STREQ(web.GetClass(), L"WebBrowserUI") << "still alive at a count of 0";

    void* other = nullptr;
    EXPECT_EQ(web.QueryInterface(kIID_IDownloadManager, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(web.GetInterface(L"webbrowser"), &web);
    EXPECT_NE(web.GetInterface(L"ActiveX"), nullptr);
}

TEST_F(WebBrowser, SecurityAndDownloadServices)
{
    CWebBrowserUI web;
    RecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);

    IInternetSecurityManager* security = nullptr;
    ASSERT_EQ(web.QueryService(kSID_SInternetSecurityManager, kIID_IInternetSecurityManager,
                               reinterpret_cast<void**>(&security)),
              S_OK);
    // Every answer defers to the default policy instead of claiming a decision it never wrote.
    DWORD zone = 0xABCD;
    EXPECT_EQ(security->MapUrlToZone(L"http://example.invalid/", &zone, 0), INET_E_DEFAULT_ACTION);
    EXPECT_EQ(zone, 0xABCDu);
    DWORD policy = 0xABCD;
    EXPECT_EQ(security->ProcessUrlAction(L"http://example.invalid/", URLACTION_SCRIPT_RUN,
                                         reinterpret_cast<BYTE*>(&policy), sizeof(policy), nullptr, 0, 0, 0),
              INET_E_DEFAULT_ACTION);
    security->Release();

    IDownloadManager* downloads = nullptr;
    ASSERT_EQ(web.QueryService(kSID_SDownloadManager, kIID_IDownloadManager,
                               reinterpret_cast<void**>(&downloads)),
              S_OK);
    EXPECT_EQ(downloads->Download(nullptr, nullptr, 1, 0, nullptr, nullptr, nullptr, 936), E_ABORT);
    ASSERT_EQ(handler.downloads.size(), 1u);
    EXPECT_EQ(handler.downloads[0], 1936u);
    downloads->Release();

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(web.QueryService(IID_IUnknown, IID_IUnknown, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(WebBrowser, CommandTargetSuppressesScriptErrorsOnly)
{
    CWebBrowserUI web;
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(web.Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(web.Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(web.Exec(&kCGID_DocHostCommandHandler, OLECMDID_SHOWMESSAGE, 0, nullptr, &out),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(V_VT(&out), VT_EMPTY);

    VARIANT in;
    ::VariantInit(&in);
    EXPECT_EQ(web.Exec(&kCGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out), S_OK);
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE) << "scripts keep running, no dialog";
    EXPECT_EQ(web.QueryStatus(&kCGID_DocHostCommandHandler, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
}

TEST_F(WebBrowser, EventSinkAndDocumentHostAnswers)
{
    CWebBrowserUI web;
    RecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);
    web.SetWebBrowserEventHandler(nullptr);

    VARIANT title;
    V_VT(&title) = VT_BSTR;
    V_BSTR(&title) = ::SysAllocString(L"Zv");
    DISPPARAMS params = {&title, nullptr, 1, 0};
    EXPECT_EQ(web.Invoke(113, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(web.Invoke(113, IID_IUnknown, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(web.Invoke(9999, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // BeforeNavigate2 with one argument instead of seven is refused, not read past its end.
    EXPECT_EQ(web.Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    ::VariantClear(&title);
    ASSERT_EQ(handler.events.size(), 1u) << "a null handler keeps the previous one";
    EXPECT_EQ(handler.events[0], L"TitleChange:Zv");

    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof(info);
    info.dwFlags = 0x1;
    EXPECT_EQ(web.GetHostInfo(&info), S_OK);
    EXPECT_EQ(handler.hostFlags, 0x200005u) << "borders off before the handler sees the flags";

    CWebBrowserUI bare;
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(bare.TranslateUrl(0, const_cast<LPWSTR>(L"x"), &translated), E_NOTIMPL);
    EXPECT_EQ(translated, nullptr);
    EXPECT_EQ(bare.ShowContextMenu(0, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(bare.EnableModeless(TRUE), E_NOTIMPL);
    EXPECT_EQ(bare.GetHtmlWindow(), nullptr);
    MSG key = {nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(bare.TranslateAccelerator(&key), E_NOTIMPL);
}

TEST_F(WebBrowser, RecreatingTheHostedObjectReleasesThePreviousOne)
{
    ASSERT_NE(TestStats(), nullptr);
    const LONG before = TestStats()->liveObjects;
    m_wnd = std::make_unique<HostWindow>(
        L"<Window size=\"400,300\"><VerticalLayout><WebBrowser name=\"web\" clsid=\"" +
        ClsidText(kCLSID_AxTestWindowless) +
        L"\" modulename=\"AxTestServer.dll\"/></VerticalLayout></Window>");
    ASSERT_TRUE(m_wnd->Open());
    auto* web = m_wnd->Find<CWebBrowserUI>(L"web");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(TestStats()->liveObjects - before, 1);
    EXPECT_EQ(web->GetWebBrowser2(), nullptr) << "a control that is no browser";

    EXPECT_TRUE(web->CreateHostedControl());
    EXPECT_EQ(TestStats()->liveObjects - before, 1);
    CloseHost(m_wnd);
    EXPECT_EQ(TestStats()->liveObjects - before, 0);
}

TEST_F(WebBrowser, DocumentThatOutlivesTheControlNoLongerReachesIt)
{
    AccessViolationWatch watch;
    m_wnd = std::make_unique<HostWindow>(
        L"<Window size=\"400,300\"><VerticalLayout><WebBrowser name=\"web\" clsid=\"" +
        ClsidText(kCLSID_AxTestBrowserLike) + L"\" modulename=\"AxTestServer.dll\"/></VerticalLayout></Window>");
    ASSERT_TRUE(m_wnd->Open());
    auto* web = m_wnd->Find<CWebBrowserUI>(L"web");
    ASSERT_NE(web, nullptr);
    ASSERT_NE(web->GetWebBrowser2(), nullptr);

    // A finished navigation makes the control its document's UI handler.
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    DISPPARAMS params = {args, nullptr, 2, 0};
    IDispatch* sink = web;
    EXPECT_EQ(sink->Invoke(252, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    const LONG calls = TestStats()->documentHandlerCalls;
    EXPECT_TRUE(CallDocumentHandler());
    EXPECT_EQ(TestStats()->documentHandlerCalls, calls + 1);
    // A second navigation to the same document changes nothing.
    EXPECT_EQ(sink->Invoke(252, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);

    CloseHost(m_wnd);
    EXPECT_FALSE(CallDocumentHandler()) << "the document kept a handler that is gone";
    EXPECT_EQ(TestStats()->documentHandlerCalls, calls + 1);
    EXPECT_EQ(watch.Count(), 0) << std::hex << watch.FirstAddress();
}

} // namespace
