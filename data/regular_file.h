// Opening a boundary file for reading only when it is a regular file, without ever waiting: a FIFO
// or a device among the boundary files must not hang the program.
#pragma once

#include <cstdio>

// Opens file_name for reading if it is a regular file (a symbolic link to one counts). Otherwise
// returns nullptr with errno telling why the file could not be opened, or errno 0 when it exists
// but is not a regular file (a FIFO, a device, a socket or a folder), which is never opened for
// reading at all or, if it takes that place after the check, never read.
FILE* open_regular_file(const char* file_name);
