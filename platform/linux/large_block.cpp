#include "platform/large_block.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

// Huge pages are 2 MiB on the machines this runs on; a block below two of them gains little.
constexpr std::size_t HugePage = std::size_t {2} << 20;
constexpr std::size_t MappedFrom = 2 * HugePage;

// Whole small pages: the part of the block after its last whole huge page stays in small
// pages, so that the block holds no more memory than its size.
std::size_t mappedSize(std::size_t size)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

} // namespace

std::uint8_t *allocateLargeBlock(std::size_t size) noexcept
{
    if (size < MappedFrom)
        return new (std::nothrow) std::uint8_t[size];
    // Mapped one huge page larger than needed, then trimmed so that the block starts on a
    // huge-page boundary and every whole 2 MiB of it can be one huge page.
    const std::size_t length = mappedSize(size);
    void *mapped = mmap(
        nullptr, length + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto *start = static_cast<std::uint8_t *>(mapped);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
    const std::size_t head = (HugePage - address % HugePage) % HugePage;
    if (head > 0)
        munmap(start, head);
    munmap(start + head + length, HugePage - head);
    std::uint8_t *block = start + head;
    (void)madvise(block, length, MADV_HUGEPAGE); // a hint; small pages work as well
    return block;
}

void freeLargeBlock(std::uint8_t *block, std::size_t size) noexcept
{
    if (!block)
        return;
    if (size < MappedFrom)
        delete[] block;
    else
        munmap(block, mappedSize(size));
}

void releaseLargeBlockStart(std::uint8_t *block, std::size_t size, std::size_t length) noexcept
{
    if (!block || size < MappedFrom)
        return; // from the heap: its pages may be shared with other allocations
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t whole = std::min(length, size) / page * page;
    if (whole > 0)
        (void)madvise(block, whole, MADV_DONTNEED); // a huge page under it is split
}

} // namespace platform
