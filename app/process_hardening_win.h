// Defence against DLL planting. Installers often start this program from a
// download or temp folder, where anyone may have left a DLL with a system
// name; the default search would load it from the exe's folder first.
#pragma once

struct DllSearchHardening {
    bool defaultDirectoriesLimited = false; // SetDefaultDllDirectories took effect
    bool currentFolderRemoved = false;      // SetDllDirectoryW(L"") took effect
};

// Limits every later DLL load of the process (ours and those of system DLLs)
// to System32. Call it first thing in wWinMain: statically imported DLLs are
// already loaded by then, which is why the product delay-loads every import
// that is not a KnownDLL on all supported Windows versions. Each delay-loaded
// DLL, and what it is known to load by name, is loaded from System32 by the
// delay-load hook in process_hardening_win.cpp, also where this call cannot
// limit the search (Windows 7 without KB2533623).
DllSearchHardening HardenDllSearch();
