#include "log/CClock.h"

#include <cstdio>

CClock::CClock() : systemTime{}, timeText{}, dateText{} {}

const char* CClock::GetTime() {
    GetSystemTime(&systemTime);
    snprintf(timeText.data(), timeText.size(), "%d:%d.%d", systemTime.wHour, systemTime.wMinute,
             systemTime.wSecond);
    return timeText.data();
}

const char* CClock::GetDate() {
    GetSystemTime(&systemTime);
    snprintf(dateText.data(), dateText.size(), "%d\\%d\\%d", systemTime.wDay, systemTime.wMonth,
             systemTime.wYear);
    return dateText.data();
}
