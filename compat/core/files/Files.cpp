// Folders, whole files and the thread's last error.
#include "files/Files.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

bool compat::ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file)
        return false;
    struct stat status;
    if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
        static_cast<uint64_t>(status.st_size) > maxBytes)
        return false;
    // Exactly the file's size: no spare capacity past its last byte, so the sanitizer build
    // catches any read beyond it.
    bytes->resize(static_cast<size_t>(status.st_size));
    return std::fread(bytes->data(), 1, bytes->size(), file.get()) == bytes->size();
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
    lastError = errno == EEXIST                     ? ERROR_ALREADY_EXISTS
                : errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED
                : errno == EROFS                    ? ERROR_WRITE_PROTECT
                                                    : ERROR_PATH_NOT_FOUND;
    return FALSE;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    char path[4096];
    if (!getcwd(path, sizeof(path))) {
        lastError = ERROR_PATH_NOT_FOUND;
        return 0;
    }
    const size_t length = strlen(path);
    if (!buffer || length >= bufferLength)
        return static_cast<DWORD>(length + 1);
    memcpy(buffer, path, length + 1);
    return static_cast<DWORD>(length);
}

DWORD WINAPI GetLastError(void) {
    return lastError;
}
