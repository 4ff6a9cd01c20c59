// Loads DLLs by bare name, as system DLLs do for their own dependencies:
// `plant_control.exe [harden] name...`. Without "harden" a planted copy
// beside the exe must be found (the test's proof that planting works here);
// with it, HardenDllSearch() must keep every load in System32.
#include "app/process_hardening_win.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    int first = 1;
    if (argc > 1 && std::wcscmp(argv[1], L"harden") == 0) {
        const DllSearchHardening h = HardenDllSearch();
        std::printf("limited=%d current_folder_removed=%d\n", h.defaultDirectoriesLimited ? 1 : 0,
                    h.currentFolderRemoved ? 1 : 0);
        if (!h.defaultDirectoriesLimited || !h.currentFolderRemoved)
            return 3;
        first = 2;
    }
    int loaded = 0;
    for (int i = first; i < argc; ++i)
        if (LoadLibraryW(argv[i]) != nullptr)
            ++loaded;
    std::printf("loaded %d of %d\n", loaded, argc - first);
    return 0;
}
