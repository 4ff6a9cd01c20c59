// Steam and SteamVR detection against real registry keys and files, seeded by
// the tests in the views the probe reads and removed after each test.
#include "probes/steam_info.h"
#include "support/registry_win.h"
#include "support/log.h"
#include "tests/support/child_process_win.h"
#include "tests/win/temp_dir.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

const wchar_t kSteam[] = L"Software\\Valve\\steam";
const wchar_t kSteamApp[] = L"Software\\Valve\\steam\\Apps\\250820";
const wchar_t kHtcVive[] = L"Software\\HtcVive";

// Writes a value of any type, creating the key in the given view.
void SetValue(HKEY root, REGSAM view, const wchar_t* path, const wchar_t* name, DWORD type,
              const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE | view,
                                             nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
    RegCloseKey(key);
}

void SetText(HKEY root, REGSAM view, const wchar_t* path, const wchar_t* name,
             const std::wstring& text, DWORD type = REG_SZ) {
    SetValue(root, view, path, name, type, text.c_str(),
             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY root, REGSAM view, const wchar_t* path, const wchar_t* name, DWORD value) {
    SetValue(root, view, path, name, REG_DWORD, &value, sizeof(value));
}

bool KeyExists(HKEY root, REGSAM view, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(HKEY root, REGSAM view, const wchar_t* parent, const wchar_t* child) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, parent, 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeW(key, child);
        RegCloseKey(key);
    }
}

std::wstring ProgramFiles() {
    wchar_t folder[MAX_PATH] = {};
    // Where a 32-bit SteamVR installs, whatever the word size of this build.
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::wstring& path) {
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path.c_str();
    CloseHandle(file);
}

std::wstring Slashes(std::wstring path) {
    for (auto& c : path)
        if (c == L'\\')
            c = L'/';
    return path;
}

using LogLines = std::vector<std::pair<unsigned, std::wstring>>;

// Moves what a Steam or SteamVR installation may have left on this machine
// out of the way for one test and puts it back afterwards, so that every test
// starts from a machine without them, whatever this one has.
class SetAside {
public:
    SetAside() {
        RegCreateKeyExW(HKEY_CURRENT_USER, kSavedRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &m_saved, nullptr);
        for (size_t i = 0; i < std::size(kPlaces); ++i) {
            const Place& place = kPlaces[i];
            const std::wstring path = std::wstring(place.parent) + L"\\" + place.child;
            HKEY source = nullptr;
            if (RegOpenKeyExW(place.root, path.c_str(), 0, KEY_READ | place.view, &source) !=
                ERROR_SUCCESS)
                continue;
            HKEY copy = nullptr;
            const bool saved =
                RegCreateKeyExW(m_saved, std::to_wstring(i).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &copy, nullptr) == ERROR_SUCCESS &&
                RegCopyTreeW(source, nullptr, copy) == ERROR_SUCCESS;
            RegCloseKey(copy);
            RegCloseKey(source);
            EXPECT_TRUE(saved) << "cannot set aside " << place.name;
            if (saved) {
                DeleteTree(place.root, place.view, place.parent, place.child);
                m_moved[i] = true;
            }
        }
        if (Exists(ProgramFiles() + L"\\SteamVR")) {
            m_folderMoved = MoveFileW((ProgramFiles() + L"\\SteamVR").c_str(),
                                      (ProgramFiles() + kSavedFolderSuffix).c_str()) != FALSE;
            EXPECT_TRUE(m_folderMoved) << "cannot set aside Program Files\\SteamVR";
        }
    }

