// Opening a regular file on Windows: checked with _stat before and _fstat after the open, so that a
// folder or a device name is never read. Binary mode: the reader sees the bytes as POSIX does and
// takes a carriage return as white space.
#include <sys/stat.h>
#include <cerrno>
#include <cstdio>

#include "data/regular_file.h"

namespace {

bool is_regular(const struct _stat64& status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }

}  // namespace

FILE* open_regular_file(const char* file_name) {
    struct _stat64 status;
    if (_stat64(file_name, &status) != 0) return nullptr;
    if (!is_regular(status)) {
        errno = 0;
        return nullptr;
    }
    FILE* file = std::fopen(file_name, "rb");
    if (file == nullptr) return nullptr;
    if (_fstat64(_fileno(file), &status) != 0 || !is_regular(status)) {
        std::fclose(file);
        errno = 0;
        return nullptr;
    }
    return file;
}
