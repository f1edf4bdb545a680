// Replacing a file on POSIX systems: the new text goes to an unnamed file in the target's folder
// (O_TMPFILE), which is linked under a short hidden name and renamed over the target only once it
// is complete and on disk; without O_TMPFILE the hidden name is there from the start.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/file_replace.h"
#include "data/file_replace_names.h"

namespace {

// Links followed before a name counts as a loop (the kernel's own limit).
constexpr int max_link_hops = 40;

// Length of the folder part of path, up to and including its last slash (0 for a bare name).
int folder_length(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? 0 : static_cast<int>(slash - path) + 1;
}

// The file that file_name stands for once every symbolic link is followed, also when the last link
// points to a file that does not exist yet (it is then created there). A relative link counts from
// the folder of the link.
bool follow_links(const char* file_name, char (&target)[replacement_name_capacity]) {
    if (!format_replacement_path(target, "%s", file_name)) return false;
    for (int hop = 0; hop < max_link_hops; ++hop) {
        struct stat status;
        if (lstat(target, &status) != 0) return errno == ENOENT;
        if (!S_ISLNK(status.st_mode)) return true;
        char link[replacement_name_capacity];
        const ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0) return false;
        link[length] = '\0';
        char next[replacement_name_capacity];
        const int kept = link[0] == '/' ? 0 : folder_length(target);
        if (!format_replacement_path(next, "%.*s%s", kept, target, link)) return false;
        std::memcpy(target, next, sizeof next);
    }
    errno = ELOOP;
    return false;
}

// The attempt-th temporary name beside the target, told apart from other processes by the pid.
bool temporary_name(const char* target, int attempt, char (&name)[replacement_name_capacity]) {
    return temporary_file_name(target, folder_length(target), static_cast<long>(getpid()), attempt,
                               name);
}

// An unnamed file in the target's folder, or -1 where the kernel or the file system has none, or
// where /proc, through which it is named later, is missing.
int open_unnamed(const char* target) {
#ifdef O_TMPFILE
    char folder[replacement_name_capacity];
    const int length = folder_length(target);
    if (!format_replacement_path(folder, "%.*s", length == 0 ? 1 : length,
                                 length == 0 ? "." : target))
        return -1;
    if (access("/proc/self/fd", X_OK) != 0) return -1;
    return open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)target;
    return -1;
#endif
}

// A new file under a fresh temporary name.
int open_named(file_replacement* r) {
    for (int attempt = 0; attempt < temporary_name_attempts; ++attempt) {
        if (!temporary_name(r->target, attempt, r->temporary_name)) break;
        const int fd = open(r->temporary_name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    r->temporary_name[0] = '\0';
    return -1;
}

// Gives the complete unnamed file a fresh temporary name beside the target.
bool link_unnamed(file_replacement* r) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fileno(r->file));
    for (int attempt = 0; attempt < temporary_name_attempts; ++attempt) {
        char name[replacement_name_capacity];
        if (!temporary_name(r->target, attempt, name)) return false;
        if (linkat(AT_FDCWD, self, AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0) {
            std::memcpy(r->temporary_name, name, sizeof name);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// The new file, unnamed where the system allows it, else under a fresh temporary name.
int open_new(file_replacement* r) {
    const int fd = open_unnamed(r->target);
    return fd >= 0 ? fd : open_named(r);
}

// Hands fd over as r->file; when ready is false or that fails, closes fd and removes the new file
// (errno kept) and returns false.
bool open_stream(file_replacement* r, int fd, bool ready) {
    if (ready && (r->file = fdopen(fd, "w")) != nullptr) return true;
    const int reason = errno;
    close(fd);
    errno = reason;
    discard_new_file(r);
    return false;
}

}  // namespace

const char* const folder_separator = "/";

// stat follows every link as the system does, /dev/stdout and /proc/self/fd/N included.
bool is_replaceable(const char* file_name) {
    struct stat status;
    return stat(file_name, &status) != 0 || S_ISREG(status.st_mode);
}

bool begin_replacement(const char* file_name, file_replacement* r) {
    r->file = nullptr;
    r->temporary_name[0] = '\0';
    if (!follow_links(file_name, r->target)) return false;
    struct stat existing;
    const bool exists = stat(r->target, &existing) == 0;
    const int fd = open_new(r);
    if (fd < 0) return false;
    // The owner and group first (as root, or a group of one's own), since a change of owner may
    // clear the set-user-ID bits that fchmod then restores.
    if (exists && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        // Not allowed: the new file keeps the caller's owner; the caller can compare and say so.
    }
    return open_stream(r, fd, !exists || fchmod(fd, existing.st_mode & 07777) == 0);
}

// fsync before the rename, so that after a crash the name holds either the old file or the
// complete new one.
replacement_result finish_replacement(file_replacement* r, bool printed) {
    bool ok = printed && std::fflush(r->file) == 0 && !std::ferror(r->file) &&
              fsync(fileno(r->file)) == 0;
    if (!ok) {
        discard_new_file(r);
        return replacement_write_failed;
    }
    if ((r->temporary_name[0] == '\0' && !link_unnamed(r)) ||
        std::rename(r->temporary_name, r->target) != 0) {
        discard_new_file(r);
        return replacement_create_failed;
    }
    r->temporary_name[0] = '\0';
    const bool closed = std::fclose(r->file) == 0;
    r->file = nullptr;
    return closed ? replacement_done : replacement_write_failed;
}

bool begin_new_file(const char* folder, file_replacement* r) {
    r->file = nullptr;
    r->temporary_name[0] = '\0';
    // The target stands for the folder only: what follows its last slash is never used.
    const char* separator = folder[0] != '\0' ? folder_separator : "";
    if (!format_replacement_path(r->target, "%s%s", folder, separator)) return false;
    const int fd = open_new(r);
    return fd >= 0 && open_stream(r, fd, true);
}

// link and linkat refuse an existing name, so a name is taken only while it is free.
namespace {

// A file system without hard links (FAT on a memory stick, the web page's memory file system)
// refuses link(): the free name is then claimed by creating it exclusively, and the complete
// file renamed onto the name it claimed, which no one else can have taken meanwhile.
bool claim_without_link(const char* from, const char* to) {
    if (errno != EMLINK && errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP) return false;
    const int fd = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    if (rename(from, to) == 0) return true;
    const int reason = errno;
    unlink(to);
    errno = reason;
    return false;
}

}  // namespace

bool finish_new_file(file_replacement* r, bool printed, const char* stem, const char* suffix,
                     int last_number, char (&named)[replacement_name_capacity]) {
    bool ok = printed && std::fflush(r->file) == 0 && !std::ferror(r->file) &&
              fsync(fileno(r->file)) == 0;
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fileno(r->file));
    bool linked = false;
    if (ok) errno = EEXIST;
    for (int number = 1; ok && !linked && number <= last_number; ++number) {
        if (!format_replacement_path(named, "%s%03d%s", stem, number, suffix)) break;
        linked = r->temporary_name[0] == '\0'
                     ? linkat(AT_FDCWD, self, AT_FDCWD, named, AT_SYMLINK_FOLLOW) == 0
                     : link(r->temporary_name, named) == 0 ||
                           claim_without_link(r->temporary_name, named);
        if (!linked && errno != EEXIST) break;
    }
    if (!linked) {
        discard_new_file(r);
        return false;
    }
    discard_new_file(r);  // the hidden name, if any; the file stays under named
    return true;
}
