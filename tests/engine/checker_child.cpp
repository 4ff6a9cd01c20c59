#include "tests/engine/checker_child.h"

#include "engine/system_checker.h"
#include "support/elevation.h"
#include "support/log.h"
#include "tests/engine/fake_machine.h"
#include "tests/support/child_process_win.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kPathVariable[] = L"TVX_CHECKER_CHILD_PATH";
const wchar_t kActionVariable[] = L"TVX_CHECKER_CHILD_ACTION";
const wchar_t kElevatedVariable[] = L"TVX_CHECKER_CHILD_ELEVATED";

std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : std::wstring();
}

// The child side runs during static initialisation, before the test runner
// starts, and never returns to it.
struct CheckerChild {
    CheckerChild() {
        const std::wstring path = Variable(kPathVariable);
        const std::wstring action = Variable(kActionVariable);
        if (path.empty() || action.empty())
            return;
        const std::wstring elevated = Variable(kElevatedVariable);
        if (!elevated.empty())
            SetElevationForTesting(elevated == L"1");
        CCTLog::GetInstance().Open();
        CSystemChecker checker(path);
        UINT code = 0;
        if (action == L"download") {
            checker.DownloadConfig();
        } else if (action == L"run") {
            FakeMachine machine;
            machine.standaloneSteamVr = true;
            machine.controllers = {{kChildAdapter, L"1.0"}};
            code = static_cast<UINT>(checker.Run(L"en", machine));
        } else {
            code = 100;
        }
        ExitProcess(code);
    }
} g_checkerChild;

} // namespace

std::string ReadBytes(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "<missing>";
    return ReadFileShared(path);
}

ChildOutcome RunCheckerChild(const std::wstring& configPath, const wchar_t* action,
                             std::optional<bool> elevated) {
    ChildOutcome outcome;
    const std::string logBefore = ReadFileShared(LogFilePath());
    SetEnvironmentVariableW(kPathVariable, configPath.c_str());
    SetEnvironmentVariableW(kActionVariable, action);
    SetEnvironmentVariableW(kElevatedVariable, elevated ? (*elevated ? L"1" : L"0") : nullptr);
    // The child does its work before the test runner starts; no test runs.
    outcome.exitCode = RunChild(TestProgramPath(), L"--gtest_filter=None");
    SetEnvironmentVariableW(kPathVariable, nullptr);
    SetEnvironmentVariableW(kActionVariable, nullptr);
    SetEnvironmentVariableW(kElevatedVariable, nullptr);
    EXPECT_NE(outcome.exitCode, kChildFailed) << "the child did not start or did not end";

    const std::string logAfter = ReadFileShared(LogFilePath());
    EXPECT_EQ(logAfter.compare(0, logBefore.size(), logBefore), 0) << "log was rewritten";
    if (logAfter.size() >= logBefore.size())
        outcome.messages = LogMessages(logAfter.substr(logBefore.size()));
    return outcome;
}
