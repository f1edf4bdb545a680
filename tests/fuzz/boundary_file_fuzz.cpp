// libFuzzer target for the boundary-file reader: each input becomes a file in memory that is read
// as a table of four columns; any broken promise of the reader aborts with its description.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

#include "boundary_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An anonymous in-memory file, opened again by name through /proc like any boundary file.
    const int fd = memfd_create("boundary-file", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    for (size_t done = 0; done < size;) {
        const ssize_t written = write(fd, data + done, size - done);
        if (written <= 0) std::abort();
        done += static_cast<size_t>(written);
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    bool accepted = false;
    const char* failure = check_boundary_file(path, &accepted);
    close(fd);
    if (failure != nullptr) {
        std::fprintf(stderr, "boundary file reader: %s\n", failure);
        std::abort();
    }
    return 0;
}
