// Fuzz target: the command-line scan and the start-up decision.
//
// Input: the first byte picks the user's UI language and whether a result
// file and a settings value exist; the rest is split at '\n' into arguments,
// each byte one character (zeros kept). With the settings flag set, the last
// line is the settings file's language value instead of an argument.
#include "app/startup_options.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsKnownLanguageId(unsigned short id) {
    return id == 2052 || id == 1033 || id == 1041;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    static const unsigned short kUiLanguages[] = {2052, 1033, 1041, 0, 1028, 65535, 2057, 3076};
    const unsigned short uiLanguage = kUiLanguages[flags & 7];
    const bool resultFileExists = (flags & 8) != 0;
    const bool hasSettings = (flags & 16) != 0;

    std::vector<std::wstring> args(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\n')
            args.emplace_back();
        else
            args.back().push_back(static_cast<wchar_t>(data[i]));
    }
    std::optional<std::wstring> settings;
    if (hasSettings && args.size() > 1) {
        settings = args.back();
        args.pop_back();
    }

    const CommandLineOptions options = ScanCommandLine(args);
    Check(options.languageIndex >= 0 && options.languageIndex <= 2);
    if (args.size() < 2) {
        // Nothing is scanned: a lone program path is never read as options.
        Check(!options.languageFixed && options.checkResult == -1 && !options.reportPath);
    }

    // No executable path, no stored result: never one at a drive's root.
    const std::wstring resultPath = ResultFilePathFor(args[0]);
    Check(args[0].empty() ? resultPath.empty() : EndsWith(resultPath, L"\\result.tvxcfg"));
    const bool setupApplies = resultFileExists && options.checkResult != -1 && !resultPath.empty();

    const StartupDecision d =
        DecideStartup(args, uiLanguage, settings, resultPath, resultFileExists);
    Check(d.languageIndex >= 0 && d.languageIndex <= 2);
    Check(IsKnownLanguageId(d.languageId));
    Check(d.languageId == LanguageForIndex(d.languageIndex).id);
    Check(d.checkResult == options.checkResult);
    Check(d.resultFilePath == resultPath);
    if (options.languageFixed)
        Check(d.languageIndex == options.languageIndex);
    else if (settings)
        Check(d.languageIndex == LanguageForCode(*settings).index);
    else
        Check(d.languageIndex == LanguageForId(uiLanguage).index);
    switch (d.mode) {
    case StartMode::Setup:
        Check(setupApplies);
        break;
    case StartMode::Report:
        Check(options.reportPath.has_value() && !setupApplies);
        Check(d.reportPath == *options.reportPath);
        break;
    case StartMode::Check:
        Check(!options.reportPath && !setupApplies);
        break;
    }
    // "report=" is taken only from the start of an argument after the first.
    if (options.reportPath) {
        bool started = false;
        for (size_t i = 1; i < args.size(); ++i)
            started = started || args[i].compare(0, 7, L"report=") == 0;
        Check(started);
    }
    for (int index : {d.languageIndex, options.languageIndex, static_cast<int>(flags) - 128}) {
        const Language& language = LanguageForIndex(index);
        Check(std::wcslen(language.code) == 2 && language.skinFolder != nullptr);
    }
    return 0;
}
