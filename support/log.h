// The process-wide diagnostic log (Windows). Opened only by the start window;
// until then, and in setup mode, every write is dropped.
#pragma once

#include "support/log_levels.h"

#include <windows.h>

#include <cstdio>

class CCTLog {
public:
    static CCTLog& GetInstance();
    virtual ~CCTLog();
    CCTLog(const CCTLog&) = delete;
    CCTLog& operator=(const CCTLog&) = delete;

    // The opening procedure: creates the log folder, opens the file for
    // appending, writes the run separator and sets the threshold to
    // LOG_LEVEL_PROGRESS.
    void Open();

    // Appends one time-stamped line when level <= threshold (a LogLevel).
    // "%s" takes a wide text, "%d" a 32-bit int.
    void Write(unsigned level, const wchar_t* format, ...);

private:
    CCTLog();

    FILE* m_file = nullptr;
    bool m_enabled = false;
    // Until the log is opened nothing is written whatever the level.
    unsigned m_level = LOG_LEVEL_FAILURE + 1;
    CRITICAL_SECTION m_lock;
};
