#pragma once

#include "log/CClock.h"

#include <cstdarg>
#include <cstdio>

// A plain-text log file: truncated when opened, one time-stamped line per Write, flushed at once.
// A message that repeats the one before it is written up to three times in a row (a screen
// entered twice is two lines, as ever); further repeats are only counted, and the count is
// written as its own line ("... repeated 3,568 times") when another message comes or the log
// closes, so one fault met every frame cannot fill the disk.
class CLog {
public:
    CLog() = default;
    ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // Opens (and empties) the file and writes the header line. False when the file cannot be
    // opened; the log then stays closed and every Write returns false.
    bool Open(const char* fileName);
    // Writes the count of repeats still held, then closes the file if one is open. Always true.
    bool Close();
    // "TIME --- h:m.s: " + the formatted message + line end. False on a closed log or a null
    // format, with nothing written.
    bool Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Write with the arguments already gathered, for owners that log through a helper of their own.
    bool WriteArgs(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

private:
    // Messages up to this long are compared with the one before; longer ones are always written.
    static constexpr size_t kMessageSize = 1024;
    // How many times in a row one message is written in full.
    static constexpr int kWrittenInRow = 3;

    void WriteRepeats();

    FILE* stream = nullptr;
    char lastMessage[kMessageSize] = {};
    // How many times in a row the last message was written, and how often it came again since.
    int writtenInRow = 0;
    unsigned long repeats = 0;
    CClock clock;
};