    ~SetAside() {
        for (size_t i = 0; i < std::size(kPlaces); ++i) {
            if (!m_moved[i])
                continue;
            const Place& place = kPlaces[i];
            const std::wstring path = std::wstring(place.parent) + L"\\" + place.child;
            HKEY copy = nullptr;
            HKEY target = nullptr;
            const bool restored = RegOpenKeyExW(m_saved, std::to_wstring(i).c_str(), 0, KEY_READ,
                                                &copy) == ERROR_SUCCESS &&
                                  RegCreateKeyExW(place.root, path.c_str(), 0, nullptr, 0,
                                                  KEY_ALL_ACCESS | place.view, nullptr, &target,
                                                  nullptr) == ERROR_SUCCESS &&
                                  RegCopyTreeW(copy, nullptr, target) == ERROR_SUCCESS;
            RegCloseKey(target);
            RegCloseKey(copy);
            EXPECT_TRUE(restored) << "cannot put back " << place.name;
        }
        if (m_folderMoved) {
            EXPECT_TRUE(MoveFileW((ProgramFiles() + kSavedFolderSuffix).c_str(),
                                  (ProgramFiles() + L"\\SteamVR").c_str()));
        }
        RegCloseKey(m_saved);
        RegDeleteTreeW(HKEY_CURRENT_USER, kSavedRoot);
    }

    SetAside(const SetAside&) = delete;
    SetAside& operator=(const SetAside&) = delete;

private:
    struct Place {
        HKEY root;
        REGSAM view;
        const wchar_t* parent;
        const wchar_t* child;
        const char* name;
    };
    inline static const Place kPlaces[] = {
        {HKEY_CURRENT_USER, 0, L"Software", L"Valve", "HKCU Valve"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software", L"Valve", "HKLM Valve"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"Valve", "HKLM 32-bit Valve"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software", L"HtcVive", "HKLM HtcVive"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"HtcVive", "HKLM 32-bit HtcVive"},
    };
    static constexpr wchar_t kSavedRoot[] = L"Software\\TavolexTestsSetAside";
    static constexpr wchar_t kSavedFolderSuffix[] = L"\\SteamVR.tvx-set-aside";

    HKEY m_saved = nullptr;
    bool m_moved[std::size(kPlaces)] = {};
    bool m_folderMoved = false;
};

// The registry keys and the Program Files folder these tests touch start
// absent (what was there is set aside) and are removed after each test.
class SteamProbe : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteTree(HKEY_CURRENT_USER, 0, L"Software", L"Valve");
        DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software", L"Valve");
        DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"Valve");
        DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"HtcVive");
        DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software", L"HtcVive");
        DeleteFolderTree(ProgramFiles() + L"\\SteamVR");
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, 0, L"Software\\Valve"));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive));
    }

    // A Steam folder with its executable, inside the test's temporary folder.
    std::wstring MakeSteamFolder(const wchar_t* name = L"Steam") {
        const std::wstring folder = m_temp.File(name);
        Touch(folder + L"\\Steam.exe");
        return folder;
    }

    bool FindStandalone(LogLines& lines) {
        SteamInfo info;
        return info.FindStandaloneSteamVr([&lines](unsigned level, const std::wstring& message) {
            lines.emplace_back(level, message);
        });
    }

    // Destroyed after TearDown has removed what the test made.
    SetAside m_setAside;
    TempDir m_temp;
};

} // namespace

TEST_F(SteamProbe, PerUserPathsAreTakenUnchangedWithForwardSlashes) {
    const std::wstring folder = Slashes(MakeSteamFolder());
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", folder);
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamExe", folder + L"/Steam.exe");
    SteamInfo info;
    EXPECT_TRUE(info.FindSteam());
    EXPECT_EQ(folder, info.steamPath);
    EXPECT_EQ(folder + L"/Steam.exe", info.steamExe);
}

TEST_F(SteamProbe, MissingSteamExeIsTheFolderWithBackslashSteamExe) {
    const std::wstring folder = Slashes(MakeSteamFolder());
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", folder);
    SteamInfo info;
    EXPECT_TRUE(info.FindSteam());
    EXPECT_EQ(folder + L"\\Steam.exe", info.steamExe);

    // A registered executable that is missing fails the check.
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamExe", folder + L"/gone.exe");
    SteamInfo missingExe;
    EXPECT_FALSE(missingExe.FindSteam());
}

TEST_F(SteamProbe, MachineWideInstallPathIsReadFromThe64BitViewOnly) {
    const std::wstring folder = MakeSteamFolder();
    // The 32-bit branch, which this process sees by default, is not asked.
    SetText(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kSteam, L"InstallPath", folder);
    SteamInfo wrongView;
    EXPECT_FALSE(wrongView.FindSteam());

    SetText(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kSteam, L"InstallPath", folder);
    SteamInfo info;
    EXPECT_TRUE(info.FindSteam());
    EXPECT_EQ(folder, info.steamPath);
    EXPECT_EQ(folder + L"\\Steam.exe", info.steamExe);
}

