#include "support/temp_file.h"

#include "support/folder_chain.h"
#include "support/long_path.h"
#include "support/system_library_win.h"
#include "support/temp_name.h"

#include <cstring>
#include <vector>

namespace {

// Fresh names to try when one is taken: with 128 random bits a clash means
// someone is guessing, and a few tries are plenty.
constexpr int kNameTries = 4;
// One WriteFile call writes at most this much.
constexpr size_t kWriteChunk = 1024 * 1024;

// The name as the rename call wants it: the NT form (\??\C:\...,
// \??\UNC\server\...), which every Windows version and Wine take as it is.
std::wstring NtRenameTarget(const std::wstring& path) {
    const std::wstring extended = ExtendedLengthPath(path);
    if (extended.compare(0, 4, L"\\\\?\\") == 0)
        return L"\\??\\" + extended.substr(4);
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\??\\UNC\\" + path.substr(2);
    return L"\\??\\" + path;
}

using GenRandomFn = LONG(WINAPI*)(void* algorithm, unsigned char* buffer, ULONG size, ULONG flags);
constexpr ULONG kSystemPreferredRng = 0x00000002; // BCRYPT_USE_SYSTEM_PREFERRED_RNG

// The system's generator, BCryptGenRandom, looked up when first needed and
// loaded from System32 only. The trap: a static import of it, or of
// advapi32's RtlGenRandom (a forwarder to cryptbase.dll), is resolved before
// wWinMain limits the DLL search, with the exe's folder (often a download
// folder) searched first.
GenRandomFn LoadGenRandom() {
    HMODULE bcrypt = LoadSystemLibrary(L"bcrypt.dll");
    return bcrypt ? reinterpret_cast<GenRandomFn>(
                        reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptGenRandom")))
                  : nullptr;
}

bool SystemRandom(uint8_t* bytes, ULONG size) {
    static const GenRandomFn generate = LoadGenRandom(); // kept loaded for the process
    return generate != nullptr && generate(nullptr, bytes, size, kSystemPreferredRng) == 0;
}

} // namespace

std::wstring NewTempNameFor(const std::wstring& target) {
    uint8_t random[kTempNameRandomBytes] = {};
    if (!SystemRandom(random, sizeof random))
        return std::wstring();
    return TempNameFor(target, random);
}

TempFile::~TempFile() {
    if (m_file && !m_committed)
        DeleteThroughHandle(m_file.get());
}

DWORD TempFile::Create(const std::wstring& target) {
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::wstring name = NewTempNameFor(target);
        if (name.empty())
            return ERROR_GEN_FAILURE;
        m_file.reset(CreateFileW(ExtendedLengthPath(name).c_str(), GENERIC_WRITE | DELETE, 0,
                                 nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (m_file) {
            m_path = name;
            return ERROR_SUCCESS;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return GetLastError();
    }
    return ERROR_FILE_EXISTS;
}

DWORD TempFile::Create(const FolderChain& chain, const std::wstring& target) {
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::wstring name = NewTempNameFor(target);
        if (name.empty())
            return ERROR_GEN_FAILURE;
        m_file = chain.OpenFile(name, GENERIC_WRITE | DELETE, 0, FileOpen::New);
        if (m_file) {
            m_path = chain.PathOf(name);
            return ERROR_SUCCESS;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return GetLastError();
    }
    return ERROR_FILE_EXISTS;
}

DWORD TempFile::Write(const std::string& bytes) {
    if (!m_file)
        return ERROR_INVALID_HANDLE;
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            bytes.size() - done > kWriteChunk ? kWriteChunk : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(m_file.get(), bytes.data() + done, chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        done += written;
    }
    // Flushed before the rename, so that a crash cannot leave a renamed but
    // empty file behind.
    if (!FlushFileBuffers(m_file.get()))
        return GetLastError();
    return ERROR_SUCCESS;
}

DWORD TempFile::CommitAs(const std::wstring& target) {
    if (!m_file)
        return ERROR_INVALID_HANDLE;
    const std::wstring name = NtRenameTarget(target);
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, name.data(), nameBytes); // the buffer ends in a zero
    if (!SetFileInformationByHandle(m_file.get(), FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size())))
        return GetLastError();
    m_committed = true;
    m_path = target;
    m_file.reset();
    return ERROR_SUCCESS;
}
