#include "tests/support/jpeg_test_files.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

namespace testsupport {

namespace {

// The helpers only ever see well-formed input: a codec error is a broken test.
[[noreturn]] void abortOnError(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "test JPEG helper: %s\n", text);
    std::abort();
}

std::uint8_t sample(int x, int y, int c, std::minstd_rand &noise)
{
    const int base = c == 0 ? x * 255 / 40 + y : c == 1 ? (x + y) * 3 : 255 - y * 5 + x;
    const int value = base + static_cast<int>(noise() % 48) - 24;
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

} // namespace

JpegRecipe sized(int width, int height, Kind kind)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.kind = kind;
    return recipe;
}

Bytes makeJpeg(const JpegRecipe &recipe)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr err {};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = abortOnError;
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);

    const int components = recipe.kind == Kind::Grey ? 1 : recipe.kind == Kind::Colour ? 3 : 4;
    cinfo.image_width = static_cast<JDIMENSION>(recipe.width);
    cinfo.image_height = static_cast<JDIMENSION>(recipe.height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (recipe.kind == Kind::Ycck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    cinfo.comp_info[0].h_samp_factor = recipe.lumaH;
    cinfo.comp_info[0].v_samp_factor = recipe.lumaV;
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = recipe.arithmetic ? TRUE : FALSE;
    cinfo.restart_in_rows = recipe.restartRows;
    cinfo.density_unit = static_cast<UINT8>(recipe.densityUnit);
    cinfo.X_density = static_cast<UINT16>(recipe.xDensity);
    cinfo.Y_density = static_cast<UINT16>(recipe.yDensity);
    jpeg_start_compress(&cinfo, TRUE);
    for (const std::string &comment : recipe.comments)
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET *>(comment.data()),
            static_cast<unsigned>(comment.size()));

    std::minstd_rand noise(static_cast<unsigned>(recipe.width * 131 + recipe.height));
    Bytes row(static_cast<std::size_t>(recipe.width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < components; ++c)
                row[static_cast<std::size_t>(x * components + c)] = sample(x, y, c, noise);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes result(out, out + outSize);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return result;
}

RawDecode decodeRaw(const Bytes &jpeg, int quantizeColours, bool grayscale)
{
    jpeg_decompress_struct cinfo {};
    jpeg_error_mgr err {};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = abortOnError;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (quantizeColours > 0) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = quantizeColours;
    }
    if (grayscale)
        cinfo.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&cinfo);
    RawDecode raw;
    raw.width = cinfo.output_width;
    raw.height = cinfo.output_height;
    raw.components = static_cast<unsigned>(cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        Bytes row(raw.width * raw.components);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        raw.rows.push_back(std::move(row));
    }
    if (cinfo.colormap) {
        raw.colours = cinfo.actual_number_of_colors;
        for (int c = 0; c < cinfo.out_color_components; ++c)
            raw.colormap[c].assign(cinfo.colormap[c], cinfo.colormap[c] + raw.colours);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return raw;
}

std::size_t scanDataOffset(const Bytes &jpeg)
{
    for (std::size_t i = 2; i + 3 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            return i + 2 + (std::size_t {jpeg[i + 2]} << 8 | jpeg[i + 3]);
    std::abort();
}

std::uint16_t le16(const Bytes &b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

std::uint32_t le32(const Bytes &b, std::size_t at)
{
    return le16(b, at) | std::uint32_t {le16(b, at + 2)} << 16;
}

void writeFile(const std::string &path, const Bytes &bytes)
{
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

Bytes readBytes(const std::string &path)
{
    const std::string bytes = readFile(path);
    return Bytes(bytes.begin(), bytes.end());
}

} // namespace testsupport
