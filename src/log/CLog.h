#pragma once

#include "log/CClock.h"

#include <cstdarg>
#include <cstdio>

// A plain-text log file: truncated when opened, one time-stamped line per Write, flushed at once.
class CLog {
public:
    CLog() = default;
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // Opens (and empties) the file and writes the header line. False when the file cannot be
    // opened; the log then stays closed and every Write returns false.
    bool Open(const char* fileName);
    // Closes the file if one is open. Always true.
    bool Close();
    // "TIME --- h:m.s: " + the formatted message + line end. False on a closed log or a null
    // format, with nothing written.
    bool Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Write with the arguments already gathered, for owners that log through a helper of their own.
    bool WriteArgs(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

private:
    FILE* stream = nullptr;
    CClock clock;
};
