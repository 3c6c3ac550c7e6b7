#include "jpegctl/src/ErrorManager.h"

#include <cstdlib>

namespace jpegctl {

namespace {

const char *const addonMessages[] = {
    "BMP output must be grayscale or RGB",
    "Output file format cannot handle %d colormap entries",
    nullptr,
};
static_assert(
    sizeof(addonMessages) / sizeof(addonMessages[0]) == LastAddonMessage - FirstAddonMessage + 2,
    "one text per add-on code, then the end mark");

JpegErrorManager &manager(j_common_ptr cinfo) noexcept
{
    return *reinterpret_cast<JpegErrorManager *>(cinfo->err);
}

[[noreturn]] void errorExit(j_common_ptr cinfo) noexcept
{
    JpegErrorManager &err = manager(cinfo);
    (*err.pub.format_message)(cinfo, err.message);
    std::longjmp(err.jump, 1);
}

void emitMessage(j_common_ptr cinfo, int msgLevel) noexcept
{
    // A warning ends the decode: data the codec had to patch up never becomes a picture.
    if (msgLevel < 0)
        errorExit(cinfo);
    // Trace messages are dropped.
}

void outputMessage(j_common_ptr) noexcept
{
}

} // namespace

jpeg_error_mgr *setupErrorManager(JpegErrorManager &err) noexcept
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = outputMessage;
    err.pub.trace_level = 0;
    err.pub.addon_message_table = addonMessages;
    err.pub.first_addon_message = FirstAddonMessage;
    err.pub.last_addon_message = LastAddonMessage;
    err.message[0] = '\0';
    return &err.pub;
}

bool runGuarded(JpegErrorManager &err, void (*step)(void *context) noexcept, void *context) noexcept
{
    if (setjmp(err.jump) != 0)
        return false;
    step(context);
    return true;
}

void raiseError(j_common_ptr cinfo, int code) noexcept
{
    cinfo->err->msg_code = code;
    (*cinfo->err->error_exit)(cinfo);
    std::abort(); // an error exit must not return
}

void raiseError(j_common_ptr cinfo, int code, int parameter) noexcept
{
    cinfo->err->msg_parm.i[0] = parameter;
    raiseError(cinfo, code);
}

void raiseWarning(j_common_ptr cinfo, int code) noexcept
{
    cinfo->err->msg_code = code;
    (*cinfo->err->emit_message)(cinfo, -1);
}

} // namespace jpegctl