TEST_F(SteamProbe, DeletedPerUserFolderIsNotReplacedByTheMachineWideOne) {
    const std::wstring machine = MakeSteamFolder(L"Machine");
    SetText(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kSteam, L"InstallPath", machine);
    const std::wstring deleted = m_temp.File(L"DeletedSteam");
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", Slashes(deleted));
    SteamInfo info;
    EXPECT_FALSE(info.FindSteam());
    EXPECT_EQ(Slashes(deleted), info.steamPath);

    // An empty per-user value counts as none registered.
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", L"");
    SteamInfo empty;
    EXPECT_TRUE(empty.FindSteam());
    EXPECT_EQ(machine, empty.steamPath);
}

TEST_F(SteamProbe, OverlongOrMistypedValuesCountAsNotFound) {
    const std::wstring machine = MakeSteamFolder(L"Machine");
    SetText(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kSteam, L"InstallPath", machine);

    // Too long for 260 characters with the terminator: the machine-wide path
    // is used instead, and nothing of the long value shows.
    const std::wstring tooLong(300, L'x');
    const std::wstring exactly260(260, L'y');
    const std::vector<std::pair<DWORD, std::wstring>> unusable = {
        {REG_SZ, tooLong}, {REG_EXPAND_SZ, Slashes(MakeSteamFolder())}, {REG_MULTI_SZ, L"C:/x"}};
    for (const auto& value : unusable) {
        SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", value.second, value.first);
        SteamInfo info;
        EXPECT_TRUE(info.FindSteam()) << value.first;
        EXPECT_EQ(machine, info.steamPath);
    }
    // Exactly 260 characters stored without a terminator leave no room for one.
    SetValue(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", REG_SZ, exactly260.c_str(),
             static_cast<DWORD>(exactly260.size() * sizeof(wchar_t)));
    SteamInfo unterminated;
    EXPECT_TRUE(unterminated.FindSteam());
    EXPECT_EQ(machine, unterminated.steamPath);
    // A DWORD where the path should be.
    SetDword(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", 1);
    SteamInfo dword;
    EXPECT_TRUE(dword.FindSteam());
    EXPECT_EQ(machine, dword.steamPath);

    // 259 characters fit: read in full (the folder does not exist).
    const std::wstring longest(259, L'z');
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", longest);
    SteamInfo fits;
    EXPECT_FALSE(fits.FindSteam());
    EXPECT_EQ(longest, fits.steamPath);

    // A per-user executable that is too long is dropped for folder\Steam.exe.
    const std::wstring folder = MakeSteamFolder();
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", folder);
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamExe", tooLong);
    SteamInfo exe;
    EXPECT_TRUE(exe.FindSteam());
    EXPECT_EQ(folder + L"\\Steam.exe", exe.steamExe);
}

namespace {

// Wine shows \\host\share\... as the folder dosdevices/unc/host/share of its
// prefix, reached here through Wine's Z: drive (the Unix root). Empty when
// this is not Wine's test prefix.
std::wstring WineUncFolder() {
    wchar_t prefix[MAX_PATH] = {};
    const DWORD chars = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (chars == 0 || chars >= MAX_PATH)
        return std::wstring();
    std::wstring folder = L"Z:" + std::wstring(prefix) + L"\\dosdevices\\unc";
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder;
}

} // namespace

// Under Wine a UNC Steam folder can exist without any network, so only the
// kind of path keeps the probe from looking there.
TEST_F(SteamProbe, NetworkPathsAreNotLookedAt) {
    const std::wstring unc = WineUncFolder();
    if (unc.empty())
        GTEST_SKIP() << "needs Wine's UNC folder";
    const std::wstring host = unc + L"\\tvxsteamhost";
    const struct Removed {
        std::wstring folder;
        std::wstring unc;
        ~Removed() {
            DeleteFolderTree(folder);
            RemoveDirectoryW(unc.c_str()); // only when nothing else is in it
        }
    } removed{host, unc};
    Touch(host + L"\\share\\Steam\\Steam.exe");
    ASSERT_TRUE(Exists(L"\\\\tvxsteamhost\\share\\Steam\\Steam.exe")) << host.c_str();
    const std::wstring local = MakeSteamFolder();
    for (const wchar_t* path : {L"\\\\tvxsteamhost\\share\\Steam", L"//tvxsteamhost/share/Steam",
                                L"\\\\?\\UNC\\tvxsteamhost\\share\\Steam"}) {
        SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", path);
        SteamInfo folder;
        EXPECT_FALSE(folder.FindSteam()) << path;
        // A local folder whose registered executable lies on the share.
        SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamPath", local);
        SetText(HKEY_CURRENT_USER, 0, kSteam, L"SteamExe", std::wstring(path) + L"\\Steam.exe");
        SteamInfo exe;
        EXPECT_FALSE(exe.FindSteam()) << path;
        DeleteTree(HKEY_CURRENT_USER, 0, L"Software", L"Valve");
    }
}

TEST_F(SteamProbe, NothingRegisteredFindsNoSteam) {
    SteamInfo info;
    EXPECT_FALSE(info.FindSteam());
    EXPECT_TRUE(info.steamPath.empty());
    EXPECT_TRUE(info.steamExe.empty());
}

TEST_F(SteamProbe, SteamVrAppInstalledFlag) {
    // Missing key: not installed, and no key is made by asking.
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", true));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, 0, L"Software\\Valve"));
    // An empty key answers the same.
    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Other", 1);
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", false));

    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Installed", 1);
    EXPECT_TRUE(IsSteamAppInstalled(L"250820", false));
    EXPECT_FALSE(IsSteamAppInstalled(L"250821", false));
    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Installed", 0);
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", false));
    // A text "1" is not a REG_DWORD.
    SetText(HKEY_CURRENT_USER, 0, kSteamApp, L"Installed", L"1");
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", false));
    EXPECT_FALSE(IsSteamAppInstalled(L"", false));
}

TEST_F(SteamProbe, UpdatingMattersOnlyWhenAskedFor) {
    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Installed", 1);
    EXPECT_TRUE(IsSteamAppInstalled(L"250820", true)) << "no Updating value";
    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Updating", 1);
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", true));
    EXPECT_TRUE(IsSteamAppInstalled(L"250820", false));
    SetDword(HKEY_CURRENT_USER, 0, kSteamApp, L"Updating", 0);
    EXPECT_TRUE(IsSteamAppInstalled(L"250820", true));
}

TEST_F(SteamProbe, ReadRegistryDwordWantsTheDwordType) {
    DWORD value = 7;
    SetDword(HKEY_CURRENT_USER, 0, kSteam, L"Number", 42);
    EXPECT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kSteam, L"Number", value));
    EXPECT_EQ(42u, value);
    const unsigned long long wide = 5;
    SetValue(HKEY_CURRENT_USER, 0, kSteam, L"Wide", REG_QWORD, &wide, sizeof(wide));
    SetText(HKEY_CURRENT_USER, 0, kSteam, L"Text", L"42");
    value = 7;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSteam, L"Wide", value));
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSteam, L"Text", value));
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSteam, L"Missing", value));
    EXPECT_EQ(7u, value);
    // A missing key is only read, never made.
    EXPECT_FALSE(
        ReadRegistryDword(HKEY_CURRENT_USER, L"Software\\Valve\\steam\\Absent", L"Number", value));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, 0, L"Software\\Valve\\steam\\Absent"));
}

