#include "app/startup_options.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
using Args = std::vector<std::wstring>;
const std::wstring kExe = L"C:\\Tavolex\\TavolexCheck.exe";
const std::wstring kResult = L"C:\\Tavolex\\result.tvxcfg";
constexpr unsigned short kEnUs = 1033, kZhCn = 2052, kJaJp = 1041, kDeDe = 1031;

StartupDecision Decide(const Args& args, unsigned short ui = kEnUs,
                       std::optional<std::wstring> settings = std::nullopt,
                       bool resultExists = false) {
    return DecideStartup(args, ui, settings, kResult, resultExists);
}
} // namespace

TEST(StartupLanguage, CommandLineWinsOverSettingsAndUserDefault) {
    const auto d = Decide({kExe, L"lang=jp"}, kZhCn, L"cn");
    EXPECT_EQ(2, d.languageIndex);
    EXPECT_EQ(kJaJp, d.languageId);
    // The last language argument wins, and leading dashes do no harm.
    EXPECT_EQ(0, Decide({kExe, L"lang=en", L"--lang=cn"}).languageIndex);
    EXPECT_EQ(1, Decide({kExe, L"/lang=en"}, kZhCn).languageIndex);
}

TEST(StartupLanguage, UnknownOrMiscasedLanguageArgumentsAreIgnored) {
    EXPECT_EQ(0, Decide({kExe, L"lang=de"}, kEnUs, L"cn").languageIndex);
    EXPECT_EQ(2, Decide({kExe, L"lang=fr"}, kJaJp).languageIndex);
    // Arguments are case-sensitive.
    EXPECT_EQ(0, Decide({kExe, L"LANG=EN"}, kZhCn).languageIndex);
}

TEST(StartupLanguage, SettingsFileDecidesWhenPresent) {
    EXPECT_EQ(2, Decide({kExe}, kEnUs, L"JP").languageIndex);
    EXPECT_EQ(0, Decide({kExe}, kJaJp, L"Cn").languageIndex);
    EXPECT_EQ(1, Decide({kExe}, kZhCn, L"en").languageIndex);
    EXPECT_EQ(1, Decide({kExe}, kZhCn, L"").languageIndex);
    EXPECT_EQ(1, Decide({kExe}, kZhCn, L"cnx").languageIndex);
}

TEST(StartupLanguage, UserDefaultDecidesWithoutSettings) {
    EXPECT_EQ(0, Decide({kExe}, kZhCn).languageIndex);
    EXPECT_EQ(2, Decide({kExe}, kJaJp).languageIndex);
    EXPECT_EQ(1, Decide({kExe}, kDeDe).languageIndex);
    EXPECT_EQ(kEnUs, Decide({}, kDeDe).languageId);
}

TEST(StartupMode, SetupNeedsACheckResultAndTheStoredResult) {
    auto d = Decide({kExe, L"check_result=2"}, kEnUs, std::nullopt, true);
    EXPECT_EQ(StartMode::Setup, d.mode);
    EXPECT_EQ(2, d.checkResult);
    EXPECT_EQ(kResult, d.resultFilePath);

    EXPECT_EQ(StartMode::Check, Decide({kExe, L"check_result=2"}).mode);
    EXPECT_EQ(StartMode::Check, Decide({kExe}, kEnUs, std::nullopt, true).mode);
    // -1 is "no code".
    EXPECT_EQ(StartMode::Check, Decide({kExe, L"check_result=-1"}, kEnUs, std::nullopt, true).mode);
}

TEST(StartupMode, CheckResultIsReadLikeStrtol) {
    EXPECT_EQ(0, ScanCommandLine({kExe, L"check_result="}).checkResult);
    EXPECT_EQ(0, ScanCommandLine({kExe, L"check_result=abc"}).checkResult);
    EXPECT_EQ(3, ScanCommandLine({kExe, L"/check_result= 3x"}).checkResult);
    EXPECT_EQ(1, ScanCommandLine({kExe, L"check_result=5", L"check_result=1"}).checkResult);
    EXPECT_EQ(INT_MAX, ScanCommandLine({kExe, L"check_result=99999999999"}).checkResult);
    EXPECT_EQ(INT_MIN, ScanCommandLine({kExe, L"check_result=-99999999999"}).checkResult);
    // Only the text after the first key counts.
    EXPECT_EQ(7, ScanCommandLine({kExe, L"check_result=7check_result=8"}).checkResult);
    // No digits still selects setup mode when the file is there.
    EXPECT_EQ(StartMode::Setup, Decide({kExe, L"check_result=x"}, kEnUs, std::nullopt, true).mode);
}

TEST(StartupMode, LanguageArgumentIsNeverACheckResult) {
    const auto options = ScanCommandLine({kExe, L"lang=en,check_result=2"});
    EXPECT_EQ(-1, options.checkResult);
    EXPECT_TRUE(options.languageFixed);
    EXPECT_EQ(1, options.languageIndex);
    // Even an unknown language keeps the argument from being a check result.
    EXPECT_EQ(-1, ScanCommandLine({kExe, L"lang=xx check_result=2"}).checkResult);
}

