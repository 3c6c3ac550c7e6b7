#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

/**
 * Memory for one large buffer that is filled once and then read, such as a decoded picture of
 * many megabytes. Where the system offers it, a large block is asked for in huge pages, which
 * spares a page fault for every 4 KiB the buffer is first written. The content is unspecified.
 * Returns nullptr when the memory cannot be had. Free it with freeLargeBlock and the same size.
 */
std::uint8_t *allocateLargeBlock(std::size_t size) noexcept;

/** Gives back a block from allocateLargeBlock(size); nullptr is ignored. */
void freeLargeBlock(std::uint8_t *block, std::size_t size) noexcept;

/**
 * Gives the memory under the first `length` bytes of a block from allocateLargeBlock(size)
 * back to the system while the block stays allocated, for a buffer read once from its start:
 * those bytes read as unspecified afterwards, and the rest is untouched. Where the system
 * cannot (small blocks, Windows), nothing happens.
 */
void releaseLargeBlockStart(std::uint8_t *block, std::size_t size, std::size_t length) noexcept;

} // namespace platform
