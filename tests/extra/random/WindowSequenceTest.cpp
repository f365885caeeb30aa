// Random sequences across three windows with controls of every family that keeps state in its
// paint manager: a fading button, a GIF, a rich edit, an edit and a hot key with their native
// windows, a combo with its drop-down, menus with a sub-menu, a box and a list with scroll bars,
// an animated tab layout, options in a group, a button that frees itself in its own handlers and
// hosted controls (the test server's windowless and windowed objects).
// They are made, moved between windows, removed with and without destroy, put back, refused by
// AddAt, freed by the caller and outlived by their windows, while timers run and focus, hover and
// capture rest on them. Freed memory is poisoned and held back (HeldBackDelete.cpp).
//
// After every step, and once more after the queue has run and the windows have painted: no access
// violation, nothing new on Wine's error channel (when the runner names its log in
// ZV_WIN_ERR_LOG), every record of every paint manager names a control of that manager's own tree,
// a control the test holds out of every tree has neither manager nor parent, a refused AddAt left
// its control as it was, and a control removed for deletion takes no more input. A failure names
// the seed, the step and the last operations.
//
// ZV_WIN_SEED and ZV_WIN_STEPS choose another run (bench/window_sequences.sh); ZV_WIN_SKIP is a
// comma-separated list of checks to leave out (the tags in brackets of a failure), to see what a
// sequence runs into after a fault already found, and ZV_WIN_FAMILIES a comma-separated list of
// the families to make (their names as the operations show them).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../controls/simple/ControlHost.h"
#include "../activex/AxTestServer.h"
#include "PopupHost.h"
#include "activex/ActiveXUI.h"
#include "anim/AnimationTabLayoutUI.h"
#include "anim/FadeButtonUI.h"
#include "builder/DialogBuilder.h"
#include "combo/ComboUI.h"
#include "combo/ComboWnd.h"
#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/ScrollBarUI.h"
#include "edit/EditUI.h"
#include "gif/GifAnimUI.h"
#include "layout/VerticalLayoutUI.h"
#include "list/ListElementUI.h"
#include "list/ListUI.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuUI.h"
#include "menu/MenuWnd.h"
#include "richedit/RichEditUI.h"
#include "simple/HotKeyUI.h"

using namespace ZvUI;

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

