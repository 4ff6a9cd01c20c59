// Child runs of the test program for the system checker. The log is
// process-wide and opened once per run, so a download or a whole check whose
// log lines a test wants to see runs in a fresh child process: it opens the
// log, does its one job and exits, and the parent reads what it appended.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

constexpr wchar_t kChildAdapter[] = L"Radeon Test Adapter";

struct ChildOutcome {
    DWORD exitCode = 0xFFFFFFFF;
    // Messages of the lines the child appended, "<separator>" for the mark
    // the log writes when it opens.
    std::vector<std::string> messages;
};

// "download": CSystemChecker(configPath).DownloadConfig(), exit code 0.
// "run": Run(L"en") with a fixed machine (a Core i7-8700K, 64-bit Windows 10,
// 16 GiB, standalone SteamVR, the one adapter kChildAdapter), exit code = the
// check result.
// `elevated` forces the child's answer to "is this process elevated?";
// without it the child asks Windows (Wine answers yes).
ChildOutcome RunCheckerChild(const std::wstring& configPath, const wchar_t* action,
                             std::optional<bool> elevated = std::nullopt);

// The file's bytes, shared with writers; "<missing>" when it does not exist.
std::string ReadBytes(const std::wstring& path);
