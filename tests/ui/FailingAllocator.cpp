// Out of memory at a moment a test picks: the next allocation made on the
// armed thread fails.
#include <atomic>
#include <cstdlib>
#include <new>

#include <windows.h>

namespace
{
std::atomic<DWORD> g_failingThread{0};
}

namespace qel::test
{
void FailNextAllocationOn(DWORD thread)
{
    g_failingThread = thread;
}

bool CancelAllocationFailure()
{
    return g_failingThread.exchange(0) != 0;
}
} // namespace qel::test

void* operator new(std::size_t size)
{
    DWORD self = GetCurrentThreadId();
    if (g_failingThread.compare_exchange_strong(self, 0))
        throw std::bad_alloc();
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
