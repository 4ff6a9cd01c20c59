// Reader of the stored result file an installer leaves beside the executable.
#include "engine/check_report.h"
#include "engine/driver_check.h"

#include <windows.h>

int CCheckReport::ReadResultFile(const std::wstring& path)
{
    static const wchar_t kSection[] = L"result";
    const struct {
        const wchar_t* key;
        std::wstring* target;
    } texts[] = {
        {L"os", &display_info.os},
        {L"cpu", &display_info.cpu},
        {L"memory", &display_info.memory},
        {L"gpu1", &display_info.gpu[0]},
        {L"gpu2", &display_info.gpu[1]},
        {L"dispdriver1", &display_info.dispdriver[0]},
        {L"dispdriver2", &display_info.dispdriver[1]},
    };
    // One buffer, cleared once: the profile API always terminates what it
    // writes, and cuts longer values to the buffer size less one.
    wchar_t buffer[1024] = {};
    for (const auto& t : texts) {
        GetPrivateProfileStringW(kSection, t.key, L"", buffer, 1024, path.c_str());
        *t.target = buffer;
    }

    const struct {
        const wchar_t* key;
        int* target;
    } numbers[] = {
        {L"cpu_game", &cpu_game},     {L"cpu_video", &cpu_video},   {L"mem_support", &mem_support},
        {L"gpu1_game", &gpu1_game},   {L"gpu1_video", &gpu1_video}, {L"gpu2_game", &gpu2_game},
        {L"gpu2_video", &gpu2_video}, {L"os_support", &os_support}, {L"steamvr", &steamvr},
    };
    for (const auto& n : numbers)
        *n.target = static_cast<int>(GetPrivateProfileIntW(kSection, n.key, 0, path.c_str()));

    driver_flags = ComputeDriverFlags(display_info);
    return driver_flags;
}
