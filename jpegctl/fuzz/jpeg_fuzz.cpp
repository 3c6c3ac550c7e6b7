// libFuzzer target over the decoder: the first two bytes choose the decode properties and the
// progress step, the rest is the JPEG data. Every input must end in a bitmap or EJPEGException.
#include "jpegctl/JpegDecoder.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct HeaderErrors
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void headerErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<HeaderErrors *>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr, int)
{
}

// Pictures above a few megapixels only make the codec allocate (a progressive file holds all
// of its coefficients), which tells nothing about our code and trips the fuzzer's memory limit.
// Holds no C++ objects: the codec may jump out of jpeg_read_header back to the setjmp here.
bool tooLarge(const std::uint8_t *data, std::size_t size)
{
    jpeg_decompress_struct cinfo;
    HeaderErrors err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = headerErrorExit;
    err.pub.emit_message = ignoreMessage;
    bool large = false;
    if (setjmp(err.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
        jpeg_read_header(&cinfo, TRUE);
        large = std::uint64_t {cinfo.image_width} * cinfo.image_height > 4'000'000;
    }
    jpeg_destroy_decompress(&cinfo);
    return large;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned choice = data[0];
    jpegctl::JpegOptions options;
    options.NumOfColors = static_cast<TNumOfColors>(choice % 3);
    options.DCTMethod = static_cast<TDCTMethod>(choice / 3 % 3);
    options.Dither = static_cast<TDither>(choice / 9 % 3);
    options.FastProcessing = (choice / 27) & 1;
    options.GrayScale = (choice / 54) & 1;
    options.NoSmooth = (data[1] & 0x80) != 0;
    options.OnePass = (data[1] & 0x40) != 0;
    const auto step = static_cast<TDelta>(data[1] & 0x3F); // 0 and steps of every size
    data += 2;
    size -= 2;
    if (size > 0 && tooLarge(data, size))
        return 0;

    jpegctl::MemoryStream source;
    source.write(data, size);
    jpegctl::MemoryStream bmp;
    unsigned events = 0;
    try {
        jpegctl::decodeJpegToBmp(source, options, bmp, step, [&] { ++events; });
    } catch (const EJPEGException &) {
        return 0;
    }
    // A finished decode is a whole bitmap file image whose size is written in its header.
    if (bmp.size() < 54 || bmp.data()[0] != 'B' || bmp.data()[1] != 'M' || events > 100)
        __builtin_trap();
    const std::uint8_t *h = bmp.data();
    const std::uint32_t fileSize = std::uint32_t {h[2]} | std::uint32_t {h[3]} << 8
        | std::uint32_t {h[4]} << 16 | std::uint32_t {h[5]} << 24;
    if (fileSize != static_cast<std::uint32_t>(bmp.size()))
        __builtin_trap();
    return 0;
}
