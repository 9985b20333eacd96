// Folders and the thread's last error.
#include <windows.h>

#include <cerrno>
#include <sys/stat.h>

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
    if (!pathName) {
        lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    if (mkdir(pathName, 0777) == 0) {
        lastError = ERROR_SUCCESS;
        return TRUE;
    }
    lastError = errno == EEXIST   ? ERROR_ALREADY_EXISTS
                : errno == EACCES ? ERROR_ACCESS_DENIED
                                  : ERROR_PATH_NOT_FOUND;
    return FALSE;
}

DWORD WINAPI GetLastError(void) {
    return lastError;
}
