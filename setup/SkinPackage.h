// The skin archive that the setup program carries in its own resources.
#pragma once

#include <windows.h>

// Resource type and id of the skin zip.
constexpr wchar_t kZvSkinResourceType[] = L"ZVZIP_RES";
constexpr int kZvSkinResourceId = 113;

// Points the UI framework at the skin: the zip in the resources when there is one, otherwise
// the "skin" folder beside the program. False when no zip resource was found.
bool LoadSkinPackage();

// Makes the zip resource (id, type) of the framework's resource module the skin archive and
// loads the resource table "res.xml" from it. False when the resource is missing or empty.
bool SetSkinArchiveFromResource(UINT id, LPCWSTR type);