unsigned EnvNumber(const char* name, unsigned fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

// --- what a failure says: seed, step, the last operations, and the faults of the step ---

struct Run {
    unsigned seed = 0;
    int step = -1;
    std::deque<std::string> trail;
    std::vector<std::string> faults;
    std::set<std::string> skipped;
    std::vector<int> families;
    volatile LONG violations = 0;
    ULONG_PTR violationAddress = 0;
    int violationStep = -1;
};
Run g_run;

std::string Trail()
{
    std::string out;
    for (const std::string& line : g_run.trail)
        out += "\n  " + line;
    return out;
}

void Fault(const std::string& tag, const std::string& text)
{
    if (g_run.skipped.count(tag) == 0)
        g_run.faults.push_back("[" + tag + "] " + text);
}

void Note(const std::string& op)
{
    g_run.trail.push_back(op);
    if (g_run.trail.size() > 16)
        g_run.trail.pop_front();
}

// The code addresses of the faulting frames, for addr2line: a call through a null or poisoned
// pointer has no code address of its own, its caller's return address is on the stack.
void PrintFrames(const CONTEXT& faulting)
{
#ifdef _WIN64
    CONTEXT context = faulting;
    std::printf("frames:");
    if (context.Rip == 0) {
        std::printf(" 0");
        context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
        context.Rsp += 8;
    }
    for (int i = 0; i < 32 && context.Rip != 0; ++i) {
        std::printf(" %p", reinterpret_cast<void*>(context.Rip));
        DWORD64 base = 0;
        RUNTIME_FUNCTION* entry = ::RtlLookupFunctionEntry(context.Rip, &base, nullptr);
        if (entry == nullptr) {
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handlerData = nullptr;
        DWORD64 frame = 0;
        ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, entry, &context, &handlerData, &frame, nullptr);
    }
    std::printf("\n");
#else
    (void)faulting;
#endif
}

// Wine swallows an access violation inside a window procedure and goes on, and one outside it
// ends the process before the test can speak: the first one is told here, where it happens.
LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    if (::InterlockedIncrement(&g_run.violations) == 1) {
        g_run.violationAddress = record->NumberParameters >= 2 ? record->ExceptionInformation[1] : 0;
        g_run.violationStep = g_run.step;
        std::printf("seed %u, step %d: access violation at 0x%llx (code at %p)\n", g_run.seed, g_run.step,
                    static_cast<unsigned long long>(g_run.violationAddress), record->ExceptionAddress);
        PrintFrames(*info->ContextRecord);
        std::printf("last steps:%s\n", Trail().c_str());
        std::fflush(stdout);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Wine's error channel, written by the runner into a file it names; each step reads what is new.
class ErrorChannel {
public:
    ErrorChannel()
    {
        const char* path = std::getenv("ZV_WIN_ERR_LOG");
        if (path != nullptr && *path != '\0')
            m_file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~ErrorChannel()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    bool Watched() const { return m_file != INVALID_HANDLE_VALUE; }
    // Error lines written since the last call.
    std::vector<std::string> NewErrors()
    {
        std::vector<std::string> errors;
        if (m_file == INVALID_HANDLE_VALUE)
            return errors;
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(m_file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            m_pending.append(buffer, read);
        size_t end;
        while ((end = m_pending.find('\n')) != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            // "0024:err:channel:function ..." or "err:channel:function ...".
            const size_t at = line.find("err:");
            if (at != std::string::npos && (at == 0 || line[at - 1] == ':'))
                errors.push_back(line);
        }
        return errors;
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::string m_pending;
};

// --- windows: each made in memory that is poisoned and never reused once it is closed, so that
// a control still pointing at a closed window's manager fails at once ---

constexpr int kWindows = 3;
constexpr int kMaxItemsPerWindow = 7;
constexpr wchar_t kSkin[] =
    L"<Window size=\"360,300\"><VerticalLayout name=\"body\" bkcolor=\"#FFFFFFFF\"/></Window>";

class WindowHost {
public:
    explicit WindowHost(int slot)
    {
        const int x = 10 + slot * 380;
        hwnd = ::CreateWindowExW(0, host_support::ManagedWindowClass(), L"Sequence window", WS_POPUP | WS_VISIBLE,
                                 x, 10, 360, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pm));
        pm.AttachWindow(hwnd);
        CLayoutBuilder builder;
        pm.SetRootControl(builder.Create(kSkin, nullptr, nullptr, &pm));
        body = static_cast<CContainerUI*>(pm.FindControl(L"body"));
    }
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
    ~WindowHost()
    {
        ::DestroyWindow(hwnd);
        PumpMessages();
    }

    HWND hwnd = nullptr;
    CPaintManagerUI pm;
    CContainerUI* body = nullptr;
};

std::vector<void*> g_closedWindows;

// --- the controls and the model of where each one is ---

enum Family {
    kFadeButton,
    kGif,
    kRichEdit,
    kEdit,
    kHotKey,
    kCombo,
    kScrollBox,
    kList,
    kAnimatedTab,
    kOption,
    kSelfFreeing,
    kHosted,
    kFamilies
};

const char* FamilyName(int family)
{
    static const char* const names[] = {"fading button", "GIF", "rich edit", "edit", "hot key", "combo",
                                        "scroll box", "list", "animated tab", "option", "self-freeing button",
                                        "hosted control"};
    return names[family];
}

struct Item {
    int id = 0;
    int family = 0;
    CControlUI* control = nullptr;
    // The window whose body holds it; -1 while the test holds it out of every tree.
    int window = -1;
    bool gone = false;
};

std::string Name(const Item& item)
{
    return std::string(FamilyName(item.family)) + " #" + std::to_string(item.id);
}

// A button that removes itself from its window in its own key-down, double-click and click
// handlers, freed at once or queued for deletion; one queued must take no more input.
class SelfFreeingButton : public CButtonUI {
public:
    SelfFreeingButton(Item& item, bool queued) : m_item(item), m_queued(queued) {}

    void DoEvent(UIControlEvent& event) override
    {
        const bool input = event.type == EventKeyDown || event.type == EventKeyUp || event.type == EventChar ||
                           event.type == EventButtonDown || event.type == EventButtonUp ||
                           event.type == EventDoubleClick;
        if (m_removed) {
            if (input)
                Fault("input after removal", Name(m_item) + ", queued for deletion, took input event " +
                                                 std::to_string(event.type));
            return;
        }
        if (event.type == EventKeyDown || event.type == EventDoubleClick) {
            RemoveItself(event.type == EventKeyDown ? "key-down" : "double-click");
            return;
        }
        CButtonUI::DoEvent(event);
    }

    bool Activate() override
    {
        if (m_removed) {
            Fault("input after removal", Name(m_item) + ", queued for deletion, was clicked again");
            return false;
        }
        if (!CButtonUI::Activate())
            return false;
        RemoveItself("click");
        return true;
    }

private:
    void RemoveItself(const char* handler)
    {
        CControlUI* parent = GetParent();
        auto* box = parent != nullptr ? static_cast<CContainerUI*>(parent->GetInterface(L"Container")) : nullptr;
        if (box == nullptr)
            return;
        Note("  " + Name(m_item) + " removes itself in its " + handler + " handler" +
             (m_queued ? " (queued)" : " (freed at once)"));
        m_item.gone = true;
        m_item.window = -1;
        box->SetAutoDestroy(true);
        box->SetDelayedDestroy(m_queued);
        if (m_queued)
            m_removed = true;
        // Freed at once: nothing of this object may be touched after this call.
        box->Remove(this);
    }

    Item& m_item;
    bool m_queued;
    bool m_removed = false;
};

CControlUI* LabelRow(LPCWSTR text, Rng& rng, int id, int n)
{
    auto* row = new CListLabelElementUI;
    row->SetText(text);
    if (Pick(rng, 0, 2) == 0)
        row->SetName((L"row" + std::to_wstring(id) + L"." + std::to_wstring(n)).c_str());
    return row;
}

// The test server, copied beside the program by the build.
std::wstring ServerPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + L"AxTestServer.dll";
}

CControlUI* MakeControl(Item& item, Rng& rng, LPCWSTR gifPath)
{
    CControlUI* control = nullptr;
    switch (item.family) {
    case kFadeButton: {
        auto* button = new CFadeButtonUI;
        button->SetText(L"fade");
        button->SetBkColor(0xFFE0E8F0);
        control = button;
        break;
    }
    case kGif: {
        auto* gif = new CGifAnimUI;
        gif->SetAttribute(L"autoplay", L"true");
        gif->SetAttribute(L"gifimage", gifPath);
        control = gif;
        break;
    }
    case kRichEdit: {
        auto* edit = new CRichEditUI;
        edit->SetText(L"rich text");
        control = edit;
        break;
    }
    case kEdit: {
        auto* edit = new CEditUI;
        edit->SetText(L"edit");
        control = edit;
        break;
    }
    case kHotKey:
        control = new CHotKeyUI;
        break;
    case kCombo: {
        auto* combo = new CComboUI;
        for (int i = 0; i < 4; ++i)
            combo->Add(LabelRow((L"choice " + std::to_wstring(i)).c_str(), rng, item.id, i));
        combo->SelectItem(0);
        control = combo;
        break;
    }
    case kScrollBox: {
        auto* box = new CVerticalLayoutUI;
        box->EnableScrollBar(true, false);
        for (int i = 0; i < 5; ++i) {
            auto* label = new CLabelUI;
            label->SetText((L"line " + std::to_wstring(i)).c_str());
            label->SetFixedHeight(20);
            box->Add(label);
        }
        box->SetFixedHeight(50);
        control = box;
        break;
    }
    case kList: {
        auto* list = new CListUI;
        for (int i = 0; i < 6; ++i)
            list->Add(LabelRow((L"row " + std::to_wstring(i)).c_str(), rng, item.id, i));
        list->SetFixedHeight(50);
        control = list;
        break;
    }
    case kAnimatedTab: {
        auto* tab = new CAnimationTabLayoutUI;
        for (int i = 0; i < 3; ++i) {
            auto* page = new CVerticalLayoutUI;
            page->SetBkColor(0xFF000000u | static_cast<DWORD>((i + 1) * 0x3F5B1D));
            tab->Add(page);
        }
        control = tab;
        break;
    }
    case kOption: {
        auto* option = new COptionUI;
        option->SetText(L"option");
        option->SetGroup(Pick(rng, 0, 1) == 0 ? L"first" : L"second");
        control = option;
        break;
    }
    case kHosted: {
        auto* host = new CActiveXUI;
        wchar_t clsid[64] = {};
        ::StringFromGUID2(Pick(rng, 0, 1) == 0 ? kCLSID_AxTestWindowless : kCLSID_AxTestWindowed, clsid, 64);
        host->SetAttribute(L"clsid", clsid);
        host->SetAttribute(L"modulename", ServerPath().c_str());
        control = host;
        break;
    }
    default: {
        auto* button = new SelfFreeingButton(item, Pick(rng, 0, 1) == 0);
        button->SetText(L"frees itself");
        button->SetBkColor(0xFFF0E0E0);
        control = button;
        break;
    }
    }
    if (control->GetFixedHeight() == 0)
        control->SetFixedHeight(34);
    // Names: some unique, some shared, so that the name table meets twins.
    const int naming = Pick(rng, 0, 4);
    if (naming <= 1)
        control->SetName((L"item" + std::to_wstring(item.id)).c_str());
    else if (naming == 2)
        control->SetName(L"twin");
    return control;
}

// Every control of a subtree, scroll bars included.
CControlUI* CollectProc(CControlUI* control, LPVOID data)
{
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

std::vector<CControlUI*> Subtree(CControlUI* root)
{
    std::vector<CControlUI*> out;
    if (root != nullptr)
        root->FindControl(CollectProc, &out, 0);
    return out;
}

bool IsListenerKind(const std::string& kind)
{
    return kind == "notify listener" || kind == "accelerator translator" || kind == "early filter" ||
           kind == "message filter";
}

class Sequence {
public:
    explicit Sequence(unsigned seed)
        : m_rng(seed), m_gif(L"zv_window_sequence.gif", control_test::SolidGif(8, {0xFF0000, 0x00FF00, 0x0000FF},
                                                                               {2, 2, 2}))
    {
        for (int i = 0; i < kWindows; ++i)
            Open(i);
    }

    ~Sequence()
    {
        CloseMenus();
        for (int i = 0; i < kWindows; ++i)
            Close(i);
        for (auto& item : m_items) {
            if (!item->gone && item->window < 0)
                delete item->control;
        }
        PumpMessages();
        for (void* memory : g_closedWindows)
            std::free(memory);
        g_closedWindows.clear();
    }

    void Step(int step)
    {
        std::ostringstream op;
        RunOperation(op, step);
        Note(op.str());
        Check("after the operation");
        PumpMessages();
        ::EnumThreadWindows(::GetCurrentThreadId(), PaintNow, 0);
        PumpMessages();
        SyncMenus();
        Check("after the queue and a paint");
    }

    bool ErrorsWatched() const { return m_errors.Watched(); }

private:
    // --- windows ---

    void Open(int slot)
    {
        void* memory = std::malloc(sizeof(WindowHost));
        m_windows[slot] = new (memory) WindowHost(slot);
        PumpMessages();
    }

    void Close(int slot)
    {
        WindowHost* host = m_windows[slot];
        if (host == nullptr)
            return;
        m_windows[slot] = nullptr;
        // The window's tree goes with its manager; what the test holds stays.
        for (auto& item : m_items) {
            if (!item->gone && item->window == slot) {
                item->gone = true;
                item->window = -1;
            }
        }
        host->~WindowHost();
        std::memset(static_cast<void*>(host), 0xDD, sizeof(WindowHost));
        g_closedWindows.push_back(host);
        PumpMessages();
    }

    std::string WindowName(const CPaintManagerUI* manager) const
    {
        for (int i = 0; i < kWindows; ++i) {
            if (m_windows[i] != nullptr && &m_windows[i]->pm == manager)
                return "window " + std::to_string(i);
        }
        if (m_menuHwnd != nullptr && ::IsWindow(m_menuHwnd)) {
            if (&m_menu->GetManager() == manager)
                return "the menu";
            auto* sub = static_cast<CMenuElementUI*>(m_menu->GetManager().FindControl(L"sub"));
            CMenuWnd* subWindow = sub != nullptr ? sub->GetSubMenuWindow() : nullptr;
            if (subWindow != nullptr && &subWindow->GetManager() == manager)
                return "the sub-menu";
        }
        for (const auto& item : m_items) {
            if (item->gone || item->family != kCombo)
                continue;
            CComboWnd* drop = static_cast<CComboUI*>(item->control)->GetDropWindow();
            if (drop != nullptr && &drop->GetManager() == manager)
                return "the drop-down of " + Name(*item);
        }
        CControlUI* root = manager->GetRoot();
        return std::string("a pop-up with root ") + (root != nullptr ? Narrow(root->GetClass()) : "none");
    }

    static std::string Narrow(LPCWSTR text)
    {
        std::string out;
        for (; text != nullptr && *text != L'\0'; ++text)
            out += static_cast<char>(*text < 128 ? *text : '?');
        return out;
    }

    static BOOL CALLBACK PaintNow(HWND hwnd, LPARAM)
    {
        if (::IsWindowVisible(hwnd))
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return TRUE;
    }

    static void PumpFor(int ms)
    {
        const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
        while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            PumpMessages();
        }
    }

    // --- choosing ---

    std::vector<Item*> Items(bool inWindow)
    {
        std::vector<Item*> out;
        for (auto& item : m_items) {
            if (!item->gone && (item->window >= 0) == inWindow)
                out.push_back(item.get());
        }
        return out;
    }

    Item* AnyItem(bool inWindow, int family = -1)
    {
        std::vector<Item*> all = Items(inWindow);
        std::vector<Item*> pool;
        for (Item* item : all) {
            if (family < 0 || item->family == family)
                pool.push_back(item);
        }
        return pool.empty() ? nullptr : pool[static_cast<size_t>(Pick(m_rng, 0, static_cast<int>(pool.size()) - 1))];
    }

    int AnyWindow(bool withRoom = false)
    {
        std::vector<int> open;
        for (int i = 0; i < kWindows; ++i) {
            if (m_windows[i] != nullptr && (!withRoom || m_windows[i]->body->GetCount() < kMaxItemsPerWindow))
                open.push_back(i);
        }
        return open.empty() ? -1 : open[static_cast<size_t>(Pick(m_rng, 0, static_cast<int>(open.size()) - 1))];
    }

    POINT PointIn(const Item& item)
    {
        const RECT& rc = item.control->GetPos();
        if (rc.right <= rc.left || rc.bottom <= rc.top)
            return POINT{rc.left, rc.top};
        return POINT{Pick(m_rng, rc.left, rc.right - 1), Pick(m_rng, rc.top, rc.bottom - 1)};
    }

    Item* NewItem()
    {
        auto item = std::make_unique<Item>();
        item->id = m_nextId++;
        const std::vector<int>& families = g_run.families;
        item->family = families[static_cast<size_t>(Pick(m_rng, 0, static_cast<int>(families.size()) - 1))];
        item->control = MakeControl(*item, m_rng, m_gif.Path());
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }

    // Into a window at a valid place; false when it had no room.
    bool Place(Item& item, int slot, std::ostringstream& op)
    {
        CContainerUI* body = m_windows[slot]->body;
        const int count = body->GetCount();
        bool added;
        if (Pick(m_rng, 0, 1) == 0) {
            op << " added to window " << slot;
            added = body->Add(item.control);
        } else {
            const int at = Pick(m_rng, 0, count);
            op << " added at " << at << " of window " << slot;
            added = body->AddAt(item.control, at);
        }
        if (!added) {
            Fault("placed", Name(item) + " was refused at a valid place of window " + std::to_string(slot));
            return false;
        }
        item.window = slot;
        return true;
    }

    // Out of its window, freed (at once or queued) or kept by the test.
    void TakeOut(Item& item, bool destroy, bool delayed, std::ostringstream& op)
    {
        CContainerUI* body = m_windows[item.window]->body;
        body->SetAutoDestroy(destroy);
        body->SetDelayedDestroy(delayed);
        const bool byIndex = Pick(m_rng, 0, 1) == 0;
        const int index = body->GetItemIndex(item.control);
        const bool removed = byIndex ? body->RemoveAt(index) : body->Remove(item.control);
        body->SetAutoDestroy(true);
        body->SetDelayedDestroy(true);
        if (!removed)
            Fault("placed", Name(item) + " could not be removed from window " + std::to_string(item.window));
        item.window = -1;
        if (destroy)
            item.gone = true;
        op << (byIndex ? " by index" : "");
    }

    // --- the operations ---

    void RunOperation(std::ostringstream& op, int step)
    {
        for (int tries = 0; tries < 20; ++tries) {
            const int choice = Pick(m_rng, 0, 99);
            if (TryOperation(choice, op, step))
                return;
            op.str("");
        }
        op << "wait";
        PumpFor(10);
    }

    bool TryOperation(int choice, std::ostringstream& op, int step)
    {
        if (choice < 12) { // a new control into a window
            const int slot = AnyWindow(true);
            if (slot < 0)
                return false;
            Item* item = NewItem();
            op << Name(*item) << " made,";
            if (!Place(*item, slot, op))
                item->window = -1;
            return true;
        }
        if (choice < 18) { // removed and freed
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            const bool delayed = Pick(m_rng, 0, 2) != 0;
            op << Name(*item) << " removed from window " << item->window << (delayed ? ", queued" : ", freed at once");
            TakeOut(*item, true, delayed, op);
            return true;
        }
        if (choice < 24) { // removed and kept
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            op << Name(*item) << " removed from window " << item->window << " and kept";
            TakeOut(*item, false, Pick(m_rng, 0, 1) == 0, op);
            return true;
        }
        if (choice < 32) { // moved to another window (or back into its own)
            Item* item = AnyItem(true);
            const int slot = AnyWindow(true);
            if (item == nullptr || slot < 0)
                return false;
            op << Name(*item) << " moved from window " << item->window << ",";
            TakeOut(*item, false, false, op);
            Place(*item, slot, op);
            return true;
        }
        if (choice < 37) { // a kept control put back
            Item* item = AnyItem(false);
            const int slot = AnyWindow(true);
            if (item == nullptr || slot < 0)
                return false;
            op << "kept " << Name(*item);
            Place(*item, slot, op);
            return true;
        }
        if (choice < 41) { // refused by AddAt: a kept control or a new one at a place outside the rows
            const int slot = AnyWindow();
            if (slot < 0)
                return false;
            Item* item = Pick(m_rng, 0, 1) == 0 ? AnyItem(false) : nullptr;
            if (item == nullptr) {
                item = NewItem();
                op << Name(*item) << " made,";
            } else {
                op << "kept " << Name(*item);
            }
            CContainerUI* body = m_windows[slot]->body;
            const int count = body->GetCount();
            const int at = Pick(m_rng, 0, 1) == 0 ? -1 - Pick(m_rng, 0, 2) : count + 1 + Pick(m_rng, 0, 2);
            op << " offered at " << at << " of window " << slot << " (" << count << " items)";
            if (body->AddAt(item->control, at)) {
                Fault("refused", "AddAt took " + Name(*item) + " at " + std::to_string(at) + " of " +
                                     std::to_string(count) + " items");
                item->window = slot;
                return true;
            }
            if (item->control->GetManager() != nullptr || item->control->GetParent() != nullptr)
                Fault("refused", "the refused " + Name(*item) + " was bound anyway: " +
                                     (item->control->GetParent() == body ? "its parent is the body of window "
                                                                         : "it has a manager, window ") +
                                     std::to_string(slot));
            return true;
        }
        if (choice < 45) { // a kept control freed by the test
            Item* item = AnyItem(false);
            if (item == nullptr)
                return false;
            op << "kept " << Name(*item) << " freed";
            item->gone = true;
            delete item->control;
            return true;
        }
        if (choice < 47) { // a window closed before the controls it once held
            const int slot = AnyWindow();
            if (slot < 0)
                return false;
            op << "window " << slot << " closed";
            Close(slot);
            return true;
        }
        if (choice < 50) { // a closed window made again
            for (int i = 0; i < kWindows; ++i) {
                if (m_windows[i] == nullptr) {
                    op << "window " << i << " opened";
                    Open(i);
                    return true;
                }
            }
            return false;
        }
        if (choice < 58) { // hover
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            const POINT pt = PointIn(*item);
            op << "mouse over " << Name(*item) << " at " << pt.x << "," << pt.y;
            ::SendMessageW(m_windows[item->window]->hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            return true;
        }
        if (choice < 63) { // press and hold: capture
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            const POINT pt = PointIn(*item);
            op << "button down on " << Name(*item) << " at " << pt.x << "," << pt.y;
            HWND hwnd = m_windows[item->window]->hwnd;
            ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            return true;
        }
        if (choice < 67) { // release wherever the mouse is
            const int slot = AnyWindow();
            if (slot < 0)
                return false;
            const POINT pt = {Pick(m_rng, 0, 359), Pick(m_rng, 0, 299)};
            op << "button up in window " << slot << " at " << pt.x << "," << pt.y;
            ::SendMessageW(m_windows[slot]->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            return true;
        }
        if (choice < 71) { // click or double click
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            const POINT pt = PointIn(*item);
            const bool twice = Pick(m_rng, 0, 1) == 0;
            op << (twice ? "double click on " : "click on ") << Name(*item) << " at " << pt.x << "," << pt.y;
            HWND hwnd = m_windows[item->window]->hwnd;
            ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            if (twice) {
                ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
                ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            }
            return true;
        }
        if (choice < 76) { // focus
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            op << "focus to " << Name(*item);
            m_windows[item->window]->pm.SetFocus(item->control);
            return true;
        }
        if (choice < 81) { // keys, sent now or queued behind one another
            const int slot = AnyWindow();
            if (slot < 0)
                return false;
            static const UINT keys[] = {VK_RETURN, VK_SPACE, VK_TAB, VK_DOWN, 'A'};
            const UINT vk = keys[Pick(m_rng, 0, 4)];
            HWND hwnd = m_windows[slot]->hwnd;
            if (Pick(m_rng, 0, 1) == 0) {
                op << "key " << vk << " in window " << slot;
                ::SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
                ::SendMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
            } else {
                op << "key " << vk << " twice, queued, in window " << slot;
                for (int i = 0; i < 2; ++i) {
                    ::PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
                    ::PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
                }
            }
            return true;
        }
        if (choice < 87) { // the family's own action: drop-down, page, play, selection, text
            Item* item = AnyItem(true);
            if (item == nullptr)
                return false;
            Poke(*item, op);
            return true;
        }
        if (choice < 93) { // menus
            return MenuOperation(op);
        }
        // time for the timers
        const int ms = Pick(m_rng, 5, 40);
        op << "wait " << ms << " ms";
        PumpFor(ms);
        (void)step;
        return true;
    }

    void Poke(Item& item, std::ostringstream& op)
    {
        op << Name(item) << ": ";
        switch (item.family) {
        case kCombo: {
            auto* combo = static_cast<CComboUI*>(item.control);
            if (CComboWnd* drop = combo->GetDropWindow()) {
                op << "drop-down closed";
                drop->Close(1);
            } else {
                op << "drop-down opened";
                combo->Activate();
            }
            break;
        }
        case kGif: {
            auto* gif = static_cast<CGifAnimUI*>(item.control);
            op << (gif->IsPlaying() ? "paused" : "played");
            if (gif->IsPlaying())
                gif->PauseGif();
            else
                gif->PlayGif();
            break;
        }
        case kAnimatedTab: {
            const int page = Pick(m_rng, 0, 2);
            op << "page " << page;
            static_cast<CAnimationTabLayoutUI*>(item.control)->SelectItem(page);
            break;
        }
        case kList: {
            const int row = Pick(m_rng, -1, 6);
            op << "row " << row << " selected";
            static_cast<CListUI*>(item.control)->SelectItem(row);
            break;
        }
        case kOption:
            op << "selected";
            static_cast<COptionUI*>(item.control)->Selected(true);
            break;
        case kScrollBox: {
            CScrollBarUI* bar = static_cast<CContainerUI*>(item.control)->GetVerticalScrollBar();
            if (bar == nullptr || item.window < 0) {
                op << "no bar";
                break;
            }
            // Held on the bar: the repeat timer runs and the mouse is captured.
            const RECT& rc = bar->GetPos();
            const POINT pt = {(rc.left + rc.right) / 2, rc.bottom - 2};
            op << "bar pressed at " << pt.x << "," << pt.y;
            ::SendMessageW(m_windows[item.window]->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            break;
        }
        default:
            op << "shown or hidden";
            item.control->SetVisible(!item.control->IsVisibleOwn());
            break;
        }
    }

    // --- menus: a root menu owned by one of the windows, its item's sub-menu borrowing rows ---

    bool MenuOperation(std::ostringstream& op)
    {
        SyncMenus();
        const int what = Pick(m_rng, 0, 3);
        if (m_menu == nullptr) {
            const int slot = AnyWindow();
            if (slot < 0)
                return false;
            static constexpr wchar_t kMenu[] =
                L"<Window><Menu name=\"menuroot\" bkcolor=\"#FFFFFFFF\"><MenuElement name=\"sub\" text=\"Sub\">"
                L"<MenuElement name=\"s0\" text=\"s0\"/><MenuElement text=\"s1\"/><MenuElement text=\"s2\"/>"
                L"</MenuElement><MenuElement name=\"r1\" text=\"r1\"/></Menu></Window>";
            op << "menu opened over window " << slot;
            m_menu = CMenuWnd::CreateMenu(nullptr, kMenu, POINT{1200, 40 + 200 * slot}, &m_windows[slot]->pm, nullptr);
            m_menuHwnd = m_menu != nullptr ? m_menu->GetHandle() : nullptr;
            return true;
        }
        auto* sub = static_cast<CMenuElementUI*>(m_menu->GetManager().FindControl(L"sub"));
        CMenuWnd* subWindow = sub != nullptr ? sub->GetSubMenuWindow() : nullptr;
        if (what == 0 || sub == nullptr) {
            op << "menus closed";
            CloseMenus();
        } else if (subWindow == nullptr || what == 1) {
            // A hover opens the sub-menu, as the user would.
            CControlUI* root = m_menu->GetManager().GetRoot();
            root->SetPos(root->GetPos(), true);
            const POINT pt = CenterOf(sub);
            op << "mouse over the menu's sub item";
            ::SendMessageW(m_menuHwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        } else if (what == 2 && ::IsWindow(subWindow->GetHandle())) {
            auto* list = static_cast<CMenuUI*>(subWindow->GetManager().GetRoot());
            const int count = list != nullptr ? list->GetCount() : 0;
            if (count == 0)
                return false;
            CControlUI* row = list->GetItemAt(Pick(m_rng, 0, count - 1));
            const POINT pt = CenterOf(row);
            op << "mouse over a sub-menu row";
            ::SendMessageW(subWindow->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        } else {
            op << "Escape in the sub-menu";
            KeyWindow(subWindow->GetHandle(), VK_ESCAPE);
        }
        return true;
    }

    void SyncMenus()
    {
        if (m_menuHwnd != nullptr && !::IsWindow(m_menuHwnd)) {
            m_menu = nullptr;
            m_menuHwnd = nullptr;
        }
    }

    void CloseMenus()
    {
        GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
        PumpMessages();
        SyncMenus();
    }

    // --- the checks ---

    void Check(const char* when)
    {
        ++m_check;
        for (int i = 0; i < kWindows; ++i) {
            if (m_windows[i] == nullptr)
                continue;
            CPaintManagerUI& pm = m_windows[i]->pm;
            for (CControlUI* control : Subtree(pm.GetRoot()))
                Learn(control, control->GetManager() == &pm ? "window " + std::to_string(i) : "");
        }
        CUIPtrArray* managers = CPaintManagerUI::GetAllManagers();
        for (int m = 0; managers != nullptr && m < managers->GetSize(); ++m) {
            auto* pm = static_cast<CPaintManagerUI*>((*managers)[m]);
            for (CControlUI* control : Subtree(pm->GetRoot()))
                Learn(control, control->GetManager() == pm ? WindowName(pm) : "");
        }
        for (Item* item : Items(false)) {
            for (CControlUI* control : Subtree(item->control))
                Learn(control, "");
        }

        // Every record of every manager names a control of that manager's own tree.
        for (int m = 0; managers != nullptr && m < managers->GetSize(); ++m) {
            auto* pm = static_cast<CPaintManagerUI*>((*managers)[m]);
            std::set<const void*> own;
            for (CControlUI* control : Subtree(pm->GetRoot())) {
                if (control->GetManager() == pm)
                    own.insert(control);
            }
            std::set<std::pair<std::string, const void*>> listed;
            pm->ForEachRecord([&](const char* kind, const void* pointer) {
                // A listener or an option listed twice is called twice, and outlives one removal.
                const bool once = IsListenerKind(kind) || std::string(kind) == "option group";
                if (once && !listed.insert({kind, pointer}).second)
                    Fault("twice", WindowName(pm) + ": " + Describe(m_interfaces.count(pointer) != 0
                                                                       ? m_interfaces[pointer]
                                                                       : pointer) +
                                       " is listed twice as a " + kind + " (" + when + ")");
                const void* control = pointer;
                if (IsListenerKind(kind)) {
                    auto it = m_interfaces.find(pointer);
                    if (it == m_interfaces.end())
                        return; // a window, not a control
                    control = it->second;
                }
                if (own.count(control) != 0)
                    return;
                Fault(kind, WindowName(pm) + ": a " + kind + " record names " + Describe(control) + ", " +
                                Whereabouts(control) + " (" + when + ")");
            });
        }

        // What the test holds is bound to nothing; what a window holds is bound to that window.
        for (auto& item : m_items) {
            if (item->gone)
                continue;
            if (item->window < 0) {
                for (CControlUI* control : Subtree(item->control)) {
                    if (control->GetManager() != nullptr) {
                        Fault("held", Name(*item) + ", held out of every tree, still has a manager" +
                                          (control != item->control ? " in its part " + Describe(control) : "") +
                                          ": " + ManagerName(control->GetManager()) + " (" + when + ")");
                        break;
                    }
                }
                if (item->control->GetParent() != nullptr)
                    Fault("held", Name(*item) + ", held out of every tree, still has a parent (" + when + ")");
            } else {
                WindowHost& host = *m_windows[item->window];
                if (item->control->GetManager() != &host.pm || item->control->GetParent() != host.body ||
                    host.body->GetItemIndex(item->control) < 0)
                    Fault("placed", Name(*item) + " in window " + std::to_string(item->window) +
                                        " is not bound to it (" + when + ")");
            }
        }

        for (const std::string& line : m_errors.NewErrors())
            Fault("wine err", line);
        if (g_run.violations > 0) {
            std::ostringstream out;
            out << "access violation at 0x" << std::hex << g_run.violationAddress << std::dec << " during step "
                << g_run.violationStep;
            Fault("access violation", out.str());
        }
    }

    void Learn(CControlUI* control, const std::string& place)
    {
        std::string& name = m_names[control];
        if (name.empty() || name.find('#') == std::string::npos) {
            name = Narrow(control->GetClass());
            for (auto& item : m_items) {
                if (item->control == control && !item->gone)
                    name = Name(*item);
            }
        }
        if (auto* notify = dynamic_cast<INotifyUI*>(control))
            m_interfaces[notify] = control;
        if (auto* filter = dynamic_cast<IMessageFilterUI*>(control))
            m_interfaces[filter] = control;
        if (auto* translator = dynamic_cast<ITranslateAccelerator*>(control))
            m_interfaces[translator] = control;
        // A row lent to a pop-up is in its owner's tree too: the manager it is bound to names it.
        int& seen = m_placesCheck[control];
        if (seen != m_check || !place.empty())
            m_places[control] = place;
        seen = m_check;
    }

    std::string Describe(const void* control) const
    {
        auto it = m_names.find(control);
        return it != m_names.end() ? it->second : "an unknown control";
    }

    std::string Whereabouts(const void* control) const
    {
        auto it = m_places.find(control);
        auto seen = m_placesCheck.find(control);
        if (it == m_places.end() || seen == m_placesCheck.end() || seen->second != m_check)
            return "which is in no tree any more (freed or queued for deletion)";
        if (it->second.empty())
            return "which is held out of every tree or bound to another manager";
        return "which belongs to " + it->second;
    }

    std::string ManagerName(const CPaintManagerUI* manager) const
    {
        CUIPtrArray* managers = CPaintManagerUI::GetAllManagers();
        if (managers == nullptr || managers->Find(const_cast<CPaintManagerUI*>(manager)) < 0)
            return "a manager that is gone";
        return WindowName(manager);
    }

    Rng m_rng;
    control_test::TempFile m_gif;
    WindowHost* m_windows[kWindows] = {};
    std::vector<std::unique_ptr<Item>> m_items;
    int m_nextId = 1;
    CMenuWnd* m_menu = nullptr;
    HWND m_menuHwnd = nullptr;
    ErrorChannel m_errors;
    std::map<const void*, std::string> m_names;
    std::map<const void*, std::string> m_places;
    std::map<const void*, int> m_placesCheck;
    int m_check = 0;
    std::map<const void*, const void*> m_interfaces;
};

} // namespace

TEST(WindowSequences, EveryStepLeavesEachManagerNamingOnlyItsOwnControls)
{
    g_run.seed = EnvNumber("ZV_WIN_SEED", 20261211u);
    const int steps = static_cast<int>(EnvNumber("ZV_WIN_STEPS", 1000u));
    if (const char* skip = std::getenv("ZV_WIN_SKIP")) {
        std::stringstream list(skip);
        std::string tag;
        while (std::getline(list, tag, ','))
            g_run.skipped.insert(tag);
    }
    if (const char* only = std::getenv("ZV_WIN_FAMILIES")) {
        std::stringstream list(only);
        std::string name;
        while (std::getline(list, name, ',')) {
            for (int family = 0; family < kFamilies; ++family) {
                if (name == FamilyName(family))
                    g_run.families.push_back(family);
            }
        }
    }
    if (g_run.families.empty()) {
        for (int family = 0; family < kFamilies; ++family)
            g_run.families.push_back(family);
    }
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    // As the programs do: the rich edit, GDI+ and the drop targets need OLE on this thread.
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    PVOID handler = ::AddVectoredExceptionHandler(1, OnException);

    auto* sequence = new Sequence(g_run.seed);
    if (!sequence->ErrorsWatched())
        std::printf("Wine's error channel is not watched (run through window_sequences.sh or CTest)\n");
    for (int step = 0; step < steps; ++step) {
        g_run.step = step;
        sequence->Step(step);
        if (!g_run.faults.empty()) {
            std::ostringstream out;
            for (size_t i = 0; i < g_run.faults.size() && i < 6; ++i)
                out << "\n  " << g_run.faults[i];
            // The windows are left as they are: closing them over a fault could end the process
            // before the failure is told.
            ::RemoveVectoredExceptionHandler(handler);
            FAIL() << "seed " << g_run.seed << ", step " << step << ":" << out.str() << "\nlast steps:" << Trail();
        }
    }
    g_run.step = steps;
    Note("windows closed at the end");
    delete sequence;
    ::OleUninitialize();
    PumpMessages();
    ::RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(g_run.violations, 0) << "seed " << g_run.seed << ": access violation while the windows closed";
}
