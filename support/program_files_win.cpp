#include "support/program_files.h"

#include "support/elevation.h"
#include "support/guarded_file.h"
#include "support/long_path.h"
#include "support/nt_file_win.h"
#include "support/files_win.h"

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

// A path below the machine-wide application data; false when Windows names
// none.
bool InProgramData(std::initializer_list<const wchar_t*> folders, const wchar_t* file,
                   GuardedPath& out) {
    wchar_t common[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common)))
        return false;
    out = GuardedPath{common, {}, file};
    for (const wchar_t* folder : folders)
        out.folders.push_back(folder);
    return true;
}

} // namespace

FILE* OpenLogForAppend() {
    GuardedPath path;
    if (!InProgramData({L"ORMEX", L"Logs"}, L"Tavolex.log", path))
        return nullptr;
    HandleOwner file = OpenGuardedForAppend(path);
    if (!file)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_APPEND | _O_TEXT);
    if (fd < 0)
        return nullptr;
    file.release(); // the descriptor owns the handle now
    FILE* stream = _wfdopen(fd, L"a+");
    if (stream == nullptr)
        _close(fd);
    return stream;
}

std::wstring PrepareConfigurationPath() {
    GuardedPath path;
    if (!InProgramData({L"ORMEX", L"updates", L"tavolex"}, L"checkerconfig.json", path))
        return std::wstring();
    // A folder that cannot be made shows up later as a file that cannot be
    // written or read, and both of those are handled where they happen.
    CreateGuardedFolders(path);
    return path.Full();
}

DWORD StoreConfiguration(const std::wstring& path, const std::string& bytes) {
    return ReplaceGuardedFile(GuardedPathFor(path), bytes);
}

bool ReadStoredConfiguration(const std::wstring& path, std::string& bytes) {
    // No sharing at all: while the download (another run's included) writes
    // the file, it is passed over.
    return !path.empty() && ReadGuardedFile(GuardedPathFor(path), bytes, kMaxConfigurationBytes, 0);
}

bool ReadConfigurationFile(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    const HandleOwner file = CreateFileNoImpersonation(
        path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL);
    return file && ReadOpenFile(file.get(), bytes, kMaxConfigurationBytes);
}

bool ConfigurationLocationExists(const std::wstring& path) {
    return PathFileExistsW(path.c_str()) ||
           GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring TemporaryFolder() {
    // GetTempPathW's longest answer is MAX_PATH + 1 characters.
    wchar_t path[MAX_PATH + 2] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 2, path);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    const std::wstring folder(path, length);
    const bool drive = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\';
    const bool unc = folder.compare(0, 2, L"\\\\") == 0;
    return (drive || unc) && folder.back() == L'\\' ? folder : std::wstring();
}

DWORD WriteReport(const std::wstring& path, const std::string& bytes) {
    return IsProcessElevated() ? ReplaceCheckedFromVolumeRoot(path, bytes)
                               : ReplaceFileContents(path, bytes);
}
