// The platform-free parts of replacing a file (see file_replace_names.h), in standard C only.
#include "data/file_replace_names.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>

bool format_replacement_path(char (&path)[replacement_name_capacity], const char* format, ...) {
    va_list parts;
    va_start(parts, format);
    const int length = std::vsnprintf(path, replacement_name_capacity, format, parts);
    va_end(parts);
    if (length >= 0 && length < replacement_name_capacity) return true;
    errno = ENAMETOOLONG;
    return false;
}

bool temporary_file_name(const char* target, int folder_length, long process, int attempt,
                         char (&name)[replacement_name_capacity]) {
    return format_replacement_path(name, "%.*s.paravib-%ld-%d.tmp", folder_length, target, process,
                                   attempt);
}

void discard_new_file(file_replacement* r) {
    const int reason = errno;
    if (r->file != nullptr) std::fclose(r->file);
    r->file = nullptr;
    if (r->temporary_name[0] != '\0') std::remove(r->temporary_name);
    r->temporary_name[0] = '\0';
    errno = reason;
}