// An elevated check may write where a user's cannot: asking must leave the
// registry as it found it, in both views of the machine-wide branch.
TEST_F(SteamProbe, AskingLeavesNoKeyBehind) {
    // An empty key from an earlier run (SetUp saw it holds nothing).
    DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"HtcVive");
    DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software", L"HtcVive");
    LogLines lines;
    EXPECT_FALSE(FindStandalone(lines));
    SteamInfo info;
    EXPECT_FALSE(info.FindSteam());
    EXPECT_FALSE(IsSteamAppInstalled(L"250820", false));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kHtcVive));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, 0, L"Software\\Valve"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"Software\\Valve"));
    EXPECT_TRUE(lines.empty());
}

TEST_F(SteamProbe, StandaloneSteamVrWithVrstartup) {
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", 1);
    Touch(ProgramFiles() + L"\\SteamVR\\bin\\win32\\vrstartup.exe");
    LogLines lines;
    EXPECT_TRUE(FindStandalone(lines));
    EXPECT_EQ((LogLines{{2, L"steamvr: standalone exist."}}), lines);
}

TEST_F(SteamProbe, StandaloneSteamVrWithOnlyVrmonitor) {
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", 1);
    Touch(ProgramFiles() + L"\\SteamVR\\tools\\bin\\win32\\vrmonitor.exe");
    LogLines lines;
    EXPECT_TRUE(FindStandalone(lines));
    EXPECT_EQ((LogLines{{2, L"steamvr: standalone exist."}}), lines);
}

