#include "tests/support/child_process_win.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

const wchar_t kChildVariable[] = L"TVX_TEST_CHILD";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "MM/DD/YYYY hh:mm:ss" and a tab.
bool IsStamp(const std::string& s) {
    const char* shape = "dd/dd/dddd dd:dd:dd\t";
    if (s.size() != 20)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (shape[i] == 'd' ? !IsDigit(s[i]) : s[i] != shape[i])
            return false;
    }
    return true;
}

} // namespace

std::wstring TestProgramPath() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return exe;
}

DWORD RunChild(const std::wstring& exePath, const std::wstring& arguments) {
    constexpr DWORD kChildMilliseconds = 120000;
    std::wstring command = L"\"" + exePath + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return kChildFailed;
    DWORD code = kChildFailed;
    if (WaitForSingleObject(process.hProcess, kChildMilliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, kChildFailed);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

DWORD RunTestChild(const std::wstring& testName, const std::wstring& exePath) {
    SetEnvironmentVariableW(kChildVariable, testName.c_str());
    const DWORD code = RunChild(exePath.empty() ? TestProgramPath() : exePath,
                                L"--gtest_brief=1 --gtest_filter=" + testName);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    return code;
}

bool IsTestChild(const wchar_t* testName) {
    wchar_t value[256] = {};
    const DWORD length = GetEnvironmentVariableW(kChildVariable, value, 256);
    return length > 0 && length < 256 && std::wstring(value) == testName;
}

std::string ReadFileShared(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::wstring LogFilePath() {
    wchar_t common[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common);
    return std::wstring(common) + L"\\ORMEX\\Logs\\Tavolex.log";
}

std::vector<std::string> LogMessages(const std::string& appended) {
    std::vector<std::string> messages;
    size_t pos = 0;
    while (pos < appended.size()) {
        const size_t end = appended.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << appended.substr(pos);
            break;
        }
        const std::string line = appended.substr(pos, end - pos);
        pos = end + 2;
        if (line == "\r") {
            messages.push_back("<separator>");
            continue;
        }
        EXPECT_TRUE(IsStamp(line.substr(0, 20))) << line;
        messages.push_back(line.size() > 20 ? line.substr(20) : std::string());
    }
    return messages;
}
