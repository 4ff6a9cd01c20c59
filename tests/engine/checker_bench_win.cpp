// Benchmark of one whole check as the program runs it: one fresh process,
// one CSystemChecker::Run against the real machine, with the reference
// service on loopback (tools/bench_checker.sh sets that up). With the
// argument "split" the process instead times Run's three steps one by one;
// each measurement has a process of its own so that both pay the first-use
// costs (COM, WMI) that a real check pays.
#include "engine/check_report.h"
#include "engine/system_checker.h"
#include "tests/win/temp_dir.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool split = argc > 1 && std::wcscmp(argv[1], L"split") == 0;
    TempDir dir;
    const std::wstring path = dir.File(L"checkerconfig.json");
    CSystemChecker checker(path);
    if (!split) {
        const LARGE_INTEGER start = Now();
        const int code = checker.Run(L"en");
        const LARGE_INTEGER end = Now();
        std::printf("run %.1f ms (code %d, adapters %u)\n", Milliseconds(start, end), code,
                    static_cast<unsigned>(checker.Report()->adapter_names.size()));
        return 0;
    }
    // The same three steps Run takes, timed one by one.
    const LARGE_INTEGER t0 = Now();
    checker.DownloadConfig();
    const LARGE_INTEGER t1 = Now();
    CCheckReport report(path);
    report.ProbeVideoControllers();
    const LARGE_INTEGER t2 = Now();
    report.Evaluate();
    const LARGE_INTEGER t3 = Now();
    std::printf("download %.1f ms, graphics probe %.1f ms, evaluation %.1f ms, total %.1f ms\n",
                Milliseconds(t0, t1), Milliseconds(t1, t2), Milliseconds(t2, t3),
                Milliseconds(t0, t3));
    return 0;
}
