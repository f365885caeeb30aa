// The list with editable cells: a rich edit or a combo box over a cell, and check boxes per column.
#include "listex/ListExUI.h"

#include "combo/ComboBoxUI.h"
#include "list/ListHeaderUI.h"
#include "list/ListSupport.h"
#include "listex/ListContainerHeaderItemUI.h"
#include "listex/ListTextExtElementUI.h"
#include "manager/DpiHelper.h"
#include "manager/PaintManagerUI.h"
#include "render/UIRender.h"
#include "richedit/RichEditUI.h"

namespace ZvUI {

namespace {

constexpr wchar_t kEditName[] = L"ListEx_Edit";
constexpr wchar_t kComboName[] = L"ListEx_Combo";

CListContainerHeaderItemUI* AsHeaderItem(CControlUI* control)
{
    return control != nullptr
               ? static_cast<CListContainerHeaderItemUI*>(control->GetInterface(L"ListContainerHeaderItem"))
               : nullptr;
}

CListTextExtElementUI* AsExtRow(CControlUI* control)
{
    return control != nullptr ? static_cast<CListTextExtElementUI*>(control->GetInterface(L"ListTextExElement"))
                              : nullptr;
}

} // namespace

CListExUI::~CListExUI()
{
    if (m_pNotifyManager != nullptr)
        m_pNotifyManager->RemoveNotifyListener(this);
}

LPCWSTR CListExUI::GetClass() const
{
    return L"XListUI";
}

LPVOID CListExUI::GetInterface(LPCWSTR name)
{
    if (list_support::Is(name, L"ListEx"))
        return this;
    return CListUI::GetInterface(name);
}

UINT CListExUI::GetControlFlags() const
{
    return ControlFlagTabStop;
}

void CListExUI::DoEvent(UIControlEvent& event)
{
    if (event.type == EventButtonDown || event.type == EventScrollWheel)
        HideCellEditors();
    CListUI::DoEvent(event);
}

// --- columns ---

CControlUI* CListExUI::HeaderItemAt(int column) const
{
    CListHeaderUI* header = GetHeader();
    return header != nullptr && column >= 0 ? header->GetItemAt(column) : nullptr;
}

bool CListExUI::IsColumnEditable(int column)
{
    CListContainerHeaderItemUI* item = AsHeaderItem(HeaderItemAt(column));
    return item != nullptr && item->IsColumnEditable();
}

bool CListExUI::IsColumnComboable(int column)
{
    CListContainerHeaderItemUI* item = AsHeaderItem(HeaderItemAt(column));
    return item != nullptr && item->IsColumnComboable();
}

bool CListExUI::IsColumnCheckable(int column)
{
    CListContainerHeaderItemUI* item = AsHeaderItem(HeaderItemAt(column));
    return item != nullptr && item->IsColumnCheckable();
}

void CListExUI::SetCellBkColor(int row, int column, DWORD color)
{
    if (CListTextExtElementUI* ext = AsExtRow(GetItemAt(row)))
        ext->SetColumnBkColor(column, color);
}

bool CListExUI::GetCellBkColor(int row, int column, DWORD& color)
{
    CListTextExtElementUI* ext = AsExtRow(GetItemAt(row));
    return ext != nullptr && ext->GetColumnBkColor(column, color);
}

// --- editors ---

CControlUI* CListExUI::GetCellEditor()
{
    if (m_pEdit == nullptr) {
        m_pEdit = new CRichEditUI;
        m_pEdit->SetName(kEditName);
        if (m_pManager != nullptr) {
            LPCWSTR defaults = m_pManager->GetClassDefaults(L"RichEdit");
            if (defaults != nullptr && defaults[0] != L'\0')
                m_pEdit->ApplyAttributeList(defaults);
        }
        m_pEdit->SetBkColor(0xFFFFFFFF);
        m_pEdit->SetRich(false);
        m_pEdit->SetMultiLine(false);
        m_pEdit->SetWantReturn(true);
        m_pEdit->SetFloat(true);
        m_pEdit->SetAttribute(L"autohscroll", L"true");
        HideEditor(m_pEdit);
        // The list takes ownership of the editor.
        CListUI::Add(m_pEdit);
    }
    if (m_pCombo != nullptr)
        HideEditor(m_pCombo);
    return m_pEdit;
}

CControlUI* CListExUI::GetCellCombo()
{
    if (m_pCombo == nullptr) {
        m_pCombo = new CComboBoxUI;
        m_pCombo->SetName(kComboName);
        if (m_pManager != nullptr) {
            LPCWSTR defaults = m_pManager->GetClassDefaults(L"Combo");
            if (defaults != nullptr && defaults[0] != L'\0')
                m_pCombo->ApplyAttributeList(defaults);
        }
        // Placed over the cell like the edit, not stacked by the list's layout.
        m_pCombo->SetFloat(true);
        HideEditor(m_pCombo);
        // The list takes ownership of the combo.
        CListUI::Add(m_pCombo);
    }
    if (m_pEdit != nullptr)
        HideEditor(m_pEdit);
    return m_pCombo;
}

void CListExUI::HideEditor(CControlUI* editor)
{
    editor->SetPos(RECT{0, 0, 0, 0}, true);
    editor->SetVisible(false);
}

void CListExUI::HideCellEditors()
{
    // Hiding takes the focus from the edit; forget the cell first so that nothing is committed.
    m_nRow = -1;
    m_pEditRow = nullptr;
    m_nColumn = -1;
    if (m_pEdit != nullptr)
        HideEditor(m_pEdit);
    if (m_pCombo != nullptr)
        HideEditor(m_pCombo);
}

void CListExUI::PlaceOverCell(CControlUI* editor, RECT rc)
{
    const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
    const auto unscale = [scale](int v) { return scale > 0 ? ::MulDiv(v, 100, scale) : v; };
    editor->SetFixedWidth(unscale(rc.right - rc.left));
    editor->SetFixedHeight(unscale(rc.bottom - rc.top));
    editor->SetFixedXY(SIZE{unscale(rc.left), unscale(rc.top)});
    editor->SetVisible(true);
    RECT onWindow = rc;
    ::OffsetRect(&onWindow, m_rcItem.left, m_rcItem.top);
    editor->SetPos(onWindow, true);
}

void CListExUI::ShowCellEditor(int row, int column, RECT rc, LPCWSTR text)
{
    if (column >= 0 && IsColumnEditable(column) && GetCellEditor() != nullptr) {
        m_nRow = row;
        m_nColumn = column;
        m_pEditRow = GetItemAt(row);
        PlaceOverCell(m_pEdit, rc);
        int textHeight = 0;
        if (m_pManager != nullptr)
            textHeight = CUIRender::GetTextSize(m_pManager->GetWindowDC(), m_pManager, L"TTT", GetListInfo()->font).cy;
        const int scale = m_pManager != nullptr ? m_pManager->GetDpiHelper()->GetScale() : 100;
        m_pEdit->SetTextPadding(2, ::MulDiv((rc.bottom - rc.top - textHeight) / 2, 100, scale > 0 ? scale : 100), 2, 0);
        m_pEdit->SetText(text);
        m_pEdit->SetFocus();
        return;
    }
    if (column >= 0 && IsColumnComboable(column) && GetCellCombo() != nullptr) {
        m_pCombo->RemoveAll();
        m_nRow = row;
        m_nColumn = column;
        m_pEditRow = GetItemAt(row);
        m_pCombo->SetText(text);
        if (m_pComboCallback != nullptr)
            m_pComboCallback->FillCombo(m_pCombo, row, column);
        PlaceOverCell(m_pCombo, rc);
        return;
    }
    HideCellEditors();
}

void CListExUI::CommitToCell(CControlUI* editor)
{
    // Rows may have come, gone or moved while the editor was open: the text goes to the row it
    // was opened on, wherever that row is now, and nowhere once it is gone.
    const int row = m_pEditRow != nullptr ? GetList()->GetItemIndex(const_cast<CControlUI*>(m_pEditRow)) : -1;
    if (row < 0)
        return;
    m_nRow = row;
    if (CListTextExtElementUI* ext = AsExtRow(GetItemAt(row)))
        ext->SetText(m_nColumn, editor->GetText().GetData());
}

// --- rows changed under an open editor ---

bool CListExUI::IsCellEditOpen() const
{
    return m_nColumn >= 0 &&
           ((m_pEdit != nullptr && m_pEdit->IsVisible()) || (m_pCombo != nullptr && m_pCombo->IsVisible()));
}

bool CListExUI::IsInHeader(CControlUI* control) const
{
    return GetHeader() != nullptr && GetHeader()->GetItemIndex(control) >= 0;
}

int CListExUI::EditedIndex(bool header) const
{
    if (header)
        return m_nColumn;
    return m_pEditRow != nullptr ? GetList()->GetItemIndex(const_cast<CControlUI*>(m_pEditRow)) : -1;
}

void CListExUI::EndCellEdit()
{
    // The commit follows the same rule as on the focus leaving the edit: only for a list that
    // asked for it. Otherwise the text stays in the edit for the application to read.
    const bool commit = m_bRegistered && m_pEdit != nullptr && m_pEdit->IsVisible();
    const CUIString typed = commit ? m_pEdit->GetText() : CUIString();
    const CControlUI* row = m_pEditRow;
    const int column = m_nColumn;
    HideCellEditors();
    const int index = commit && row != nullptr ? GetList()->GetItemIndex(const_cast<CControlUI*>(row)) : -1;
    if (CListTextExtElementUI* ext = index >= 0 ? AsExtRow(GetItemAt(index)) : nullptr)
        ext->SetText(column, typed.GetData());
}

bool CListExUI::AddAt(CControlUI* control, int index)
{
    // An insertion at or before the edited row, or a header item at or before its column, moves
    // the cell from under the editor.
    if (control != nullptr && IsCellEditOpen()) {
        const int row = EditedIndex(false);
        const bool headerItem = wcsstr(control->GetClass(), L"HeaderItemUI") != nullptr;
        if (row < 0 || index <= row || (headerItem && index <= m_nColumn))
            EndCellEdit();
    }
    return CListUI::AddAt(control, index);
}

bool CListExUI::Remove(CControlUI* control)
{
    // RemoveAt comes here too.
    if (control != nullptr && IsCellEditOpen()) {
        const bool header = IsInHeader(control);
        const int index = GetItemIndex(control);
        const int edited = EditedIndex(header);
        if (edited < 0 || (index >= 0 && index <= edited))
            EndCellEdit();
    }
    return CListUI::Remove(control);
}

void CListExUI::RemoveAll()
{
    if (IsCellEditOpen())
        EndCellEdit();
    CListUI::RemoveAll();
}

bool CListExUI::SetItemIndex(CControlUI* control, int newIndex)
{
    if (control != nullptr && IsCellEditOpen()) {
        const bool header = IsInHeader(control);
        const int oldIndex = GetItemIndex(control);
        const int count = header ? GetHeader()->GetCount() : GetCount();
        const int edited = EditedIndex(header);
        // A refused move (a bad index) changes nothing.
        const bool valid = oldIndex >= 0 && newIndex >= 0 && newIndex < count && newIndex != oldIndex;
        const bool shifts = oldIndex == edited || (oldIndex < edited && newIndex >= edited) ||
                            (oldIndex > edited && newIndex <= edited);
        if (valid && (edited < 0 || shifts))
            EndCellEdit();
    }
    return CListUI::SetItemIndex(control, newIndex);
}

bool CListExUI::SortItems(ListCompareFn compare, UINT_PTR context)
{
    if (compare != nullptr && IsCellEditOpen())
        EndCellEdit();
    return CListUI::SortItems(compare, context);
}

// --- notifications ---

void CListExUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init)
{
    // The manager left behind drops this list from its listeners; a registered list listens
    // to its new one instead.
    const bool listening = m_bRegistered && manager != m_pManager;
    CListUI::SetManager(manager, parent, init);
    if (!listening)
        return;
    m_bRegistered = false;
    m_pNotifyManager = nullptr;
    RegisterNotify();
}

