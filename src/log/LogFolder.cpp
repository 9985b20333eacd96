#include "log/LogFolder.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kLogFolder[] = "logs";
constexpr char kGameLog[] = "logs/GameLog.txt";

// Why the log could not be opened: when the folder could not be made, that is the reason (the
// open then only finds no folder); else the open's own.
int ErrorNumber(DWORD folderError, int openError) {
    if (folderError == ERROR_ACCESS_DENIED)
        return EACCES;
    if (folderError == ERROR_WRITE_PROTECT)
        return EROFS;
    return openError;
}

} // namespace

bool PrepareLogFolder(char* reason, size_t size) {
    // Fails, harmlessly, when the folder is there already; the open below tells the rest.
    const DWORD folderError =
        CreateDirectoryA(kLogFolder, nullptr) ? ERROR_SUCCESS : GetLastError();
    FILE* log = fopen(kGameLog, "a");
    if (log) {
        fclose(log);
        return true;
    }
    const int error = ErrorNumber(folderError, errno);
    char folder[MAX_PATH] = ".";
    const DWORD length = GetCurrentDirectoryA(sizeof(folder), folder);
    if (length == 0 || length >= sizeof(folder))
        snprintf(folder, sizeof(folder), "%s", ".");
    snprintf(reason, size, "cannot write %s in %s: %s", kGameLog, folder, strerror(error));
    return false;
}
