// Runs this test program again as a child process, with one test enabled, for
// cases that need a fresh process: the process-wide log, or an executable in
// another folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What RunChild and RunTestChild give when the child cannot start, or does
// not end within two minutes and is stopped.
constexpr DWORD kChildFailed = 0xFFFFFFFF;

// Runs an exe with the arguments and waits for it; its exit code.
DWORD RunChild(const std::wstring& exePath, const std::wstring& arguments);

// Runs the test named "Suite.Name" in a child process and returns its exit
// code (0 when the test passed). exePath runs a copy of this program placed
// elsewhere; empty runs this program itself. kChildFailed when it cannot start.
DWORD RunTestChild(const std::wstring& testName, const std::wstring& exePath = std::wstring());

// True inside a child started by RunTestChild for this test.
bool IsTestChild(const wchar_t* testName);

// This program's full path.
std::wstring TestProgramPath();

// The whole content of a file, shared with writers; empty when missing.
std::string ReadFileShared(const std::wstring& path);

// The process-wide log file, C:\ProgramData\ORMEX\Logs\Tavolex.log.
std::wstring LogFilePath();

// Splits bytes appended to the log into the messages of its lines, checking
// each line's time stamp and CR LF end; the run separator (CR CR LF) becomes
// "<separator>".
std::vector<std::string> LogMessages(const std::string& appended);
