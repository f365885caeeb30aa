// The skin archive that the setup program carries in its own resources.
#pragma once

// Resource type and id of the skin zip.
constexpr wchar_t kZvSkinResourceType[] = L"ZVZIP_RES";
constexpr int kZvSkinResourceId = 113;

// Points the UI framework at the skin: the zip in the resources when there is one, otherwise
// the "skin" folder beside the program. False when no zip resource was found.
bool LoadSkinPackage();
