// Replacing a file so that its name holds either the old file or the whole new one, never a
// part: the new text goes to a fresh file beside it, which takes the name once it is on disk.
// New files that must never replace one (pictures) are made the same way under a free name.
#pragma once

#include <cstdio>

// Longest path handled: the target with its links followed, and the temporary file beside it.
constexpr int replacement_name_capacity = 4096;

// What stands between a folder and a name in a path: "/" on POSIX systems, "\\" on Windows.
extern const char* const folder_separator;

// A replacement under way: write the new content to file.
struct file_replacement {
    FILE* file;
    char target[replacement_name_capacity];          // the file replaced, links followed
    char temporary_name[replacement_name_capacity];  // the new file's name while it has one, or ""
};

enum replacement_result {
    replacement_done,           // the target now holds the complete new content
    replacement_create_failed,  // the new file could not be put in place under the target's name
    replacement_write_failed,   // writing, flushing to disk or closing the new file failed
};

// False when file_name exists and is not a regular file once its symbolic links are followed
// (a device, a FIFO, a socket or a folder): such a target is never replaced.
bool is_replaceable(const char* file_name);

// Creates a fresh, empty file that is to replace file_name and opens it as r->file. A symbolic
// link is followed: the file it points to is replaced and the link stays. An existing file's
// permission bits are kept, and on POSIX systems its owner and group where the caller may set
// them (as root); a new one gets 0666 less the umask. Where the system allows it, the
// new file has no name until it is complete, so that a process killed while writing leaves
// nothing behind; elsewhere it is written under a short hidden name beside the target. Returns
// false, with nothing created and errno telling why, if that is impossible.
bool begin_replacement(const char* file_name, file_replacement* r);

// Flushes r->file to disk, closes it and moves it to the target, replacing an earlier file there.
// printed says whether everything was written to r->file; if not, or if any step fails, nothing
// of the new file is left, the target keeps what it held before, and errno tells why (it is kept
// from the failed write when printed is false).
replacement_result finish_replacement(file_replacement* r, bool printed);

// Creates a fresh, empty file in folder ("" for the current folder) that is to get a name of its
// own once complete (finish_new_file) and opens it as r->file. As with begin_replacement, it has
// no name, or a short hidden one, while it is written, so a process killed meanwhile leaves no
// part of a file under a final name. False, with nothing created and errno telling why, if that
// is impossible.
bool begin_new_file(const char* folder, file_replacement* r);

// Flushes r->file to disk, closes it and names it stem, a three-digit number and suffix
// (stem001.png, stem002.png, ...), with the lowest number up to last_number whose name does not
// exist yet; a file is never replaced, also when another process takes a name meanwhile. named
// receives the name given, or the last one tried (it is left alone when none was tried). printed
// says whether everything was written; if not, or if a step fails, nothing of the new file is
// left and errno tells why (EEXIST when every number is taken).
bool finish_new_file(file_replacement* r, bool printed, const char* stem, const char* suffix,
                     int last_number, char (&named)[replacement_name_capacity]);
