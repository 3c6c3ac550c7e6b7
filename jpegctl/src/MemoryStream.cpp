#include "jpegctl/MemoryStream.h"

#include "platform/large_block.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

namespace jpegctl {

void detail::BlockFree::operator()(std::uint8_t *block) const noexcept
{
    platform::freeLargeBlock(block, size);
}

bool MemoryStream::reserve(std::size_t capacity) noexcept
{
    if (capacity <= m_capacity)
        return true;
    // Left uninitialised on purpose: a bitmap image of many megabytes is sized once and then
    // written over completely, and clearing it first would cost a pass over all of it.
    std::unique_ptr<std::uint8_t[], detail::BlockFree> grown(
        platform::allocateLargeBlock(capacity), detail::BlockFree {capacity});
    if (!grown)
        return false;
    if (m_size > 0)
        std::memcpy(grown.get(), m_data.get(), m_size);
    m_data = std::move(grown);
    m_capacity = capacity;
    return true;
}

bool MemoryStream::setSize(std::size_t size) noexcept
{
    if (!reserve(size))
        return false;
    m_size = size;
    return true;
}

std::size_t MemoryStream::read(void *buffer, std::size_t count) noexcept
{
    if (m_position >= m_size || count == 0)
        return 0;
    const std::size_t available = m_size - m_position;
    const std::size_t n = count < available ? count : available;
    std::memcpy(buffer, m_data.get() + m_position, n);
    m_position += n;
    return n;
}

std::size_t MemoryStream::write(const void *buffer, std::size_t count) noexcept
{
    if (count == 0)
        return 0;
    if (count > SIZE_MAX - m_position)
        return 0;
    const std::size_t end = m_position + count;
    if (end > m_capacity) {
        std::size_t capacity = m_capacity < 4096 ? 4096 : m_capacity;
        while (capacity < end)
            capacity = capacity > SIZE_MAX / 2 ? end : capacity * 2;
        if (!reserve(capacity) && !reserve(end))
            return 0;
    }
    if (m_position > m_size) // a gap left by a position past the end reads as zeros
        std::memset(m_data.get() + m_size, 0, m_position - m_size);
    std::memcpy(m_data.get() + m_position, buffer, count);
    m_position = end;
    if (end > m_size)
        m_size = end;
    return count;
}

void MemoryStream::clear() noexcept
{
    m_data.reset();
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
}

namespace {

struct FileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};

} // namespace

void MemoryStream::loadFromFile(const std::string &path)
{
    // Only a regular file (or a link to one) is opened: a FIFO would hold the open until a
    // writer came, and a device such as /dev/zero would be read without end.
    std::error_code statError;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), statError))
        throw EFOpenError("Cannot open file " + path);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFOpenError("Cannot open file " + path);

    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(std::filesystem::path(path), error);
    if (error)
        throw EReadError("Stream read error");
    loadFromOpenFile(file.get(), fileSize);
}

void MemoryStream::releaseBefore(std::size_t offset) noexcept
{
    platform::releaseLargeBlockStart(m_data.get(), m_capacity, std::min(offset, m_size));
}

void MemoryStream::loadFromOpenFile(std::FILE *file, std::uintmax_t fileSize)
{
    if (fileSize > MaxLoadSize || fileSize > SIZE_MAX)
        throw EReadError("Stream read error");
    const auto size = static_cast<std::size_t>(fileSize);

    if (!setSize(size))
        throw std::bad_alloc();
    m_position = 0;
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = std::fread(m_data.get() + got, 1, size - got, file);
        if (n == 0)
            break;
        got += n;
    }
    if (got < size) {
        // The file shrank or lied about its size; what did not arrive reads as zeros.
        std::memset(m_data.get() + got, 0, size - got);
        throw EReadError("Stream read error");
    }
}

} // namespace jpegctl
