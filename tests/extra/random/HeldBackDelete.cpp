// Freed blocks are filled and held back for a while before they go to the heap: a call through a
// pointer to a freed object fails at once, and never reaches a newer object that the heap would
// otherwise have built in the same place.
#include <windows.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t kHeldBlocks = size_t{1} << 20;
constexpr size_t kHeldBytes = size_t{192} << 20;

// Called through a volatile pointer: a plain memset right before free is a dead store.
void* (*volatile g_fill)(void*, int, std::size_t) = std::memset;

void* g_held[kHeldBlocks];
size_t g_heldSize[kHeldBlocks];
size_t g_first = 0;
size_t g_count = 0;
size_t g_bytes = 0;
volatile LONG g_lock = 0;

void FreeOldest()
{
    std::free(g_held[g_first]);
    g_bytes -= g_heldSize[g_first];
    g_first = (g_first + 1) % kHeldBlocks;
    --g_count;
}

void HoldBack(void* block)
{
    if (block == nullptr)
        return;
    const size_t size = _msize(block);
    g_fill(block, 0xDD, size);
    while (::InterlockedExchange(&g_lock, 1) != 0)
        ::SwitchToThread();
    while (g_count > 0 && (g_count == kHeldBlocks || g_bytes + size > kHeldBytes))
        FreeOldest();
    const size_t at = (g_first + g_count) % kHeldBlocks;
    g_held[at] = block;
    g_heldSize[at] = size;
    ++g_count;
    g_bytes += size;
    ::InterlockedExchange(&g_lock, 0);
}

} // namespace

void operator delete(void* block) noexcept
{
    HoldBack(block);
}

void operator delete[](void* block) noexcept
{
    HoldBack(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    HoldBack(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    HoldBack(block);
}
