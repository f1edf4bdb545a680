// Zero-filling allocation with the program's single out-of-memory exit.
#include "state/heap.h"

#include <cstdio>
#include <cstdlib>

void* zero_alloc(std::size_t count, std::size_t size) {
    void* p = std::calloc(count, size);
    if (p == nullptr) {
        std::printf("memory overflow\n");
        std::fflush(stdout);
        std::exit(1);
    }
    return p;
}
