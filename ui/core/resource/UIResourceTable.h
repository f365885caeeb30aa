#pragma once
// Process-wide table of texts, image paths and layout paths by id.

#include <windows.h>

#include "resource/IQueryControlText.h"
#include "utils/UIString.h"
#include "utils/UIStringMap.h"
#include "xml/XmlDocument.h"

namespace ZvUI {

// Keys are compared case-sensitively. The maps own the CUIString each entry points to.
class CUIResourceTable {
public:
    static CUIResourceTable* Instance();
    // Frees the table; the next Instance makes a new one.
    static void Release();

    CUIResourceTable(const CUIResourceTable&) = delete;
    CUIResourceTable& operator=(const CUIResourceTable&) = delete;

    // name is an integer resource id, markup text starting with '<', or a file under the
    // resource folder or archive; the Image and Xml entries found are added.
    [[nodiscard]] bool LoadFromResource(LPCWSTR name, LPCWSTR type);
    // False only for an invalid element.
    bool LoadResourceTable(const CXmlNode& element);
    // Text children of the root with id and value; a known id gets the new value.
    [[nodiscard]] bool LoadTextTable(LPCWSTR source);

    // The text for id, asked of the text source when the table lacks it; the id itself
    // when nobody has one, the empty string for a null id.
    CUIString GetText(LPCWSTR id, LPCWSTR type = nullptr);
    LPCWSTR GetImagePath(LPCWSTR id) const;
    LPCWSTR GetXmlPath(LPCWSTR id) const;

    // Not owned; null stops the questions.
    void SetTextSource(IQueryControlText* source) { m_pQueryText = source; }
    IQueryControlText* GetTextSource() const { return m_pQueryText; }
    // Asks the text source again for every cached id.
    void ReloadTexts();

    void ResetResourceMap();
    void ResetTextMap();

private:
    CUIResourceTable() = default;
    ~CUIResourceTable();

    static CUIResourceTable*& Slot();
    bool LoadMarkup(LPCWSTR source);

    CUIStringMap m_mapTexts{CUIStringMap::kDefaultBuckets};
    IQueryControlText* m_pQueryText = nullptr;
    CUIStringMap m_mapImagePaths{CUIStringMap::kDefaultBuckets};
    CUIStringMap m_mapXmlPaths{CUIStringMap::kDefaultBuckets};
    CXmlDocument m_xml;
};

} // namespace ZvUI
