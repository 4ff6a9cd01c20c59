// The skin folder text a window of this program gives the toolkit (Windows).
#pragma once

#include <string>

// skinName ("skin_tavolex_en") beside the executable, however long its path
// (skin_location.h). When the executable's path cannot be read, shows the
// toolkit's layout error box, which ends the program.
std::wstring SkinFolderFor(const std::wstring& skinName);
