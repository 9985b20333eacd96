// Kernel services: time of day, sleeping, folders.
#pragma once

#include "windef.h"

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

// The current time of day and date in UTC.
void WINAPI GetSystemTime(LPSYSTEMTIME systemTime);

// Suspends the calling thread for about the given number of milliseconds.
void WINAPI Sleep(DWORD milliseconds);

// Creates one folder; FALSE when it cannot be made, also when it already exists.
BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);

// The working folder's full path, with its terminating zero, into the buffer: the length
// without the zero; the size needed, zero included, when the buffer is too small; 0 on failure.
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

// The error code of the calling thread's last failed call.
DWORD WINAPI GetLastError(void);

// The program's entry point, which the program defines: its module handle, no previous
// instance, the command line without the program's name, and how to show its window.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
