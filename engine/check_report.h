// The one record that carries a check's findings, from the probes and rules to
// the result window, and the stored-result reader used by setup mode.
#pragma once

#include <string>
#include <vector>

enum Verdict {
    VERDICT_UNDECIDED = 0,
    VERDICT_UNSUPPORTED = 1,
    VERDICT_SUPPORTED = 2,
};

enum CheckResult {
    CHECK_RESULT_NONE = 0,
    CHECK_RESULT_VIDEO_ONLY = 1,
    CHECK_RESULT_GAME = 2,
    CHECK_RESULT_GAME_NO_STEAMVR = 3,
};

struct SystemInfoText {
    std::wstring os;
    std::wstring cpu;
    std::wstring memory;
    std::wstring gpu[2];
    std::wstring dispdriver[2];
};

using NameList = std::vector<std::wstring>;

// The report holds two adapter slots; later controllers are not examined.
constexpr int kAdapterSlots = 2;

class IMachineProbe;

class CCheckReport {
public:
    explicit CCheckReport(std::wstring configPath = std::wstring());

    int cpu_game = 0;
    int cpu_video = 0;
    int gpu1_game = 0;
    int gpu1_video = 0;
    int gpu2_game = 0;
    int gpu2_video = 0;
    int mem_support = 0;
    int os_support = 0;
    int game_result = 0;
    int video_result = 0;
    int steamvr = 0;
    NameList adapter_names;
    SystemInfoText display_info;
    SystemInfoText match_info;

    // Requirement lists, upper case, in the configuration's order.
    NameList CPU_Game;
    NameList CPU_Video;
    NameList GPU_NV_Game;
    NameList GPU_NV_Video;
    NameList GPU_AMD_Game;
    NameList GPU_AMD_Video;
    NameList CPU_Intel_Video;
    NameList CPU_AMD_Video;
    NameList OS;
    NameList GPU_Game_Laptop;
    NameList GPU_Video_Laptop;
    NameList CPU_Game_BlackList;
    NameList CPU_Video_BlackList;
    NameList GPU_Game_BlackList;
    NameList GPU_Video_BlackList;
    NameList GPU_Game_BlackList_Exception;
    NameList GPU_Video_BlackList_Exception;

    std::wstring config_path;
    int driver_flags = 0;

    // Fills the report from a stored result file and returns the recomputed
    // driver flags (Windows: reads through the profile API).
    int ReadResultFile(const std::wstring& path);

    // Reads the requirements configuration into the seventeen lists.
    void LoadRequirements();

    // Runs the whole evaluation against this machine. The overload taking a
    // probe lets tests supply the machine's answers.
    void Evaluate();
    void Evaluate(IMachineProbe& machine);

    // Records up to two graphics adapters (names, driver versions). The
    // overload taking a probe lets tests supply the controllers.
    void ProbeVideoControllers();
    void ProbeVideoControllers(IMachineProbe& machine);

    // Applies the laptop lists to the four adapter verdicts on a portable PC.
    void ApplyLaptopLists(int& gpu1Game, int& gpu1Video, int& gpu2Game, int& gpu2Video);

    // Reads the processor brand string through cpuid; returns its length.
    int GetCpuBrandString(std::wstring& brand);
};

// Whether the result window shows a second adapter. Check mode asks the
// probe's names: a second adapter is one that was recorded with a name.
// Setup mode asks the stored result, which has only the texts.
bool CheckedSecondAdapter(const CCheckReport& report);
bool StoredSecondAdapter(const CCheckReport& report);
