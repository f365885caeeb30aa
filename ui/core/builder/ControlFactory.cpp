// Control factory: the vocabulary of element names a layout file may use.
#include "builder/ControlFactory.h"

#include <cwchar>
#include <new>

#include "activex/ActiveXUI.h"
#include "activex/FlashUI.h"
#include "activex/WebBrowserUI.h"
#include "anim/AnimationTabLayoutUI.h"
#include "anim/FadeButtonUI.h"
#include "combo/ComboBoxUI.h"
#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"
#include "control/ControlUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "control/ScrollBarUI.h"
#include "control/TextUI.h"
#include "datetime/DateTimeUI.h"
#include "edit/EditUI.h"
#include "edit/IPAddressExUI.h"
#include "gif/GifAnimUI.h"
#include "ipaddress/IPAddressUI.h"
#include "layout/ChildLayoutUI.h"
#include "layout/ContainerUI.h"
#include "layout/HorizontalLayoutUI.h"
#include "layout/TabLayoutUI.h"
#include "layout/TileLayoutUI.h"
#include "layout/VerticalLayoutUI.h"
#include "list/ListContainerElementUI.h"
#include "list/ListElementUI.h"
#include "list/ListHeaderItemUI.h"
#include "list/ListHeaderUI.h"
#include "list/ListTextElementUI.h"
#include "list/ListUI.h"
#include "listex/ListContainerHeaderItemUI.h"
#include "listex/ListExUI.h"
#include "listex/ListTextExtElementUI.h"
#include "menu/MenuElementUI.h"
#include "menu/MenuUI.h"
#include "option/OptionMultiLineUI.h"
#include "richedit/RichEditUI.h"
#include "simple/ColorPaletteUI.h"
#include "simple/GroupBoxUI.h"
#include "simple/HotKeyUI.h"
#include "simple/RingUI.h"
#include "simple/RollTextUI.h"
#include "slider/SliderUI.h"
#include "tree/TreeNodeUI.h"
#include "tree/TreeViewUI.h"

namespace ZvUI {

namespace {

template <class T>
CControlUI* Make()
{
    return new (std::nothrow) T();
}

std::wstring KeyOf(CUIString name)
{
    name.MakeLower();
    return std::wstring(name.GetData());
}

} // namespace

CControlFactory*& CControlFactory::Slot()
{
    // Function-local static: the first initialisation is guarded against concurrent callers.
    static CControlFactory* instance = new CControlFactory();
    return instance;
}

CControlFactory* CControlFactory::GetInstance()
{
    // After Release a later build gets a fresh registry instead of a freed one.
    CControlFactory*& instance = Slot();
    if (instance == nullptr)
        instance = new CControlFactory();
    return instance;
}

void CControlFactory::Release()
{
    CControlFactory*& instance = Slot();
    delete instance;
    instance = nullptr;
}

CControlFactory::CControlFactory()
{
    // The built-in classes of the core, in the order of the framework's class list.
    RegisterControl(L"CControlUI", &Make<CControlUI>);
    RegisterControl(L"CContainerUI", &Make<CContainerUI>);
    RegisterControl(L"CButtonUI", &Make<CButtonUI>);
    RegisterControl(L"CLabelUI", &Make<CLabelUI>);
    RegisterControl(L"COptionUI", &Make<COptionUI>);
    RegisterControl(L"CCheckBoxUI", &Make<CCheckBoxUI>);
    RegisterControl(L"CProgressUI", &Make<CProgressUI>);
    RegisterControl(L"CScrollBarUI", &Make<CScrollBarUI>);
    RegisterControl(L"CTextUI", &Make<CTextUI>);
    RegisterControl(L"CChildLayoutUI", &Make<CChildLayoutUI>);
    RegisterControl(L"CHorizontalLayoutUI", &Make<CHorizontalLayoutUI>);
    RegisterControl(L"CTabLayoutUI", &Make<CTabLayoutUI>);
    RegisterControl(L"CTileLayoutUI", &Make<CTileLayoutUI>);
    RegisterControl(L"CVerticalLayoutUI", &Make<CVerticalLayoutUI>);
    RegisterControl(L"CListUI", &Make<CListUI>);
    RegisterControl(L"CListHeaderUI", &Make<CListHeaderUI>);
    RegisterControl(L"CListHeaderItemUI", &Make<CListHeaderItemUI>);
    RegisterControl(L"CListLabelElementUI", &Make<CListLabelElementUI>);
    RegisterControl(L"CListTextElementUI", &Make<CListTextElementUI>);
    RegisterControl(L"CListContainerElementUI", &Make<CListContainerElementUI>);
    RegisterControl(L"CTreeNodeUI", &Make<CTreeNodeUI>);  // no parent node
    RegisterControl(L"CTreeViewUI", &Make<CTreeViewUI>);
    RegisterControl(L"CComboUI", &Make<CComboUI>);
    RegisterControl(L"CComboBoxUI", &Make<CComboBoxUI>);
    RegisterControl(L"CMenuUI", &Make<CMenuUI>);
    RegisterControl(L"CMenuElementUI", &Make<CMenuElementUI>);
    RegisterControl(L"CListExUI", &Make<CListExUI>);
    RegisterControl(L"CListContainerHeaderItemUI", &Make<CListContainerHeaderItemUI>);
    RegisterControl(L"CListTextExtElementUI", &Make<CListTextExtElementUI>);

    RegisterControl(L"CActiveXUI", &Make<CActiveXUI>);
    RegisterControl(L"CFlashUI", &Make<CFlashUI>);
    RegisterControl(L"CWebBrowserUI", &Make<CWebBrowserUI>);

    RegisterControl(L"CGifAnimUI", &Make<CGifAnimUI>);
    RegisterControl(L"COptionMultiLineUI", &Make<COptionMultiLineUI>);
    RegisterControl(L"CSliderUI", &Make<CSliderUI>);
    RegisterControl(L"CGroupBoxUI", &Make<CGroupBoxUI>);
    RegisterControl(L"CAnimationTabLayoutUI", &Make<CAnimationTabLayoutUI>);
    RegisterControl(L"CRollTextUI", &Make<CRollTextUI>);
    RegisterControl(L"CColorPaletteUI", &Make<CColorPaletteUI>);
    RegisterControl(L"CHotKeyUI", &Make<CHotKeyUI>);
    RegisterControl(L"CFadeButtonUI", &Make<CFadeButtonUI>);
    RegisterControl(L"CRingUI", &Make<CRingUI>);

    // Text-input controls.
    RegisterControl(L"CDateTimeUI", &Make<CDateTimeUI>);
    RegisterControl(L"CEditUI", &Make<CEditUI>);
    RegisterControl(L"CIPAddressUI", &Make<CIPAddressUI>);
    RegisterControl(L"CIPAddressExUI", &Make<CIPAddressExUI>);
    RegisterControl(L"CRichEditUI", &Make<CRichEditUI>);
}

CControlFactory::~CControlFactory() = default;

CControlUI* CControlFactory::CreateControl(CUIString className)
{
    const auto it = m_creators.find(KeyOf(className));
    return it != m_creators.end() ? it->second() : nullptr;
}

void CControlFactory::RegisterControl(CUIString className, CreateControlFn creator)
{
    if (creator == nullptr)
        return;
    m_creators.emplace(KeyOf(className), creator);
}

bool CControlFactory::IsRegistered(CUIString className) const
{
    return m_creators.count(KeyOf(className)) != 0;
}

} // namespace ZvUI
