// The resource table as the rest of the framework sees it: controls with resource text, image
// names and layout names, all through layouts built on a real window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ManagedWindow.h"
#include "RenderCanvas.h"
#include "builder/DialogBuilder.h"
#include "control/ControlUI.h"
#include "layout/ContainerUI.h"
#include "manager/PaintManagerUI.h"
#include "resource/UIResourceTable.h"

using namespace ZvUI;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 40;

// The whole tree painted on white into a canvas of the window's size.
class Canvas : public RenderCanvas {
public:
    Canvas() : RenderCanvas(kWidth, kHeight) {}
    void Paint(CControlUI* root)
    {
        const RECT rc = {0, 0, kWidth, kHeight};
        root->Paint(DC(), rc, nullptr);
    }
    // The pixels of a column band, row by row.
    std::vector<DWORD> Band(int left, int width) const
    {
        std::vector<DWORD> band;
        for (int y = 0; y < kHeight; ++y)
            for (int x = left; x < left + width; ++x)
                band.push_back(Rgb(x, y));
        return band;
    }
    int DarkPixels(int left, int width) const
    {
        int dark = 0;
        for (DWORD p : Band(left, width))
            dark += (p & 0xFF) < 0x80 ? 1 : 0;
        return dark;
    }
};

std::wstring TempFolder()
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    std::wstring folder = std::wstring(dir) + L"zvrestext\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::wstring& path, const void* data, size_t size)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(data, 1, size, f);
    fclose(f);
}

// A 4 x 4 24-bit BMP in one colour (blue, green, red).
void WriteBmp(const std::wstring& path, BYTE b, BYTE g, BYTE r)
{
    std::vector<BYTE> file(54 + 4 * 4 * 3);
    auto* fh = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
    fh->bfType = 0x4D42;
    fh->bfSize = static_cast<DWORD>(file.size());
    fh->bfOffBits = 54;
    auto* ih = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + 14);
    ih->biSize = 40;
    ih->biWidth = 4;
    ih->biHeight = 4;
    ih->biPlanes = 1;
    ih->biBitCount = 24;
    for (size_t i = 54; i + 2 < file.size(); i += 3) {
        file[i] = b;
        file[i + 1] = g;
        file[i + 2] = r;
    }
    WriteBytes(path, file.data(), file.size());
}

