// Freed blocks are filled before they go back to the heap, so a call through a pointer to a
// freed object fails at once instead of by chance.
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Called through a volatile pointer: a plain memset right before free is a dead store that the
// compiler removes, and the block would go back to the heap untouched.
void* (*volatile g_fill)(void*, int, std::size_t) = std::memset;

void Poison(void* block)
{
    if (block == nullptr)
        return;
    g_fill(block, 0xDD, _msize(block));
    std::free(block);
}

} // namespace

void operator delete(void* block) noexcept
{
    Poison(block);
}

void operator delete[](void* block) noexcept
{
    Poison(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Poison(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Poison(block);
}
