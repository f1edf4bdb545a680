// What replacing a file does alike on every platform: paths formatted within the capacity, the
// short hidden temporary name beside the target, and the removal of an unfinished new file. Used
// by the platform's own file_replace source only.
#pragma once

#include "data/file_replace.h"

// Attempts at a fresh temporary name before giving up (each differs by a counter).
constexpr int temporary_name_attempts = 100;

// Writes the formatted text into path; false (errno ENAMETOOLONG) if it does not fit.
bool format_replacement_path(char (&path)[replacement_name_capacity], const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// A fresh name beside the target, after its first folder_length bytes (its folder): short and
// fixed in form, so that it stays within the longest file name whatever the target's own name,
// and hidden, so that it is not taken for a table; process and attempt make it unique.
bool temporary_file_name(const char* target, int folder_length, long process, int attempt,
                         char (&name)[replacement_name_capacity]);

// Closes the new file and removes the name it has, keeping errno.
void discard_new_file(file_replacement* r);
