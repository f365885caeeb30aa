// Random sequences on every control with rows (list, combo, tree, menu with a sub-menu, extended
// list, tab and animated tab layouts): rows added, removed and moved, selections, pop-ups opened
// and closed, shown and hidden, a DPI change, the control destroyed and made again. Freed memory
// is poisoned; after every step the rows must match a model, a selection must lie inside them, an
// open pop-up must list exactly the control's rows, and nothing may have touched bad memory.
// ZV_ROW_SEED and ZV_ROW_STEPS choose another run (bench/row_sequences.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../../support/AccessViolationWatch.h"
#include "PopupHost.h"
#include "anim/AnimationTabLayoutUI.h"
#include "combo/ComboUI.h"
#include "combo/ComboWnd.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/TabLayoutUI.h"
#include "layout/VerticalLayoutUI.h"
#include "list/ListElementUI.h"
#include "list/ListUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuUI.h"
#include "menu/MenuWnd.h"
#include "tree/TreeNodeUI.h"
#include "tree/TreeViewUI.h"

using namespace ZvUI;

namespace {

constexpr wchar_t kSkin[] = L"<Window size=\"700,400\"><HorizontalLayout name=\"body\" bkcolor=\"#FFFFFFFF\"/></Window>";
constexpr wchar_t kMenu[] =
    L"<Window><Menu name=\"root\" bkcolor=\"#FFFFFFFF\"><MenuElement name=\"sub\" text=\"Sub\">"
    L"<MenuElement text=\"s0\"/><MenuElement text=\"s1\"/></MenuElement>"
    L"<MenuElement text=\"r1\"/></Menu></Window>";

using Rng = std::mt19937;

int Pick(Rng& rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

// An index that is mostly valid and sometimes just outside either end.
int AnyIndex(Rng& rng, int count)
{
    return Pick(rng, -1, count + 1);
}

CControlUI* LabelRow(LPCWSTR prefix, int n)
{
    auto* row = new CListLabelElementUI;
    row->SetText((prefix + std::to_wstring(n)).c_str());
    return row;
}

bool SameRows(IContainerUI& container, const std::vector<CControlUI*>& rows)
{
    if (container.GetCount() != static_cast<int>(rows.size()))
        return false;
    for (int i = 0; i < container.GetCount(); ++i) {
        if (container.GetItemAt(i) != rows[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

// What every subject does with the model of its rows; the row-making and the checks differ.
class Subject {
public:
    virtual ~Subject() = default;
    virtual const char* Name() const = 0;
    virtual void Make(CContainerUI& body) = 0;
    virtual void Destroy(CContainerUI& body)
    {
        body.Remove(m_control);
        m_control = nullptr;
        rows.clear();
    }
    virtual IContainerUI* Rows() = 0;
    virtual CControlUI* NewRow(int n) = 0;
    virtual bool Select(int index) = 0;
    virtual void TogglePopup(Rng& /*rng*/) {}
    // Rows changed by the control's own operations rather than through IContainerUI; false when
    // it has none.
    virtual bool ChangeRows(Rng& /*rng*/, int /*serial*/, std::ostringstream& /*out*/) { return false; }
    // Forgets a control that went away by itself (a menu closed by a focus change).
    virtual void Sync() {}
    virtual std::string Check() = 0;

    CControlUI* Control() const { return m_control; }

    // Runs one random operation; returns its description.
    std::string Step(Rng& rng, CContainerUI& body, int serial)
    {
        std::ostringstream out;
        out << Name() << ' ';
        if (m_control == nullptr || Rows() == nullptr) {
            out << "make";
            Make(body);
            return out.str();
        }
        IContainerUI& container = *Rows();
        const int count = static_cast<int>(rows.size());
        const int choice = Pick(rng, 0, 9);
        if (choice <= 3 && ChangeRows(rng, serial, out))
            return out.str();
        switch (choice) {
        case 0:
        case 1: {
            const int at = AnyIndex(rng, count);
            out << "add at " << at;
            CControlUI* row = NewRow(serial);
            if (container.AddAt(row, at))
                rows.insert(rows.begin() + at, row);
            else
                delete row;
            break;
        }
        case 2: {
            const int at = AnyIndex(rng, count);
            out << "remove " << at;
            if (container.RemoveAt(at) && at >= 0 && at < count)
                rows.erase(rows.begin() + at);
            break;
        }
        case 3: {
            const int from = Pick(rng, 0, count);
            const int to = AnyIndex(rng, count);
            out << "move " << from << " to " << to;
            CControlUI* row = from < count ? rows[static_cast<size_t>(from)] : nullptr;
            if (row != nullptr && container.SetItemIndex(row, to)) {
                rows.erase(rows.begin() + from);
                rows.insert(rows.begin() + to, row);
            }
            break;
        }
        case 4:
        case 5: {
            const int at = AnyIndex(rng, count);
            out << "select " << at;
            Select(at);
            break;
        }
        case 6:
        case 7:
            out << "pop-up";
            TogglePopup(rng);
            break;
        case 8:
            out << (m_control->IsVisibleOwn() ? "hide" : "show");
            m_control->SetVisible(!m_control->IsVisibleOwn());
            break;
        default:
            out << "destroy";
            Destroy(body);
            break;
        }
        return out.str();
    }

    std::vector<CControlUI*> rows;

protected:
    // The control joins the body with a few rows of its own.
    void Adopt(CContainerUI& body, CControlUI* control)
    {
        m_control = control;
        body.Add(control);
        for (int i = 0; i < 3; ++i) {
            CControlUI* row = NewRow(i);
            if (Rows()->Add(row))
                rows.push_back(row);
        }
    }
    std::string CheckRows(const char* what)
    {
        IContainerUI* container = Rows();
        if (container == nullptr || SameRows(*container, rows))
            return {};
        std::ostringstream out;
        out << what << ": " << (container != nullptr ? container->GetCount() : -1) << " rows, the model has "
            << rows.size() << " (or another order)";
        return out.str();
    }
    std::string CheckSelection(IListOwnerUI& owner)
    {
        const int cur = owner.GetCurSel();
        if (cur < -1 || cur >= static_cast<int>(rows.size()))
            return "selection " + std::to_string(cur) + " outside " + std::to_string(rows.size()) + " rows";
        if (cur >= 0) {
            auto* item = static_cast<IListItemUI*>(rows[static_cast<size_t>(cur)]->GetInterface(L"ListItem"));
            if (item == nullptr || !item->IsSelected())
                return "the selected index " + std::to_string(cur) + " names a row that is not selected";
        }
        return {};
    }

    CControlUI* m_control = nullptr;
};

// --- the list family ---

class ListSubject : public Subject {
public:
    const char* Name() const override { return "list"; }
    void Make(CContainerUI& body) override { Adopt(body, new CListUI); }
    IContainerUI* Rows() override { return static_cast<CListUI*>(m_control); }
    CControlUI* NewRow(int n) override { return LabelRow(L"row ", n); }
    bool Select(int index) override { return static_cast<CListUI*>(m_control)->SelectItem(index); }
    std::string Check() override
    {
        std::string fault = CheckRows(Name());
        return fault.empty() ? CheckSelection(*static_cast<CListUI*>(m_control)) : fault;
    }
};

class ListExSubject : public ListSubject {
public:
    const char* Name() const override { return "extended list"; }
    void Make(CContainerUI& body) override
    {
        Adopt(body, new CListExUI);
        static_cast<CListExUI*>(m_control)->RegisterNotify();
    }
    CControlUI* NewRow(int n) override
    {
        auto* row = new CListTextExtElementUI;
        row->SetText((L"cell " + std::to_wstring(n)).c_str());
        return row;
    }
};

class ComboSubject : public Subject {
public:
    const char* Name() const override { return "combo"; }
    void Make(CContainerUI& body) override
    {
        auto* combo = new CComboUI;
        combo->SetFixedWidth(120);
        combo->SetFixedHeight(24);
        Adopt(body, combo);
    }
    IContainerUI* Rows() override { return Combo(); }
    CControlUI* NewRow(int n) override { return LabelRow(L"choice ", n); }
    bool Select(int index) override { return Combo()->SelectItem(index); }
    void TogglePopup(Rng& /*rng*/) override
    {
        if (CComboWnd* drop = Combo()->GetDropWindow())
            drop->Close(1);
        else
            Combo()->Activate();
    }
    std::string Check() override
    {
        std::string fault = CheckRows(Name());
        if (fault.empty())
            fault = CheckSelection(*Combo());
        CComboWnd* drop = Combo()->GetDropWindow();
        if (fault.empty() && drop != nullptr && ::IsWindow(drop->GetHandle()) && drop->GetLayout() != nullptr &&
            !SameRows(*drop->GetLayout(), rows))
            fault = "the drop-down lists " + std::to_string(drop->GetLayout()->GetCount()) + " rows, the combo " +
                    std::to_string(rows.size());
        return fault;
    }

private:
    CComboUI* Combo() const { return static_cast<CComboUI*>(m_control); }
};

// --- tab layouts ---

class TabSubject : public Subject {
public:
    explicit TabSubject(bool animated) : m_animated(animated) {}
    const char* Name() const override { return m_animated ? "animated tab" : "tab"; }
    void Make(CContainerUI& body) override
    {
        Adopt(body, m_animated ? static_cast<CTabLayoutUI*>(new CAnimationTabLayoutUI) : new CTabLayoutUI);
    }
    IContainerUI* Rows() override { return Tab(); }
    CControlUI* NewRow(int n) override
    {
        auto* page = new CVerticalLayoutUI;
        page->SetBkColor(0xFF000000u | static_cast<DWORD>(n * 0x1F3D5B));
        return page;
    }
    bool Select(int index) override { return Tab()->SelectItem(index); }
    std::string Check() override
    {
        std::string fault = CheckRows(Name());
        if (!fault.empty())
            return fault;
        const int cur = Tab()->GetCurSel();
        if (cur < -1 || cur >= static_cast<int>(rows.size()))
            return "current page " + std::to_string(cur) + " outside " + std::to_string(rows.size());
        if (cur == -1 && !rows.empty())
            return "pages but no current page";
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            // The animated layout shows its new page on the first frame of the slide.
            if (i != cur && rows[static_cast<size_t>(i)]->IsVisibleOwn())
                return "page " + std::to_string(i) + " is shown beside current page " + std::to_string(cur);
            if (i == cur && !m_animated && !rows[static_cast<size_t>(i)]->IsVisibleOwn())
                return "current page " + std::to_string(cur) + " is hidden";
        }
        return {};
    }

private:
    CTabLayoutUI* Tab() const { return static_cast<CTabLayoutUI*>(m_control); }
    bool m_animated;
};

// --- tree: nodes under nodes; the view lists them depth first ---

class TreeSubject : public Subject {
public:
    const char* Name() const override { return "tree"; }
    void Make(CContainerUI& body) override
    {
        m_control = new CTreeViewUI;
        body.Add(m_control);
    }
    IContainerUI* Rows() override { return Tree(); }
    CControlUI* NewRow(int n) override
    {
        auto* node = new CTreeNodeUI;
        node->SetItemText((L"node " + std::to_wstring(n)).c_str());
        return node;
    }
    bool Select(int index) override { return Tree()->SelectItem(index); }
    // The tree's own operations: a node under the view or under a node, a node with its subtree
    // out, by the view or by its parent.
    bool ChangeRows(Rng& rng, int serial, std::ostringstream& out) override
    {
        const int count = Tree()->GetCount();
        CTreeNodeUI* parent = count > 0 ? NodeAt(Pick(rng, 0, count - 1)) : nullptr;
        const int at = parent != nullptr ? AnyIndex(rng, parent->GetCountChild()) : 0;
        auto* node = static_cast<CTreeNodeUI*>(NewRow(serial));
        switch (Pick(rng, 0, 5)) {
        case 0:
            out << "add node";
            if (!Tree()->AddNode(node))
                delete node;
            return true;
        case 1:
            out << "add child of row " << (parent != nullptr ? parent->GetTreeIndex() : -1);
            if (parent == nullptr || !parent->Add(node))
                delete node;
            return true;
        case 2:
            out << "add child at " << at << " of row " << (parent != nullptr ? parent->GetTreeIndex() : -1);
            if (parent == nullptr || !parent->AddAt(node, at))
                delete node;
            return true;
        case 3:
            delete node;
            out << "remove row " << (parent != nullptr ? parent->GetTreeIndex() : -1) << " with its subtree";
            if (parent != nullptr)
                Tree()->RemoveNode(parent);
            return true;
        case 4:
            delete node;
            out << "remove a child of row " << (parent != nullptr ? parent->GetTreeIndex() : -1);
            if (parent != nullptr && parent->GetCountChild() > 0)
                parent->Remove(parent->GetChildNode(Pick(rng, 0, parent->GetCountChild() - 1)));
            return true;
        default:
            delete node;
            out << "remove at " << at;
            Tree()->RemoveAt(at);
            return true;
        }
    }
    std::string Check() override
    {
        // The model is the view itself here: every row a node of this view, every child after
        // its parent, every listed child in the view.
        CTreeViewUI* tree = Tree();
        rows.clear();
        for (int i = 0; i < tree->GetCount(); ++i)
            rows.push_back(tree->GetItemAt(i));
        for (int i = 0; i < tree->GetCount(); ++i) {
            CTreeNodeUI* node = NodeAt(i);
            if (node == nullptr)
                return "row " + std::to_string(i) + " is no tree node";
            if (node->GetTreeIndex() != i)
                return "node at row " + std::to_string(i) + " says it is at " + std::to_string(node->GetTreeIndex());
            for (int c = 0; c < node->GetCountChild(); ++c) {
                CTreeNodeUI* child = node->GetChildNode(c);
                if (child == nullptr || child->GetParentNode() != node || child->GetTreeIndex() <= i)
                    return "child " + std::to_string(c) + " of row " + std::to_string(i) + " is not below it";
            }
        }
        return CheckSelection(*tree);
    }

private:
    CTreeViewUI* Tree() const { return static_cast<CTreeViewUI*>(m_control); }
    CTreeNodeUI* NodeAt(int index) const
    {
        CControlUI* row = Tree()->GetItemAt(index);
        return row != nullptr ? static_cast<CTreeNodeUI*>(row->GetInterface(L"TreeNode")) : nullptr;
    }
    int m_serial = 1000;
};

// --- menu: the rows of an item whose sub-menu opens and closes ---

class MenuSubject : public Subject {
public:
    explicit MenuSubject(PopupHost& host) : m_host(host) {}
    ~MenuSubject() override { CloseAll(); }
    const char* Name() const override { return "menu"; }
    void Make(CContainerUI& /*body*/) override
    {
        m_window = CMenuWnd::CreateMenu(nullptr, kMenu, POINT{720, 40}, &m_host.Manager(), nullptr);
        m_hwnd = m_window->GetHandle();
        PumpMessages();
        Sync();
        if (m_window == nullptr)
            return;
        m_control = m_window->GetManager().FindControl(L"sub");
        rows.clear();
        for (int i = 0; i < Owner()->GetCount(); ++i)
            rows.push_back(Owner()->GetItemAt(i));
    }
    void Destroy(CContainerUI& /*body*/) override
    {
        CloseAll();
        m_control = nullptr;
        rows.clear();
    }
    IContainerUI* Rows() override { return m_control != nullptr ? Owner() : nullptr; }
    void Sync() override
    {
        if (m_hwnd != nullptr && ::IsWindow(m_hwnd))
            return;
        m_hwnd = nullptr;
        m_window = nullptr;
        m_control = nullptr;
        rows.clear();
    }
    CControlUI* NewRow(int n) override
    {
        auto* row = new CMenuElementUI;
        row->SetText((L"item " + std::to_wstring(n)).c_str());
        return row;
    }
    bool Select(int index) override
    {
        CMenuWnd* sub = Owner()->GetSubMenuWindow();
        return sub != nullptr && static_cast<CMenuUI*>(sub->GetManager().GetRoot())->SelectItem(index);
    }
    void TogglePopup(Rng& /*rng*/) override
    {
        if (CMenuWnd* sub = Owner()->GetSubMenuWindow()) {
            KeyWindow(sub->GetHandle(), VK_ESCAPE);
            return;
        }
        // A hover opens it, as the user would.
        m_window->GetManager().GetRoot()->SetPos(m_window->GetManager().GetRoot()->GetPos(), true);
        const POINT pt = CenterOf(Owner());
        ::SendMessageW(m_window->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    }
    std::string Check() override
    {
        std::string fault = CheckRows(Name());
        CMenuWnd* sub = m_control != nullptr ? Owner()->GetSubMenuWindow() : nullptr;
        if (!fault.empty() || sub == nullptr || !::IsWindow(sub->GetHandle()))
            return fault;
        auto* list = static_cast<CMenuUI*>(sub->GetManager().GetRoot());
        if (!SameRows(*list, rows))
            return "the sub-menu lists " + std::to_string(list->GetCount()) + " rows, its item has " +
                   std::to_string(rows.size());
        return CheckSelection(*list);
    }
private:
    CMenuElementUI* Owner() const { return static_cast<CMenuElementUI*>(m_control); }
    void CloseAll()
    {
        GetMenuObserver().Broadcast(MenuBroadcastParam{MenuCloseAll, nullptr});
        PumpMessages();
        m_window = nullptr;
        m_hwnd = nullptr;
    }
    PopupHost& m_host;
    CMenuWnd* m_window = nullptr;
    HWND m_hwnd = nullptr;
};

unsigned EnvNumber(const char* name, unsigned fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

// Paints every window of the thread now: layout and paint reach every row a window holds.
BOOL CALLBACK PaintNow(HWND hwnd, LPARAM)
{
    if (::IsWindowVisible(hwnd))
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

TEST(RowSequences, EveryStepKeepsRowsSelectionsAndPopupsTrue)
{
    const unsigned seed = EnvNumber("ZV_ROW_SEED", 20261210u);
    const int steps = static_cast<int>(EnvNumber("ZV_ROW_STEPS", 1500u));
    Rng rng(seed);
    PopupHost host(kSkin, RECT{0, 0, 700, 400});
    auto* body = static_cast<CContainerUI*>(host.Find(L"body"));
    ASSERT_NE(body, nullptr);
    std::vector<std::unique_ptr<Subject>> subjects;
    subjects.push_back(std::make_unique<ListSubject>());
    subjects.push_back(std::make_unique<ComboSubject>());
    subjects.push_back(std::make_unique<TreeSubject>());
    subjects.push_back(std::make_unique<MenuSubject>(host));
    subjects.push_back(std::make_unique<ListExSubject>());
    subjects.push_back(std::make_unique<TabSubject>(false));
    subjects.push_back(std::make_unique<TabSubject>(true));
    for (auto& subject : subjects)
        subject->Make(*body);

    AccessViolationWatch watch;
    std::deque<std::string> recent;
    const int dpis[] = {96, 120, 144, 192};
    for (int step = 0; step < steps; ++step) {
        std::string op;
        if (Pick(rng, 0, 39) == 0) {
            const int dpi = dpis[Pick(rng, 0, 3)];
            host.Manager().ApplyDpi(dpi);
            op = "dpi " + std::to_string(dpi);
        } else {
            Subject& subject = *subjects[static_cast<size_t>(Pick(rng, 0, static_cast<int>(subjects.size()) - 1))];
            subject.Sync();
            op = subject.Step(rng, *body, step);
        }
        recent.push_back(op);
        if (recent.size() > 12)
            recent.pop_front();
        PumpMessages();
        ::EnumThreadWindows(::GetCurrentThreadId(), PaintNow, 0);
        PumpMessages();

        std::string fault;
        for (auto& subject : subjects) {
            subject->Sync();
            if (fault.empty() && subject->Control() != nullptr && subject->Rows() != nullptr)
                fault = subject->Check();
        }
        if (fault.empty() && watch.Count() > 0) {
            std::ostringstream out;
            out << "access violation at 0x" << std::hex << watch.FirstAddress();
            fault = out.str();
        }
        if (!fault.empty()) {
            std::ostringstream trail;
            for (const std::string& line : recent)
                trail << "\n  " << line;
            FAIL() << "seed " << seed << ", step " << step << ": " << fault << "\nlast steps:" << trail.str();
        }
    }
    subjects.clear();
    PumpMessages();
    EXPECT_EQ(watch.Count(), 0);
}
