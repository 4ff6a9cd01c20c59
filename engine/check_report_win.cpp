// The report's Windows members: the stored-result reader, and the wrappers
// that put the real machine behind the evaluation and the adapter record.
#include "engine/check_report.h"
#include "engine/driver_check.h"
#include "engine/evaluation.h"
#include "engine/machine_probe.h"
#include "engine/requirements_win.h"
#include "engine/result_file_keys.h"
#include "engine/video_record.h"
#include "support/log.h"

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

void CCheckReport::LoadRequirements() {
    LoadRequirementsInto(*this);
}

void CCheckReport::ProbeVideoControllers() {
    ProbeVideoControllers(RealMachineProbe());
}

void CCheckReport::ProbeVideoControllers(IMachineProbe& machine) {
    RecordVideoControllers(*this, machine.VideoControllers());
}

void CCheckReport::Evaluate() {
    Evaluate(RealMachineProbe());
}

// The requirement lists are read first, then the progress note, then every
// rule over the machine's answers.
void CCheckReport::Evaluate(IMachineProbe& machine) {
    LoadRequirements();
    CCTLog::GetInstance().Write(LOG_LEVEL_PROGRESS, L"Start work...");
    EvaluateFindings(*this, machine);
}
