// Replacing a file on Windows: the new text goes to a fresh file beside the target, opened
// exclusively in binary mode (so the bytes are those of the POSIX build: line feeds without
// carriage returns), is flushed to disk with _commit, closed, and moved over the target with
// MoveFileEx and MOVEFILE_REPLACE_EXISTING, because rename there refuses an existing target.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/file_replace.h"
#include "data/file_replace_names.h"

namespace {

// Length of the folder part of path, up to and including its last separator (0 for a bare name).
int folder_length(const char* path) {
    int length = 0;
    for (int i = 0; path[i] != '\0'; ++i)
        if (path[i] == '/' || path[i] == '\\' || path[i] == ':') length = i + 1;
    return length;
}

// The attempt-th temporary name beside the target, told apart from other processes by the pid.
bool temporary_name(const char* target, int attempt, char (&name)[replacement_name_capacity]) {
    return temporary_file_name(target, folder_length(target), static_cast<long>(_getpid()), attempt,
                               name);
}

// errno for the last failed Windows call.
int errno_of_last_error() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: return EACCES;
        case ERROR_DISK_FULL: return ENOSPC;
        default: return EIO;
    }
}

}  // namespace

bool is_replaceable(const char* file_name) {
    struct _stat64 status;
    return _stat64(file_name, &status) != 0 || (status.st_mode & _S_IFMT) == _S_IFREG;
}

// The names are handed over as the C library received them, in the ANSI code page that fopen and
// the command line use, hence MoveFileExA.
bool begin_replacement(const char* file_name, file_replacement* r) {
    r->file = nullptr;
    r->temporary_name[0] = '\0';
    if (!format_replacement_path(r->target, "%s", file_name)) return false;
    for (int attempt = 0; attempt < temporary_name_attempts; ++attempt) {
        if (!temporary_name(r->target, attempt, r->temporary_name)) break;
        const int fd =
            _open(r->temporary_name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        r->file = _fdopen(fd, "wb");
        if (r->file != nullptr) return true;
        const int reason = errno;
        _close(fd);
        errno = reason;
        break;
    }
    discard_new_file(r);
    return false;
}

replacement_result finish_replacement(file_replacement* r, bool printed) {
    const bool ok = printed && std::fflush(r->file) == 0 && !std::ferror(r->file) &&
                    _commit(_fileno(r->file)) == 0;
    if (!ok) {
        discard_new_file(r);
        return replacement_write_failed;
    }
    // An open file cannot be moved on Windows, so it is closed first.
    const bool closed = std::fclose(r->file) == 0;
    r->file = nullptr;
    if (!closed) {
        discard_new_file(r);
        return replacement_write_failed;
    }
    if (!MoveFileExA(r->temporary_name, r->target,
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        errno = errno_of_last_error();
        discard_new_file(r);
        return replacement_create_failed;
    }
    r->temporary_name[0] = '\0';
    return replacement_done;
}

bool begin_new_file(const char* folder, file_replacement* r) {
    r->file = nullptr;
    r->temporary_name[0] = '\0';
    // The target stands for the folder only: what follows its last separator is never used.
    const char* separator = folder[0] != '\0' ? "\\" : "";
    if (!format_replacement_path(r->target, "%s%s", folder, separator)) return false;
    for (int attempt = 0; attempt < temporary_name_attempts; ++attempt) {
        if (!temporary_name(r->target, attempt, r->temporary_name)) break;
        const int fd = _open(r->temporary_name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                             _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            if ((r->file = _fdopen(fd, "wb")) != nullptr) return true;
            _close(fd);
            break;
        }
        if (errno != EEXIST) break;
    }
    discard_new_file(r);
    return false;
}

// MoveFileEx without MOVEFILE_REPLACE_EXISTING refuses an existing name.
bool finish_new_file(file_replacement* r, bool printed, const char* stem, const char* suffix,
                     int last_number, char (&named)[replacement_name_capacity]) {
    bool ok = printed && std::fflush(r->file) == 0 && !std::ferror(r->file) &&
              _commit(_fileno(r->file)) == 0;
    if (ok) {
        ok = std::fclose(r->file) == 0;
        r->file = nullptr;
    }
    bool moved = false;
    if (ok) errno = EEXIST;
    for (int number = 1; ok && !moved && number <= last_number; ++number) {
        if (!format_replacement_path(named, "%s%03d%s", stem, number, suffix)) break;
        moved = MoveFileExA(r->temporary_name, named, MOVEFILE_WRITE_THROUGH) != 0;
        const DWORD error = GetLastError();
        if (!moved && error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            errno = errno_of_last_error();
            break;
        }
    }
    if (moved) r->temporary_name[0] = '\0';
    discard_new_file(r);
    return moved;
}
