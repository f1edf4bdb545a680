// Opening a regular file on POSIX systems: stat first, so that nothing else is even opened, then a
// non-blocking open checked again with fstat, in case the name changed in between.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "data/regular_file.h"

namespace {

// Not a regular file: errno 0, as promised to the caller.
FILE* not_regular(int fd) {
    if (fd >= 0) close(fd);
    errno = 0;
    return nullptr;
}

}  // namespace

FILE* open_regular_file(const char* file_name) {
    struct stat status;
    if (stat(file_name, &status) != 0) return nullptr;
    if (!S_ISREG(status.st_mode)) return not_regular(-1);
    const int fd = open(file_name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return not_regular(fd);
    // Reads of a regular file never wait; the usual blocking mode is set back all the same.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "r");
    if (file == nullptr) {
        const int reason = errno;
        close(fd);
        errno = reason;
    }
    return file;
}
