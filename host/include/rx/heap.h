#pragma once

#include <cstddef>

#pragma GCC visibility push(default)

// Objects of the host and its modules live on the host's heap, so whichever module deletes an
// object frees it where it was allocated. Arrays of them are not supported: array new yields null.
class AcHeapOperators {
public:
    static void* allocRawMem(std::size_t size);
    static void freeRawMem(void* p);

    static void* operator new(std::size_t size) { return allocRawMem(size); }
    static void operator delete(void* p) { freeRawMem(p); }
    static void* operator new[](std::size_t) noexcept { return nullptr; }
    static void operator delete[](void* p) { freeRawMem(p); }
};

#pragma GCC visibility pop
