#include "platform/large_block.h"

#include <new>

namespace platform {

// Huge pages need a privilege ordinary users lack on Windows: the heap serves every size.
std::uint8_t *allocateLargeBlock(std::size_t size) noexcept
{
    return new (std::nothrow) std::uint8_t[size];
}

void freeLargeBlock(std::uint8_t *block, std::size_t) noexcept
{
    delete[] block;
}

void releaseLargeBlockStart(std::uint8_t *, std::size_t, std::size_t) noexcept
{
    // heap memory: nothing to give back on its own
}

} // namespace platform
