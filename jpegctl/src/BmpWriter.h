#pragma once

#include "jpegctl/src/JpegLib.h"

#include "jpegctl/MemoryStream.h"

#include <cstdint>

namespace jpegctl {

/**
 * The output module that turns decoded rows into a complete Windows bitmap file image. The
 * decompressor delivers rows top-down and the file stores them bottom-up, so start sizes the
 * output stream once for the whole file and each row goes straight to its final place in it
 * (the row buffer points there, and the codec delivers colour as blue, green, red where it
 * can; otherwise the row arrives in the writer's own row and is stored with red and blue
 * swapped). Finish then writes the headers and the colour table in front of the rows. The
 * stream is the only copy of the picture. The record and the writer's own row belong to the
 * decompressor's image pool.
 */
struct BmpWriter
{
    // The interface the decoding loop calls.
    void (*start)(j_decompress_ptr cinfo, BmpWriter *writer) noexcept; // sizes the stream
    void (*putRows)(j_decompress_ptr cinfo, BmpWriter *writer, JDIMENSION rowsSupplied) noexcept;
    void (*finish)(j_decompress_ptr cinfo, BmpWriter *writer) noexcept;
    MemoryStream *outputStream; // not owned; set by the caller right after creation
    JSAMPARRAY rowBuffer; // one row: where the decompressor puts the next row
    JDIMENSION bufferHeight; // always 1

    std::uint32_t dataWidth; // output_width * output_components
    std::uint32_t rowWidth; // dataWidth raised to a multiple of 4
    std::int32_t padBytes; // rowWidth - dataWidth, 0 to 3
    std::uint32_t headerSize; // both headers and the colour table: where the rows begin
    std::uint32_t currentRow; // the next row the decompressor delivers, from the top
    JSAMPROW ownRow; // rowWidth bytes of the writer's own
};

/**
 * Creates the writer for the decompressor's present output parameters; call after
 * jpeg_read_header and the parameter settings, before jpeg_start_decompress. An output colour
 * space other than grey or RGB is the fatal "BMP output must be grayscale or RGB". Colour
 * output is asked of the codec as blue, green, red when it can deliver that order and
 * `blueFirstFromCodec` allows it; otherwise the writer swaps red and blue itself.
 */
BmpWriter *createBmpWriter(j_decompress_ptr cinfo, bool blueFirstFromCodec = true) noexcept;

/**
 * Writes both headers and, at 8 bits, the 256-entry colour table at the start of the output
 * stream, in front of the rows. A colour map of more than 256 entries is the fatal "Output
 * file format cannot handle %d colormap entries"; a header that cannot be stored the codec's
 * file-write error. Called by finish; exposed for the layout tests.
 */
void writeBmpHeaders(j_decompress_ptr cinfo, BmpWriter *writer) noexcept;

} // namespace jpegctl