void CListExUI::RegisterNotify()
{
    if (m_bRegistered || m_pManager == nullptr)
        return;
    m_bRegistered = m_pManager->AddNotifyListener(this);
    if (m_bRegistered)
        m_pNotifyManager = m_pManager;
}

void CListExUI::Notify(UINotifyMessage& msg)
{
    if (msg.type == L"listheaditemchecked") {
        if (AsHeaderItem(msg.sender) == nullptr || GetHeader() == nullptr ||
            GetHeader()->GetItemIndex(msg.sender) < 0)
            return;
        for (int i = 0; i < GetCount(); ++i) {
            if (CListTextExtElementUI* ext = AsExtRow(GetItemAt(i)))
                ext->SetCheck(msg.lParam != 0);
        }
        return;
    }
    if (msg.type == L"listitemchecked") {
        if (msg.sender != nullptr && GetItemIndex(msg.sender) >= 0)
            OnListItemChecked(LOWORD(msg.wParam), HIWORD(msg.wParam), msg.lParam != 0);
        return;
    }
    if (msg.sender != nullptr && msg.sender == m_pEdit) {
        if (msg.type == L"killfocus") {
            if (m_nRow >= 0 && m_nColumn >= 0)
                CommitToCell(m_pEdit);
            m_nRow = -1;
            m_pEditRow = nullptr;
            m_nColumn = -1;
            HideEditor(m_pEdit);
        }
        return;
    }
    if (msg.sender != nullptr && msg.sender == m_pCombo) {
        // The combo tells of a choice by "itemselect".
        if (msg.type == L"itemselect" && static_cast<int>(msg.wParam) >= 0) {
            CommitToCell(m_pCombo);
            HideEditor(m_pCombo);
        }
        return;
    }
    if (msg.type == L"scroll" && (m_pEdit != nullptr || m_pCombo != nullptr) && m_nRow >= 0 && m_nColumn >= 0)
        HideCellEditors();
}

void CListExUI::OnListItemChecked(int /*row*/, int column, bool checked)
{
    CListContainerHeaderItemUI* item = AsHeaderItem(HeaderItemAt(column));
    if (item == nullptr)
        return;
    bool all = checked;
    for (int i = 0; all && i < GetCount(); ++i) {
        if (CListTextExtElementUI* ext = AsExtRow(GetItemAt(i)))
            all = ext->GetCheck();
    }
    item->SetCheck(all);
}

} // namespace ZvUI
