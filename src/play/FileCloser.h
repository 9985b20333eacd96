#pragma once

#include <cstdio>

// Closes a file opened for reading on every way out of the read.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file)
            std::fclose(file);
    }
};
