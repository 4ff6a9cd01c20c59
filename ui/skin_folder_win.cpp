#include "ui/skin_folder_win.h"

#include "support/module_path.h"
#include "toolkit/paint_manager.h"
#include "toolkit/window.h"
#include "ui/skin_location.h"

std::wstring SkinFolderFor(const std::wstring& skinName) {
    const SkinLocation location =
        LocateSkin(CPaintManagerUI::GetInstancePath(),
                   ReadModulePath(static_cast<HMODULE>(CPaintManagerUI::GetInstance())), skinName);
    if (location.unknown)
        ShowLayoutFailure();
    return location.folderText;
}
