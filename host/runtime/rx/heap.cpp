#include "rx/heap.h"

#include <cstdlib>
#include <new>

void* AcHeapOperators::allocRawMem(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void AcHeapOperators::freeRawMem(void* p) {
    std::free(p);
}
