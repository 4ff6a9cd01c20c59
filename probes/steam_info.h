// Steam and SteamVR detection from the registry and the file system.
//
// The checks are written for a 32-bit process: on 64-bit Windows its
// HKLM\Software is the 32-bit branch (Wow6432Node) and its Program Files is
// the x86 folder, which is where the standalone SteamVR announces itself.
// Steam's machine-wide InstallPath alone is read from the 64-bit view. A
// 64-bit build asks for the same places explicitly.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Receives the standalone check's log lines: a level (a LogLevel)
// and the finished message.
using ProbeLogWriter = std::function<void(unsigned level, const std::wstring& message)>;

// Writes a finished message to the process-wide log.
void WriteProbeLog(unsigned level, const std::wstring& message);

struct SteamInfo {
    std::wstring steamPath; // the Steam folder as registered
    std::wstring steamExe;  // the Steam executable's full path

    // True when a Steam folder is registered (per user first, else machine
    // wide) and both the folder and the executable exist on a fixed drive of
    // this machine; a network path is not looked at and counts as absent.
    bool FindSteam();

    // True when HKLM\Software\HtcVive announces a standalone SteamVR and one
    // of its two executables exists under Program Files. Logs its finding.
    bool FindStandaloneSteamVr() { return FindStandaloneSteamVr(WriteProbeLog); }
    bool FindStandaloneSteamVr(const ProbeLogWriter& log);
};

// True when Steam records the application as installed for the current user
// (HKCU\Software\Valve\steam\Apps\<appId>, "Installed" non-zero). With
// requireNotUpdating, a non-zero "Updating" makes it false. The key is only
// read: a missing key answers false and stays missing.
bool IsSteamAppInstalled(const std::wstring& appId, bool requireNotUpdating);
