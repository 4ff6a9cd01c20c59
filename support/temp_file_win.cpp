#include "support/temp_file.h"

#include "support/folder_chain.h"
#include "support/nt_file_win.h"
#include "support/system_library_win.h"
#include "support/temp_name.h"

namespace {

// Fresh names to try when one is taken: with 128 random bits a clash means
// someone is guessing, and a few tries are plenty.
constexpr int kNameTries = 4;
// One WriteFile call writes at most this much.
constexpr size_t kWriteChunk = 1024 * 1024;

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
    const size_t slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 >= target.size())
        return ERROR_INVALID_NAME;
    FolderChain chain;
    if (!chain.OpenFollowing(target.substr(0, slash == 2 && target[1] == L':' ? 3 : slash)))
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_PATH_NOT_FOUND;
    return Create(chain, target.substr(slash + 1));
}

DWORD TempFile::Create(const FolderChain& chain, const std::wstring& target) {
    HANDLE folder = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), chain.folder(), GetCurrentProcess(), &folder, 0,
                         FALSE, DUPLICATE_SAME_ACCESS))
        return GetLastError();
    m_folder.reset(folder);
    m_target = target;
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::wstring name = NewTempNameFor(target);
        if (name.empty())
            return ERROR_GEN_FAILURE;
        m_file = chain.OpenFile(name, GENERIC_WRITE | DELETE, 0, FileOpen::New);
        if (m_file) {
            m_path = chain.PathOf(name);
            // Should this fail, the destructor still deletes it on every
            // path but the process being ended.
            SetDeleteOnClose(m_file.get(), true);
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

DWORD TempFile::Commit() {
    if (!m_file || !m_folder)
        return ERROR_INVALID_HANDLE;
    // A file marked for deletion cannot be renamed.
    if (!SetDeleteOnClose(m_file.get(), false))
        return GetLastError();
    const DWORD renamed = RenameInto(m_file.get(), m_folder.get(), m_target);
    if (renamed != ERROR_SUCCESS) {
        SetDeleteOnClose(m_file.get(), true);
        return renamed;
    }
    m_committed = true;
    m_file.reset();
    return ERROR_SUCCESS;
}
