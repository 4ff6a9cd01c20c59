// Reader of the stored result file an installer leaves beside the executable.
#include "engine/check_report.h"
#include "engine/driver_check.h"
#include "engine/result_file_keys.h"

#include <windows.h>

int CCheckReport::ReadResultFile(const std::wstring& path) {
    // One buffer, cleared once: the profile API always terminates what it
    // writes, and cuts longer values to the buffer size less one.
    constexpr DWORD kValueChars = 1024;
    wchar_t buffer[kValueChars] = {};
    ForEachResultKey(
        *this,
        [&](const wchar_t* key, std::wstring& text) {
            GetPrivateProfileStringW(RESULT_FILE_SECTION, key, L"", buffer, kValueChars,
                                     path.c_str());
            text = buffer;
        },
        [&](const wchar_t* key, int& number) {
            number =
                static_cast<int>(GetPrivateProfileIntW(RESULT_FILE_SECTION, key, 0, path.c_str()));
        });
    driver_flags = ComputeDriverFlags(display_info);
    return driver_flags;
}
