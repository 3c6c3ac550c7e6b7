#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace jpegctl {

/** A file could not be opened for reading; the message is "Cannot open file NAME". */
class EFOpenError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/** A file gave fewer bytes than its size while being copied; the message is "Stream read error". */
class EReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace detail {

// A stream's bytes come from the platform's large-block allocator, which wants the size back.
struct BlockFree
{
    std::size_t size = 0;
    void operator()(std::uint8_t *block) const noexcept;
};

} // namespace detail

/**
 * A block of bytes with a position, read and written like a file. It grows as it is written
 * past its end. Reading, writing and resizing never throw: they report what they did, so that
 * the codec's callbacks can use the stream without any C++ exception crossing the codec.
 */
class MemoryStream
{
public:
    MemoryStream() = default;
    MemoryStream(const MemoryStream &) = delete;
    MemoryStream &operator=(const MemoryStream &) = delete;

    const std::uint8_t *data() const { return m_data.get(); }
    /** The bytes themselves, for a writer that fills a stream it has sized; valid until the
     * size next grows. */
    std::uint8_t *data() { return m_data.get(); }
    std::size_t size() const { return m_size; }
    std::size_t position() const { return m_position; }

    /** Moves the position; a position past the end reads nothing and writes from there. */
    void setPosition(std::size_t position) { m_position = position; }

    /**
     * Makes the stream `size` bytes long, keeping the bytes below both sizes. Bytes beyond the
     * old size are unspecified until written. False (and nothing changed) when the memory
     * cannot be had.
     */
    bool setSize(std::size_t size) noexcept;

    /** Copies up to `count` bytes from the position on and moves past them; returns the count
     * copied. */
    std::size_t read(void *buffer, std::size_t count) noexcept;

    /** Stores `count` bytes at the position, growing the stream; returns the count stored. */
    std::size_t write(const void *buffer, std::size_t count) noexcept;

    /** Exchanges the whole content and position with `other`. */
    void swap(MemoryStream &other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_position, other.m_position);
    }

    /** Empties the stream and gives back its memory. */
    void clear() noexcept;

    /**
     * For a stream read once from its start: gives the memory under the bytes before `offset`
     * back to the system where it can. Those bytes read as unspecified from then on; the size,
     * the position and the other bytes stay.
     */
    void releaseBefore(std::size_t offset) noexcept;

    /**
     * Replaces the whole content by the content of the file `path` (bytes, not decoded) and
     * sets the position to 0. Throws EFOpenError when the file cannot be opened or is not a
     * regular file (a folder, a FIFO, a device; the content is then unchanged), and what
     * loadFromOpenFile throws.
     */
    void loadFromFile(const std::string &path);

    /** The largest content a file may bring: a stream's size is a 32-bit signed count. */
    static constexpr std::uintmax_t MaxLoadSize = 0x7FFFFFFF;

    /**
     * Replaces the whole content by `size` bytes read from `file` where it stands, and sets
     * the position to 0. Throws EReadError "Stream read error" when `size` is above
     * MaxLoadSize (nothing is read or changed) or when the file yields fewer bytes (what did
     * not arrive reads as zeros).
     */
    void loadFromOpenFile(std::FILE *file, std::uintmax_t size);

private:
    bool reserve(std::size_t capacity) noexcept;

    std::unique_ptr<std::uint8_t[], detail::BlockFree> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
};

} // namespace jpegctl
