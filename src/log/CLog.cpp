#include "log/CLog.h"

CLog::~CLog() {
    Close();
}

bool CLog::Open(const char* fileName) {
    Close();
    if (!fileName)
        return false;
    stream = fopen(fileName, "w+t");
    if (!stream)
        return false;
    const char* date = clock.GetDate();
    // Both texts come from the clock's own buffers: the date's is not touched by GetTime.
    const char* time = clock.GetTime();
    Write("CLOG --- NOTICE --- Log %s opened at %s on %s\n\n\n", fileName, time, date);
    return true;
}

bool CLog::Close() {
    if (stream) {
        fclose(stream);
        stream = nullptr;
    }
    return true;
}

bool CLog::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool written = WriteArgs(format, args);
    va_end(args);
    return written;
}

bool CLog::WriteArgs(const char* format, va_list args) {
    if (!format || !stream)
        return false;
    fprintf(stream, "TIME --- %s: ", clock.GetTime());
    vfprintf(stream, format, args);
    fputc('\n', stream);
    fflush(stream);
    return true;
}
