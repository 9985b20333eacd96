#include "log/CLog.h"

#include <cstring>

namespace {

// The count with a comma between each three digits: 3568 is "3,568".
void GroupDigits(unsigned long count, char* text, size_t size) {
    char digits[32];
    const int length = snprintf(digits, sizeof(digits), "%lu", count);
    size_t out = 0;
    for (int i = 0; i < length && out + 1 < size; ++i) {
        if (i > 0 && (length - i) % 3 == 0 && out + 2 < size)
            text[out++] = ',';
        text[out++] = digits[i];
    }
    text[out] = '\0';
}

} // namespace

CLog::~CLog() {
    Close();
}

bool CLog::Open(const char* fileName) {
    Close();
    if (!fileName)
        return false;
    stream = fopen(fileName, "w+t");
    lastMessage[0] = '\0';
    repeats = 0;
    writtenInRow = 0;
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
        WriteRepeats();
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
    char message[kMessageSize];
    va_list copy;
    va_copy(copy, args);
    const int length = vsnprintf(message, sizeof(message), format, copy);
    va_end(copy);
    const bool fits = length >= 0 && static_cast<size_t>(length) < sizeof(message);
    const bool again = fits && lastMessage[0] != '\0' && strcmp(message, lastMessage) == 0;
    if (again && writtenInRow >= kWrittenInRow) {
        ++repeats;
        return true;
    }
    if (!again) {
        WriteRepeats();
        writtenInRow = 0;
    }
    ++writtenInRow;
    fprintf(stream, "TIME --- %s: ", clock.GetTime());
    if (fits)
        fputs(message, stream);
    else
        vfprintf(stream, format, args);
    fputc('\n', stream);
    fflush(stream);
    snprintf(lastMessage, sizeof(lastMessage), "%s", fits ? message : "");
    return true;
}

void CLog::WriteRepeats() {
    if (repeats == 0)
        return;
    char count[32];
    GroupDigits(repeats, count, sizeof(count));
    fprintf(stream, "TIME --- %s: ... repeated %s %s\n", clock.GetTime(), count,
            repeats == 1 ? "time" : "times");
    repeats = 0;
    fflush(stream);
}
