#include "app/startup_win.h"

#include "support/language.h"
#include "support/long_path.h"
#include "support/module_path.h"
#include "support/win_handles.h"
#include "toolkit/paint_manager.h"
#include "ui/string_table.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace {

std::vector<std::wstring> CommandLineArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    // One LocalAlloc block holds the pointers and the texts they point to.
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const LocalOwner block(argv);
    if (argv == nullptr)
        return args;
    for (int i = 0; i < count; ++i)
        args.emplace_back(argv[i]);
    return args;
}

// The settings file is looked up under the current directory, not beside the
// executable: installers start the program from their own folder.
std::optional<std::wstring> ReadSettingsLanguage() {
    wchar_t current[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    const std::wstring path = std::wstring(current) + L"\\config\\tavolex.ini";
    if (path.size() >= MAX_PATH || !PathFileExistsW(path.c_str()))
        return std::nullopt;
    wchar_t value[128] = {};
    // Without the key the reader's default is Chinese.
    GetPrivateProfileStringW(L"set", L"language", LANGUAGES[LANGUAGE_CHINESE].code, value, 128,
                             path.c_str());
    return std::wstring(value);
}

} // namespace

StartupDecision RunStartupOptions(HINSTANCE instance) {
    const std::vector<std::wstring> args = CommandLineArguments();
    std::optional<std::wstring> settings;
    if (!ScanCommandLine(args).languageFixed)
        settings = ReadSettingsLanguage();

    // Read in full however long; beyond the classic limit the file functions
    // need the long form of the path.
    const std::wstring resultPath = ExtendedLengthPath(ResultFilePathFor(ReadModulePath()));
    const bool resultExists =
        !resultPath.empty() && GetFileAttributesW(resultPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    StartupDecision decision =
        DecideStartup(args, GetUserDefaultUILanguage(), settings, resultPath, resultExists);

    // Wine ignores SetThreadUILanguage, so the string table also remembers
    // the language for this thread and looks strings up by it explicitly.
    SetUiLanguage(decision.languageId);
    CPaintManagerUI::SetInstance(instance);
    return decision;
}
