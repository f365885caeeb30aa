#include "SkinPackage.h"

#include "ShellFunctions.h"

#include <windows.h>

#include "manager/PaintManagerUI.h"
#include "resource/UIResourceTable.h"

using namespace ZvUI;

namespace {

// Layouts, images and fonts come from a zip archive held in memory.
constexpr int kResourcesFromMemoryZip = 4;

} // namespace

bool SetSkinArchiveFromResource(UINT id, LPCWSTR type)
{
    const HINSTANCE module = CPaintManagerUI::GetResourceModule();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const bool present = bytes != nullptr && size != 0;
    if (present) {
        // Resource memory stays mapped for the life of the module, as the archive needs.
        CPaintManagerUI::SetResourceArchive(bytes, static_cast<int>(size), nullptr);
        // The skin has no name table: every layout and image name is used as written.
        (void)CUIResourceTable::Instance()->LoadFromResource(L"res.xml", nullptr);
    }
    if (loaded)
        ::FreeResource(loaded);
    return present;
}

bool LoadSkinPackage()
{
    CPaintManagerUI::SetResourceKind(kResourcesFromMemoryZip);
    CPaintManagerUI::SetResourceFolder((GetProgramFolder() + L"\\skin\\").c_str());
    return SetSkinArchiveFromResource(kZvSkinResourceId, kZvSkinResourceType);
}
