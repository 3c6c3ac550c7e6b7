#pragma once

#include <string>

namespace platform {

/**
 * Replaces the file at `path` with `bytes` so that a reader, a crash or a full disk never sees
 * a half-written file: the bytes go to a temporary file in the same folder, are flushed to
 * disk, and the temporary file is renamed over `path`. On failure the old file is untouched,
 * the temporary file is removed, and `error` (when given) says why. A file that exists and
 * cannot be written (made read-only) is refused, not replaced.
 */
bool writeFileAtomically(
    const std::string &path, const std::string &bytes, std::string *error = nullptr);

/** Reads the whole file at `path` into `bytes`; false when it cannot be opened or read. */
bool readWholeFile(const std::string &path, std::string &bytes);

} // namespace platform
