#pragma once

#include "jpegctl/src/JpegLib.h"

#include <csetjmp>

namespace jpegctl {

/** Codes of this module's own messages, registered with the error manager as add-on messages. */
inline constexpr int FirstAddonMessage = 1000;
inline constexpr int BmpColorSpaceError = 1000; // "BMP output must be grayscale or RGB"
inline constexpr int BmpTooManyColors
    = 1001; // "Output file format cannot handle %d colormap entries"
inline constexpr int LastAddonMessage = BmpTooManyColors;
static_assert(static_cast<int>(JMSG_LASTMSGCODE) < FirstAddonMessage,
    "add-on codes must not collide with the codec's");

/**
 * The error manager of one decode. The codec sees only `pub`; a fatal error or a warning
 * formats its text into `message` and jumps back to the runGuarded() that is active. Trace
 * messages are dropped and nothing is ever printed.
 */
struct JpegErrorManager
{
    jpeg_error_mgr pub; // first, so that the codec's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

/** Fills `err` with the codec's standard routines, our exits and the add-on message table. */
jpeg_error_mgr *setupErrorManager(JpegErrorManager &err) noexcept;

/**
 * Runs `step(context)` and returns true when it ended normally, false when the codec reported
 * an error or a warning (its text is then in err.message). This is the only place the error
 * exit jumps to; it owns no C++ objects, and neither may `step` nor anything it calls that the
 * jump can cross.
 */
bool runGuarded(
    JpegErrorManager &err, void (*step)(void *context) noexcept, void *context) noexcept;

/** Reports the fatal error `code` (with one numeric parameter) through cinfo's error manager. */
[[noreturn]] void raiseError(j_common_ptr cinfo, int code) noexcept;
[[noreturn]] void raiseError(j_common_ptr cinfo, int code, int parameter) noexcept;

/** Reports the warning `code`; under our error manager this ends the decode like an error. */
void raiseWarning(j_common_ptr cinfo, int code) noexcept;

template <typename Info> j_common_ptr common(Info *cinfo) noexcept
{
    // The codec's own idiom: every codec record starts with the common fields.
    return reinterpret_cast<j_common_ptr>(cinfo);
}

} // namespace jpegctl