TEST_F(SteamProbe, StandaloneSteamVrAnnouncedButNoExecutable) {
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", 1);
    // Executables in the wrong folders do not count.
    Touch(ProgramFiles() + L"\\SteamVR\\bin\\vrstartup.exe");
    Touch(ProgramFiles() + L"\\SteamVR\\bin\\win32\\vrmonitor.exe");
    LogLines lines;
    EXPECT_FALSE(FindStandalone(lines));
    EXPECT_EQ((LogLines{{0, L"steamvr: standalone exist(file not found)"}}), lines);
}

TEST_F(SteamProbe, StandaloneSteamVrFlagMissingZeroTextOrOtherViewIsSilent) {
    Touch(ProgramFiles() + L"\\SteamVR\\bin\\win32\\vrstartup.exe");
    LogLines lines;
    EXPECT_FALSE(FindStandalone(lines)) << "no key";
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", 0);
    EXPECT_FALSE(FindStandalone(lines)) << "flag 0";
    SetText(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", L"1");
    EXPECT_FALSE(FindStandalone(lines)) << "flag as text";
    DeleteTree(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Software", L"HtcVive");
    // The 64-bit branch is not where a 32-bit installation announces itself.
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kHtcVive, L"StandaloneSteamVRInstalled", 1);
    EXPECT_FALSE(FindStandalone(lines)) << "64-bit view";
    EXPECT_TRUE(lines.empty());
}

// The standalone check's lines through the real process-wide log. The log is
// opened once per run, so a child run of this program does the check while
// the parent owns the registry and files and reads what the run appended.
namespace {

const wchar_t kLogChild[] = L"SteamLogChild.Run";

// Runs the child case once; returns the bytes it appended to the log.
std::string LogOfChildRun() {
    const size_t before = ReadFileShared(LogFilePath()).size();
    EXPECT_EQ(0u, RunTestChild(kLogChild));
    const std::string after = ReadFileShared(LogFilePath());
    return after.size() > before ? after.substr(before) : std::string();
}

} // namespace

TEST(SteamLogChild, Run) {
    if (!IsTestChild(kLogChild))
        GTEST_SKIP() << "runs only as the child of StandaloneLinesReachTheProcessLog";
    CCTLog::GetInstance().Open();
    SteamInfo().FindStandaloneSteamVr();
}

TEST_F(SteamProbe, StandaloneLinesReachTheProcessLog) {
    SetDword(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kHtcVive, L"StandaloneSteamVRInstalled", 1);
    const std::wstring monitor = ProgramFiles() + L"\\SteamVR\\tools\\bin\\win32\\vrmonitor.exe";
    Touch(monitor);
    std::string log = LogOfChildRun();
    EXPECT_NE(std::string::npos, log.find("\tsteamvr: standalone exist.\r\n")) << log;
    EXPECT_EQ(std::string::npos, log.find("file not found")) << log;

    DeleteFileW(monitor.c_str());
    log = LogOfChildRun();
    EXPECT_NE(std::string::npos, log.find("\tsteamvr: standalone exist(file not found)\r\n"))
        << log;
    EXPECT_EQ(std::string::npos, log.find("exist.")) << log;
}
