#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

/** How long a replaced file must last through a crash of the whole system. */
enum class Durability {
    /**
     * What the user made (the list, the settings): the bytes are on the disk before the
     * rename, and the rename itself is made durable, before the write reports success.
     */
    Kept,
    /**
     * A file made from others and made again when it is lost (a decoded bitmap, a composed
     * picture): still replaced whole by a rename, so that a reader never sees half of it, but
     * nothing waits for the disk. After a crash of the system it may be the old file, the new
     * one or empty.
     */
    Derived,
};

/**
 * Replaces the file at `path` with `bytes` so that a reader, a crash or a full disk never sees
 * a half-written file: the bytes go to a temporary file in the same folder, are flushed to
 * disk (with Durability::Kept), and the temporary file is renamed over `path`. On failure the
 * old file is untouched, the temporary file is removed, and `error` (when given) says why. A
 * file that exists and cannot be written (made read-only) is refused, not replaced.
 */
bool writeFileAtomically(const std::string &path, std::string_view bytes,
    std::string *error = nullptr, Durability durability = Durability::Kept);

/** What a read of a file found. */
enum class FileRead {
    Read, ///< the file's bytes are in `bytes`
    Missing, ///< there is no file of that name (nor, maybe, its folder); `bytes` is empty
    /**
     * Something is there but was not read: access denied, not a regular file (a folder, a
     * FIFO, a device; a link counts as what it leads to), larger than the limit, a read
     * error, or no memory for it. `bytes` is empty. Whatever is there must not be written
     * over as though it were empty.
     */
    Unreadable,
};

/**
 * The size above which a file is not read: far beyond any list or settings file a person
 * makes (a list of 100,000 pictures is about 20 MB), and small enough that reading it
 * cannot run the program out of memory.
 */
inline constexpr std::size_t MaxReadBytes = std::size_t {64} << 20;

/**
 * Reads the whole regular file at `path` into `bytes`, without ever waiting: a FIFO or a
 * device is refused before anything is read from it. See FileRead for the outcomes.
 */
FileRead readRegularFile(
    const std::string &path, std::string &bytes, std::size_t limit = MaxReadBytes);

/**
 * Whether `path` is a regular file (or a link to one) that opens for reading. It is opened
 * and closed at once, nothing is read, and a FIFO or a device is refused without waiting.
 */
bool regularFileOpens(const std::string &path);

/** readRegularFile, true only when the file was read. */
bool readWholeFile(const std::string &path, std::string &bytes);

} // namespace platform
