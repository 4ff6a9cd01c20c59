#include "app/startup_options.h"

#include "support/language.h"
#include "support/text.h"

namespace {

bool Contains(const std::wstring& text, const wchar_t* what) {
    return text.find(what) != std::wstring::npos;
}
} // namespace

CommandLineOptions ScanCommandLine(const std::vector<std::wstring>& args) {
    CommandLineOptions options;
    if (args.size() < 2)
        return options;
    static const wchar_t kReport[] = L"report=";
    constexpr size_t kReportLength = sizeof(kReport) / sizeof(wchar_t) - 1;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        // "report=" counts only where an argument starts, and never in the
        // program path: an install folder named "...report=..." must not
        // switch the mode. The path after it is free text and may itself
        // contain "lang=" or "check_result=".
        if (i > 0 && arg.compare(0, kReportLength, kReport) == 0) {
            options.reportPath = arg.substr(kReportLength);
            continue;
        }
        if (Contains(arg, L"lang=")) {
            // An argument naming a language is never read as a check result.
            // The languages are tried in the table's order.
            for (const Language& language : LANGUAGES) {
                if (Contains(arg, (L"lang=" + std::wstring(language.code)).c_str())) {
                    options.languageIndex = language.index;
                    options.languageFixed = true;
                    break;
                }
            }
            continue;
        }
        static const wchar_t kKey[] = L"check_result=";
        const size_t at = arg.find(kKey);
        if (at != std::wstring::npos)
            options.checkResult =
                ReadLeadingInt(arg.c_str() + at + (sizeof(kKey) / sizeof(wchar_t) - 1));
    }
    return options;
}

StartupDecision DecideStartup(const std::vector<std::wstring>& args,
                              unsigned short userDefaultUiLanguage,
                              const std::optional<std::wstring>& settingsLanguage,
                              const std::wstring& resultFilePath, bool resultFileExists) {
    const CommandLineOptions options = ScanCommandLine(args);
    StartupDecision decision;
    if (options.languageFixed)
        decision.languageIndex = options.languageIndex;
    else if (settingsLanguage)
        decision.languageIndex = LanguageForCode(*settingsLanguage).index;
    else
        decision.languageIndex = LanguageForId(userDefaultUiLanguage).index;
    decision.languageId = LanguageForIndex(decision.languageIndex).id;
    decision.checkResult = options.checkResult;
    decision.resultFilePath = resultFilePath;
    if (options.checkResult != -1 && resultFileExists && !resultFilePath.empty())
        decision.mode = StartMode::Setup; // an installer's stored result always wins
    else if (options.reportPath)
        decision.mode = StartMode::Report;
    else
        decision.mode = StartMode::Check;
    if (options.reportPath)
        decision.reportPath = *options.reportPath;
    return decision;
}

std::wstring ResultFilePathFor(const std::wstring& modulePath) {
    // Without the executable's path there is no folder beside it; "\\result.tvxcfg"
    // would name the root of the current drive.
    if (modulePath.empty())
        return std::wstring();
    const size_t slash = modulePath.rfind(L'\\');
    const std::wstring folder =
        slash == std::wstring::npos ? modulePath : modulePath.substr(0, slash);
    return folder + L"\\result.tvxcfg";
}