TEST(StartupMode, ASingleArgumentIsNotScanned) {
    // The program path alone, even one containing the keys, says nothing.
    const auto options = ScanCommandLine({L"C:\\lang=jp\\check_result=2\\a.exe"});
    EXPECT_FALSE(options.languageFixed);
    EXPECT_EQ(-1, options.checkResult);
    // With a second argument the program path is scanned too.
    EXPECT_EQ(2, ScanCommandLine({L"C:\\lang=jp\\a.exe", L"x"}).languageIndex);
}

TEST(StartupPaths, ResultFileLiesBesideTheExecutable) {
    EXPECT_EQ(kResult, ResultFilePathFor(kExe));
    EXPECT_EQ(L"app.exe\\result.tvxcfg", ResultFilePathFor(L"app.exe"));
}

// Every other index, id or code falls back to English; codes in any case.
TEST(Languages, LookupsFallBackToEnglish) {
    EXPECT_STREQ(L"skin_tavolex_cn", LanguageForIndex(LANGUAGE_CHINESE).skinFolder);
    EXPECT_STREQ(L"skin_tavolex_en", LanguageForIndex(7).skinFolder);
    EXPECT_STREQ(L"en", LanguageForIndex(-1).code);
    EXPECT_EQ(LANGUAGE_JAPANESE, LanguageForId(1041).index);
    EXPECT_EQ(LANGUAGE_ENGLISH, LanguageForId(2057).index); // English (UK) is English too
    EXPECT_EQ(LANGUAGE_CHINESE, LanguageForCode(L"CN").index);
    EXPECT_EQ(LANGUAGE_ENGLISH, LanguageForCode(L"zh").index);
}

TEST(StartupReport, ReportArgumentSelectsReportModeUnlessSetupApplies) {
    auto d = Decide({kExe, L"report=C:\\out\\r.json"});
    EXPECT_EQ(StartMode::Report, d.mode);
    EXPECT_EQ(L"C:\\out\\r.json", d.reportPath);
    // The last one wins, and an empty path is still report mode.
    d = Decide({kExe, L"report=a.json", L"report="});
    EXPECT_EQ(StartMode::Report, d.mode);
    EXPECT_EQ(L"", d.reportPath);
    // An installer's stored result wins.
    d = Decide({kExe, L"report=r.json", L"check_result=2"}, kEnUs, std::nullopt, true);
    EXPECT_EQ(StartMode::Setup, d.mode);
    // A check result without the stored file leaves report mode in charge.
    EXPECT_EQ(StartMode::Report, Decide({kExe, L"report=r.json", L"check_result=2"}).mode);
}

TEST(StartupReport, PathsMayHoldOtherKeysButLanguageArgumentsDoNot) {
    const auto options = ScanCommandLine({kExe, L"report=C:\\check_result=2\\r.json"});
    EXPECT_EQ(L"C:\\check_result=2\\r.json", options.reportPath.value_or(L"?"));
    EXPECT_EQ(-1, options.checkResult);
    // A report path holding "lang=" is a path, not a language.
    const auto folder = ScanCommandLine({kExe, L"report=C:\\lang=jp\\r.json"});
    EXPECT_EQ(L"C:\\lang=jp\\r.json", folder.reportPath.value_or(L"?"));
    EXPECT_FALSE(folder.languageFixed);
    const auto lang = ScanCommandLine({kExe, L"lang=jp;report=r.json"});
    EXPECT_FALSE(lang.reportPath.has_value());
    EXPECT_EQ(2, lang.languageIndex);
    EXPECT_EQ(StartMode::Check, Decide({kExe}).mode);
}

TEST(StartupReport, OnlyAnArgumentThatStartsWithTheKeyCounts) {
    // An install folder whose name holds the key does not switch modes,
    // whether it is the program path or part of another argument.
    const std::wstring installedIn = L"C:\\Apps\\report=old\\TavolexCheck.exe";
    EXPECT_EQ(StartMode::Check, Decide({installedIn, L"lang=en"}).mode);
    EXPECT_EQ(StartMode::Check, Decide({installedIn, L"x"}).mode);
    EXPECT_FALSE(ScanCommandLine({kExe, L"/report=a.json"}).reportPath.has_value());
    EXPECT_FALSE(ScanCommandLine({kExe, L"--report=a.json"}).reportPath.has_value());
    EXPECT_FALSE(ScanCommandLine({kExe, L"C:\\report=x\\setup.log"}).reportPath.has_value());
    EXPECT_FALSE(ScanCommandLine({kExe, L" report=a.json"}).reportPath.has_value());
    EXPECT_FALSE(ScanCommandLine({kExe, L"Report=a.json"}).reportPath.has_value());
    // The program path may still say "check_result=": it is scanned as before.
    EXPECT_EQ(2, ScanCommandLine({L"C:\\report=1\\check_result=2\\a.exe", L"x"}).checkResult);
}

TEST(StartupPaths, AnUnreadableExecutablePathNeverNamesTheDriveRoot) {
    EXPECT_EQ(L"", ResultFilePathFor(L""));
    // With no result path there is nothing to show: check mode, even with a
    // check result and a caller that claims the file exists.
    const StartupDecision d =
        DecideStartup({kExe, L"check_result=2"}, kEnUs, std::nullopt, L"", true);
    EXPECT_EQ(StartMode::Check, d.mode);
    EXPECT_EQ(L"", d.resultFilePath);
}