class ResourceText : public ::testing::Test {
protected:
    void SetUp() override
    {
        CUIResourceTable::Release();
        m_pm.SetHoverTime(60000);
        ::ShowWindow(m_window.Get(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override { CUIResourceTable::Release(); }

    static CUIResourceTable& Table() { return *CUIResourceTable::Instance(); }

    // Builds the layout as the window's tree and places it on the whole canvas.
    CControlUI* Build(LPCWSTR source)
    {
        CLayoutBuilder builder;
        CControlUI* root = builder.Create(source, nullptr, nullptr, &m_pm, nullptr);
        if (root == nullptr)
            return nullptr;
        m_pm.SetRootControl(root);
        root->SetPos(RECT{0, 0, kWidth, kHeight}, false);
        return root;
    }

    CPaintManagerUI m_pm;
    ManagedWindow m_window{m_pm, kWidth, kHeight};
};

// Answers a fixed set of ids and counts the questions.
class FixedTexts : public IQueryControlText {
public:
    LPCWSTR QueryControlText(LPCWSTR id, LPCWSTR) override
    {
        ++asked;
        return wcscmp(id, L"dyn") == 0 ? L"动态" : nullptr;
    }
    int asked = 0;
};

constexpr wchar_t kLabels[] =
    L"<Window><HorizontalLayout>"
    L"<Label name=\"res\" resourcetext=\"true\" text=\"greet\" tooltip=\"tip\" width=\"100\"/>"
    L"<Label name=\"same\" text=\"WMW\" width=\"100\"/>"
    L"<Label name=\"raw\" text=\"greet\" tooltip=\"tip\" width=\"100\"/>"
    L"</HorizontalLayout></Window>";

TEST_F(ResourceText, FlaggedLabelPaintsTheTablesText)
{
    ASSERT_TRUE(Table().LoadTextTable(
        L"<Texts><Text id=\"greet\" value=\"WMW\"/><Text id=\"tip\" value=\"Table tip\"/></Texts>"));
    CControlUI* root = Build(kLabels);
    ASSERT_NE(root, nullptr);
    CControlUI* res = m_pm.FindControl(L"res");
    CControlUI* raw = m_pm.FindControl(L"raw");
    ASSERT_NE(res, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_TRUE(res->IsResourceText());
    EXPECT_EQ(res->GetText(), L"WMW");
    EXPECT_EQ(res->GetToolTip(), L"Table tip");
    EXPECT_EQ(raw->GetText(), L"greet");
    EXPECT_EQ(raw->GetToolTip(), L"tip");

    Canvas canvas;
    canvas.Paint(root);
    // The flagged label looks exactly like one that holds the table's text itself.
    EXPECT_GT(canvas.DarkPixels(0, 100), 0);
    EXPECT_EQ(canvas.Band(0, 100), canvas.Band(100, 100));
    EXPECT_NE(canvas.Band(0, 100), canvas.Band(200, 100));

    // Switching the flag off shows the id again.
    res->SetResourceText(false);
    EXPECT_EQ(res->GetText(), L"greet");
}

TEST_F(ResourceText, HoverShowsTheTablesTooltip)
{
    ASSERT_TRUE(Table().LoadTextTable(L"<Texts><Text id=\"tip\" value=\"Table tip\"/></Texts>"));
    ASSERT_NE(Build(kLabels), nullptr);
    ::PostMessageW(m_window.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ::PostMessageW(m_window.Get(), WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
    ManagedWindow::Pump();
    HWND tip = m_pm.GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    wchar_t text[80] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_window.Get();
    info.uId = reinterpret_cast<UINT_PTR>(m_window.Get());
    info.lpszText = text;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, L"Table tip");
}

TEST_F(ResourceText, MissingTextsComeFromTheSourceOnceElseTheIdShows)
{
    FixedTexts source;
    Table().SetTextSource(&source);
    ASSERT_NE(Build(L"<Window><VerticalLayout>"
                    L"<Text name=\"dyn\" resourcetext=\"true\" text=\"dyn\"/>"
                    L"<Text name=\"none\" resourcetext=\"true\" text=\"nosuch\"/>"
                    L"</VerticalLayout></Window>"),
              nullptr);
    CControlUI* dyn = m_pm.FindControl(L"dyn");
    ASSERT_NE(dyn, nullptr);
    EXPECT_TRUE(dyn->GetText() == L"动态");
    const int asked = source.asked;
    EXPECT_TRUE(dyn->GetText() == L"动态");
    EXPECT_EQ(source.asked, asked);  // cached after the first answer
    EXPECT_EQ(m_pm.FindControl(L"none")->GetText(), L"nosuch");
    Table().SetTextSource(nullptr);
}

TEST_F(ResourceText, ImageNamesGoThroughTheImagePathMap)
{
    const std::wstring folder = TempFolder();
    WriteBmp(folder + L"blue.bmp", 0xFF, 0, 0);
    WriteBmp(folder + L"red.bmp", 0, 0, 0xFF);
    // The first path of an id wins.
    const std::wstring list = L"<Res><Image id=\"logo\" path=\"" + folder + L"blue.bmp\"/>"
                              L"<Image id=\"logo\" path=\"" + folder + L"red.bmp\"/></Res>";
    ASSERT_TRUE(Table().LoadFromResource(list.c_str(), nullptr));
    CControlUI* root = Build(L"<Window><HorizontalLayout>"
                             L"<Control bkimage=\"logo\" width=\"50\"/>"
                             L"<Control bkimage=\"unmapped.bmp\" width=\"50\"/>"
                             L"</HorizontalLayout></Window>");
    ASSERT_NE(root, nullptr);
    Canvas canvas;
    canvas.Paint(root);
    EXPECT_EQ(canvas.Rgb(25, 20), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(75, 20), 0xFFFFFFu);
}

TEST_F(ResourceText, LayoutNamesGoThroughTheXmlPathMap)
{
    const std::wstring folder = TempFolder();
    const char panel[] = "<Window><Label name=\"panellabel\" text=\"panel\"/></Window>";
    WriteBytes(folder + L"panel.xml", panel, sizeof(panel) - 1);
    const std::wstring list = L"<Res><Xml id=\"panel\" path=\"" + folder + L"panel.xml\"/></Res>";
    ASSERT_TRUE(Table().LoadFromResource(list.c_str(), nullptr));

    CLayoutBuilder builder;
    CControlUI* direct = builder.Create(L"panel", nullptr, nullptr, &m_pm, nullptr);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(direct->GetName(), L"panellabel");
    delete direct;

    // Includes name layouts through the map as well.
    CControlUI* root = Build(L"<Window><VerticalLayout><Include source=\"panel\" count=\"2\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    auto* items = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->GetCount(), 2);
    EXPECT_EQ(items->GetItemAt(1)->GetText(), L"panel");
}

} // namespace
