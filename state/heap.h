// The one failure path for an exhausted heap: numerical routines that need scratch memory
// get it zero-filled from here, and the process ends with "memory overflow" if there is none.
#pragma once

#include <cstddef>

// calloc(count, size); on failure prints "memory overflow\n" on standard output and exits with 1.
void* zero_alloc(std::size_t count, std::size_t size);
