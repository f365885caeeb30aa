// Not a test: shows an open combo, a three-level menu and an extended list for screenshots
// (PopupViewer.exe DPI SECONDS [combo]).
#include <windows.h>

#include <cstdlib>

#include "PopupHost.h"
#include "combo/ComboUI.h"
#include "list/ListElementUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuWnd.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"460,300\"><VerticalLayout bkcolor=\"#FFF4F4F4\" inset=\"10,10,10,10\" childpadding=\"10\">"
    L"<Combo name=\"combo\" height=\"28\" width=\"200\" bkcolor=\"#FFFFFFFF\" bordersize=\"1\" bordercolor=\"#FF999999\" "
    L"textpadding=\"6,0,6,0\" itemtextpadding=\"6,0,6,0\" dropboxsize=\"0,140\">"
    L"<ListLabelElement text=\"Alpha\" height=\"24\"/><ListLabelElement text=\"Beta\" height=\"24\"/>"
    L"<ListLabelElement text=\"Gamma\" height=\"24\"/><ListLabelElement text=\"Delta\" height=\"24\"/>"
    L"</Combo>"
    L"<ListEx name=\"list\" itemtextpadding=\"4,0,4,0\" bkcolor=\"#FFFFFFFF\" itemlinecolor=\"#FFDDDDDD\">"
    L"<ListHeader height=\"24\" bkcolor=\"#FFE0E0E0\">"
    L"<ListContainerHeaderItem text=\"Name\" width=\"160\" checkable=\"true\" editable=\"true\" checkboxwidth=\"14\" "
    L"checkboxheight=\"14\" checkboxnormalimage=\"file='none.png'\"/>"
    L"<ListContainerHeaderItem text=\"Type\" width=\"100\" comboable=\"true\"/>"
    L"<ListContainerHeaderItem text=\"Size\" width=\"100\"/>"
    L"</ListHeader>"
    L"<ListTextExtElement height=\"24\"/><ListTextExtElement height=\"24\"/><ListTextExtElement height=\"24\"/>"
    L"</ListEx></VerticalLayout></Window>";

constexpr wchar_t kMenu[] =
    L"<Window><Default shared=\"true\" name=\"Menu\" value=\"bkcolor=&quot;#FFFFFFFF&quot; bordersize=&quot;1&quot; "
    L"bordercolor=&quot;#FF888888&quot; itemtextpadding=&quot;30,0,0,0&quot;\"/><Menu bkcolor=\"#FFFFFFFF\" bordersize=\"1\" bordercolor=\"#FF888888\" itemtextpadding=\"30,0,0,0\" "
    L"itemhotbkcolor=\"#FFE9F5FF\" itemselectedbkcolor=\"#FFC1E3FF\">"
    L"<MenuElement name=\"open\" text=\"Open\"/>"
    L"<MenuElement name=\"recent\" text=\"Recent\">"
    L"<MenuElement name=\"files\" text=\"Files\"><MenuElement name=\"a\" text=\"a.pdf\"/>"
    L"<MenuElement name=\"b\" text=\"b.pdf\"/></MenuElement><MenuElement name=\"clear\" text=\"Clear\"/>"
    L"</MenuElement><MenuElement linetype=\"true\"/><MenuElement name=\"quit\" text=\"Quit\"/>"
    L"</Menu></Window>";

void Hover(HWND window, const CControlUI* item)
{
    const POINT pt = CenterOf(item);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
}

} // namespace

int main(int argc, char** argv)
{
    const int dpi = argc > 1 ? std::atoi(argv[1]) : 96;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const int scale = ::MulDiv(dpi, 100, 96);
    PopupHost host(kSkin, RECT{0, 0, 460, 300}, dpi);
    auto* list = static_cast<CListExUI*>(host.Find(L"list"));
    const wchar_t* const names[] = {L"report.pdf", L"scan.png", L"notes.txt"};
    const wchar_t* const types[] = {L"PDF", L"Image", L"Text"};
    for (int i = 0; i < list->GetCount(); ++i) {
        auto* row = static_cast<CListTextExtElementUI*>(list->GetItemAt(i));
        row->SetText(0, names[i]);
        row->SetText(1, types[i]);
        row->SetText(2, L"12 KB");
        row->SetCheck(i != 1);
    }
    list->SetCellBkColor(1, 2, 0xFFFFF0C0);
    auto* combo = static_cast<CComboUI*>(host.Find(L"combo"));
    combo->SelectItem(2);
    host.Update();
    CUIStringMap checks;
    if (argc > 3) {
        combo->Activate();
        PumpMessages();
    } else {
    const int menuX = ::MulDiv(250, scale, 100);
    CMenuWnd* menu = CMenuWnd::CreateMenu(nullptr, kMenu, POINT{menuX, 10}, &host.Manager(), &checks);
    PumpMessages();
    Hover(menu->GetHandle(), menu->GetManager().FindControl(L"recent"));
    auto* recent = static_cast<CMenuElementUI*>(menu->GetManager().FindControl(L"recent"));
    if (CMenuWnd* second = recent->GetSubMenuWindow())
        Hover(second->GetHandle(), second->GetManager().FindControl(L"files"));
    }

    const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (::GetTickCount() < end) {
        PumpMessages();
        ::Sleep(50);
    }
    return 0;
}
