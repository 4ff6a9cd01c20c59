// The process-wide diagnostic log (Windows). Opened only by the start window;
// until then, and in setup mode, every write is dropped.
#pragma once

#include <windows.h>

#include <cstdio>

class CCTLog {
public:
    static CCTLog& GetInstance();
    virtual ~CCTLog();
    CCTLog(const CCTLog&) = delete;
    CCTLog& operator=(const CCTLog&) = delete;

    // The opening procedure: creates the log folder, opens the file for
    // appending, writes the run separator and sets the threshold to 2.
    void Open();

    // Appends one time-stamped line when level <= threshold. "%s" takes a
    // wide text, "%d" a 32-bit int.
    void Write(unsigned level, const wchar_t* format, ...);

private:
    CCTLog();

    FILE* m_file = nullptr;
    bool m_enabled = false;
    unsigned m_level = 1;
    CRITICAL_SECTION m_lock;
};
