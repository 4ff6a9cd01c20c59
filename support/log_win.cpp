// The process-wide log. Lines are formatted to wide text, turned into bytes by
// LogBytes and written in one piece under the lock, so a line from one thread
// never interleaves with another's.
#include "support/log.h"

#include "support/log_format.h"
#include "support/program_files.h"
#include "support/win_handles.h"

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
        // Without the application-data folder, or when a folder on the way
        // fails its check, there is no log for this run.
        m_file = OpenLogForAppend();
        if (m_file != nullptr) {
            // Text mode stores this as CR CR LF: the mark between runs.
            fputs("\r\n", m_file);
            fflush(m_file);
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
