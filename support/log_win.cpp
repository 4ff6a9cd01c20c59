// The process-wide log. Lines are formatted to wide text, turned into bytes by
// LogBytes and written in one piece under the lock, so a line from one thread
// never interleaves with another's.
#include "support/log.h"

#include "support/elevation.h"
#include "support/folders.h"
#include "support/guarded_file.h"
#include "support/log_format.h"

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <share.h>

#include <cstdarg>
#include <string>

namespace {

// "%s" must take a wide text. The C99 wide printf of mingw's ANSI stdio reads
// "%s" as a narrow text, so use the runtime's own _vsnwprintf, which keeps the
// Windows meaning in both toolchains.
std::wstring FormatMessageText(const wchar_t* format, va_list args) {
    va_list counting;
    va_copy(counting, args);
    const int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length < 0)
        return format; // a broken format is written as it stands rather than lost
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int written = _vsnwprintf(&text[0], text.size(), format, args);
    text.resize(written < 0 ? 0 : static_cast<size_t>(written));
    return text;
}

class LockGuard {
public:
    explicit LockGuard(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~LockGuard() { LeaveCriticalSection(&m_lock); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

// An elevated run opens the log only through checked folders (guarded_file.h),
// then hands the handle to a text-mode stream like the one below. Null when a
// check fails: no log for this run.
FILE* OpenGuardedLog(const GuardedPath& path) {
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

// As it always was: the folder made with its parents, the file opened by name.
FILE* OpenLogByName(const GuardedPath& path) {
    CreateFolderPath(path.Folder());
    // Text mode, shared for reading and writing by other processes.
    return _wfsopen(path.Full().c_str(), L"a+", _SH_DENYNO);
}

} // namespace

CCTLog& CCTLog::GetInstance() {
    // First use happens on the user-interface thread before any worker exists.
    static CCTLog instance;
    return instance;
}

CCTLog::CCTLog() {
    InitializeCriticalSection(&m_lock);
}

CCTLog::~CCTLog() {
    if (m_file != nullptr) {
        fclose(m_file);
        m_file = nullptr;
    }
    DeleteCriticalSection(&m_lock);
}

void CCTLog::Open() {
    if (m_file == nullptr) {
        wchar_t common[MAX_PATH] = {};
        // Without the application-data folder the path would fall back to the
        // root of the current drive; log nowhere instead.
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common))) {
            const GuardedPath path{common, {L"ORMEX", L"Logs"}, L"Tavolex.log"};
            m_file = IsProcessElevated() ? OpenGuardedLog(path) : OpenLogByName(path);
            if (m_file != nullptr) {
                // Text mode stores this as CR CR LF: the mark between runs.
                fputs("\r\n", m_file);
                fflush(m_file);
            }
        }
        m_enabled = true;
    }
    m_level = LOG_LEVEL_PROGRESS;
}

void CCTLog::Write(unsigned level, const wchar_t* format, ...) {
    if (!m_enabled || m_file == nullptr || m_level < level || format == nullptr)
        return;
    LockGuard guard(m_lock);
    try {
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        LogTime time;
        time.year = now.wYear;
        time.month = now.wMonth;
        time.day = now.wDay;
        time.hour = now.wHour;
        time.minute = now.wMinute;
        time.second = now.wSecond;

        va_list args;
        va_start(args, format);
        std::wstring line;
        try {
            line = FormatLogStamp(time) + FormatMessageText(format, args);
        } catch (...) {
            va_end(args);
            throw;
        }
        va_end(args);

        std::string bytes = LogBytes(line);
        bytes.push_back('\n');
        fwrite(bytes.data(), 1, bytes.size(), m_file);
        fflush(m_file);
    } catch (...) {
        // A failed line is dropped; callers never see a failure of the log.
    }
}
