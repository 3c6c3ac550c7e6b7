#include "jpegctl/src/BmpWriter.h"

#include "jpegctl/src/ErrorManager.h"

#include <cstring>

namespace jpegctl {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t ColorTableEntries = 256;

// Little-endian stores, one field at a time.
void put2(std::uint8_t *at, std::size_t offset, std::uint32_t value)
{
    at[offset] = static_cast<std::uint8_t>(value & 0xFF);
    at[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put4(std::uint8_t *at, std::size_t offset, std::uint32_t value)
{
    put2(at, offset, value & 0xFFFF);
    put2(at, offset + 2, value >> 16);
}

// 256 colour-table entries at 8 bits (grey, or colour-map indexes), none at 24.
std::size_t colorTableEntries(j_decompress_ptr cinfo) noexcept
{
    return cinfo->out_color_space == JCS_GRAYSCALE || cinfo->quantize_colors ? ColorTableEntries
                                                                             : 0;
}

std::uint64_t fileSizeOf(j_decompress_ptr cinfo, const BmpWriter *writer) noexcept
{
    const std::size_t headerSize = FileHeaderSize + InfoHeaderSize + colorTableEntries(cinfo) * 4;
    return headerSize + std::uint64_t {writer->rowWidth} * cinfo->output_height;
}

// Where row `row` of the picture (counted from the top) lies in the file: bottom row first.
std::uint8_t *rowPlace(j_decompress_ptr cinfo, BmpWriter *writer, JDIMENSION row) noexcept
{
    const std::size_t fromBottom = cinfo->output_height - 1 - row;
    return writer->outputStream->data() + writer->headerSize + fromBottom * writer->rowWidth;
}

void zeroPad(std::uint8_t *row, const BmpWriter *writer) noexcept
{
    std::memset(row + writer->dataWidth, 0, static_cast<std::size_t>(writer->padBytes));
}

// The decompressor writes each row straight into its place in the file; the writer only
// pads it and points the row buffer at the next row's place. After the last row the buffer
// points at the writer's own row again, so that a surplus read lands somewhere harmless.
void putRowsInPlace(j_decompress_ptr cinfo, BmpWriter *writer, JDIMENSION) noexcept
{
    if (writer->currentRow >= cinfo->output_height)
        return;
    zeroPad(writer->rowBuffer[0], writer);
    ++writer->currentRow;
    writer->rowBuffer[0] = writer->currentRow < cinfo->output_height
        ? rowPlace(cinfo, writer, writer->currentRow)
        : writer->ownRow;
}

// With a codec that delivers only red, green, blue: the row arrives in the writer's own row
// and goes to its place as blue, green, red.
void putRowsSwapped(j_decompress_ptr cinfo, BmpWriter *writer, JDIMENSION) noexcept
{
    if (writer->currentRow >= cinfo->output_height)
        return;
    std::uint8_t *out = rowPlace(cinfo, writer, writer->currentRow++);
    const JSAMPLE *in = writer->ownRow;
    for (JDIMENSION col = 0; col < cinfo->output_width; ++col, in += 3) {
        out[col * 3] = in[2];
        out[col * 3 + 1] = in[1];
        out[col * 3 + 2] = in[0];
    }
    zeroPad(out, writer);
}

// Every byte of the file is written by the time finish is done (rows with their padding,
// headers, colour table), so the stream is sized without being cleared first.
void startOutput(j_decompress_ptr cinfo, BmpWriter *writer) noexcept
{
    MemoryStream &out = *writer->outputStream;
    const std::uint64_t fileSize = fileSizeOf(cinfo, writer);
    if (fileSize > SIZE_MAX || !out.setSize(static_cast<std::size_t>(fileSize)))
        raiseError(common(cinfo), JERR_FILE_WRITE);
    writer->currentRow = 0;
    if (writer->putRows == putRowsInPlace && cinfo->output_height > 0)
        writer->rowBuffer[0] = rowPlace(cinfo, writer, 0);
}

// Asks the decompressor for blue, green, red instead of red, green, blue, where the codec
// can deliver that order itself (the same values, only their order differs).
bool deliverBlueFirst(j_decompress_ptr cinfo) noexcept
{
#ifdef JCS_EXTENSIONS
    cinfo->out_color_space = JCS_EXT_BGR;
    return true;
#else
    (void)cinfo;
    return false;
#endif
}

void writeColorTable(j_decompress_ptr cinfo, BmpWriter *writer) noexcept
{
    std::uint8_t table[ColorTableEntries * 4];
    std::size_t produced = 0;
    if (cinfo->colormap != nullptr) {
        const auto count = static_cast<std::size_t>(
            cinfo->actual_number_of_colors > 0 ? cinfo->actual_number_of_colors : 0);
        if (count > ColorTableEntries)
            raiseError(common(cinfo), BmpTooManyColors, cinfo->actual_number_of_colors);
        JSAMPARRAY map = cinfo->colormap;
        const bool rgb = cinfo->out_color_components == 3;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint8_t *entry = table + i * 4;
            entry[0] = rgb ? map[2][i] : map[0][i];
            entry[1] = rgb ? map[1][i] : map[0][i];
            entry[2] = map[0][i];
            entry[3] = 0;
        }
        produced = count;
    } else {
        // Grey output without a colour map: the grey ramp.
        for (std::size_t i = 0; i < ColorTableEntries; ++i) {
            std::uint8_t *entry = table + i * 4;
            entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
            entry[3] = 0;
        }
        produced = ColorTableEntries;
    }
    std::memset(table + produced * 4, 0, (ColorTableEntries - produced) * 4);
    (void)writer->outputStream->write(table, sizeof table);
}

void finishOutput(j_decompress_ptr cinfo, BmpWriter *writer) noexcept
{
    writeBmpHeaders(cinfo, writer);
}

} // namespace

void writeBmpHeaders(j_decompress_ptr cinfo, BmpWriter *writer) noexcept
{
    const std::size_t entries = colorTableEntries(cinfo);
    const std::uint32_t bitCount = entries > 0 ? 8 : 24;
    const std::size_t headerSize = FileHeaderSize + InfoHeaderSize + entries * 4;
    const std::uint64_t fileSize = fileSizeOf(cinfo, writer);

    std::uint8_t fileHeader[FileHeaderSize] = {};
    std::uint8_t infoHeader[InfoHeaderSize] = {};
    fileHeader[0] = 0x42; // bfType "BM"
    fileHeader[1] = 0x4D;
    put4(fileHeader, 2, static_cast<std::uint32_t>(fileSize)); // bfSize
    put4(fileHeader, 10, static_cast<std::uint32_t>(headerSize)); // bfOffBits

    put4(infoHeader, 0, InfoHeaderSize); // biSize
    put4(infoHeader, 4, cinfo->output_width); // biWidth
    put4(infoHeader, 8, cinfo->output_height); // biHeight, positive: bottom-up
    put2(infoHeader, 12, 1); // biPlanes
    put2(infoHeader, 14, bitCount); // biBitCount
    // biCompression and biSizeImage stay 0
    if (cinfo->density_unit == 2) { // dots per centimetre
        put4(infoHeader, 24, std::uint32_t {cinfo->X_density} * 100); // biXPelsPerMeter
        put4(infoHeader, 28, std::uint32_t {cinfo->Y_density} * 100); // biYPelsPerMeter
    }
    put4(infoHeader, 32, static_cast<std::uint32_t>(entries)); // biClrUsed
    // biClrImportant stays 0

    // The stream was sized for the whole file before the first row; the headers go in front.
    MemoryStream &out = *writer->outputStream;
    out.setPosition(0);
    if (out.write(fileHeader, FileHeaderSize) != FileHeaderSize
        || out.write(infoHeader, InfoHeaderSize) != InfoHeaderSize)
        raiseError(common(cinfo), JERR_FILE_WRITE);
    if (entries > 0)
        writeColorTable(cinfo, writer);
}

BmpWriter *createBmpWriter(j_decompress_ptr cinfo, bool blueFirstFromCodec) noexcept
{
    auto *writer = static_cast<BmpWriter *>(
        (*cinfo->mem->alloc_small)(common(cinfo), JPOOL_IMAGE, sizeof(BmpWriter)));
    writer->start = startOutput;
    writer->finish = finishOutput;
    writer->outputStream = nullptr;

    // Grey values and colour-map indexes are stored as they come; colour samples need blue
    // first.
    if (cinfo->out_color_space == JCS_GRAYSCALE)
        writer->putRows = putRowsInPlace;
    else if (cinfo->out_color_space == JCS_RGB)
        writer->putRows = cinfo->quantize_colors || (blueFirstFromCodec && deliverBlueFirst(cinfo))
            ? putRowsInPlace
            : putRowsSwapped;
    else
        raiseError(common(cinfo), BmpColorSpaceError);

    jpeg_calc_output_dimensions(cinfo);

    const std::uint64_t dataWidth = std::uint64_t {cinfo->output_width}
        * static_cast<std::uint64_t>(cinfo->output_components);
    std::uint64_t rowWidth = dataWidth;
    while ((rowWidth & 3) != 0)
        ++rowWidth;
    if (rowWidth > JDIMENSION(~0u)) // no row of the file can be that wide
        raiseError(common(cinfo), JERR_WIDTH_OVERFLOW);
    writer->dataWidth = static_cast<std::uint32_t>(dataWidth);
    writer->rowWidth = static_cast<std::uint32_t>(rowWidth);
    writer->padBytes = static_cast<std::int32_t>(rowWidth - dataWidth);

    writer->headerSize = static_cast<std::uint32_t>(
        FileHeaderSize + InfoHeaderSize + colorTableEntries(cinfo) * 4);
    writer->currentRow = 0;

    writer->rowBuffer
        = (*cinfo->mem->alloc_sarray)(common(cinfo), JPOOL_IMAGE, writer->rowWidth, 1);
    writer->bufferHeight = 1;
    writer->ownRow = writer->rowBuffer[0];
    return writer;
}

} // namespace jpegctl
