// Start-up decisions: display language, the installer's check result, the
// stored result file and the mode. The decision itself is portable; the
// Windows glue gathers its inputs from the process and the disk.
#pragma once

#include "support/language.h"

#include <optional>
#include <string>
#include <vector>

enum class StartMode { Check, Setup, Report };

// What the command line says. Nothing is scanned unless there are at least two
// arguments (the program path counts as the first).
struct CommandLineOptions {
    bool languageFixed = false;
    int languageIndex = LANGUAGE_ENGLISH;
    int checkResult = -1;
    // "report=PATH" at the start of an argument other than the program path:
    // run one check without windows and write the findings.
    std::optional<std::wstring> reportPath;
};

struct StartupDecision {
    int languageIndex = LANGUAGE_ENGLISH;
    unsigned short languageId = LANGUAGES[LANGUAGE_ENGLISH].id;
    int checkResult = -1;
    std::wstring resultFilePath;
    std::wstring reportPath; // report mode only; may be empty ("report=" alone)
    StartMode mode = StartMode::Check;
};

CommandLineOptions ScanCommandLine(const std::vector<std::wstring>& args);

// The whole decision. settingsLanguage is empty when the settings file does
// not exist, otherwise the value read from it (the reader's default applies).
StartupDecision DecideStartup(const std::vector<std::wstring>& args,
                              unsigned short userDefaultUiLanguage,
                              const std::optional<std::wstring>& settingsLanguage,
                              const std::wstring& resultFilePath, bool resultFileExists);

// "C:\dir\app.exe" -> "C:\dir\result.tvxcfg"; a path without a backslash is
// kept whole and the name appended after a backslash. An empty path (the
// executable's path could not be read) gives an empty one: no stored result.
std::wstring ResultFilePathFor(const std::wstring& modulePath);
