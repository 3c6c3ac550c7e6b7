#pragma once

#include "jpegctl/src/JpegLib.h"

#include "jpegctl/MemoryStream.h"

namespace jpegctl {

/** Size of the chunks in which compressed data is copied out of the stream. */
inline constexpr std::size_t StreamSourceBufferSize = 4096;

/**
 * A data source feeding the decompressor from a stream, from its current position on.
 * There is no such thing as an end of data that the codec is not told about: an empty first
 * read is the fatal "Empty input file", running out later the warning "Premature end of JPEG
 * file", and the source never suspends.
 */
struct StreamSource
{
    jpeg_source_mgr pub; // the codec's part, first
    MemoryStream *stream; // not owned
    JOCTET *buffer; // StreamSourceBufferSize bytes, from the permanent pool
    boolean startOfFile; // TRUE until the first successful read of the current image
};

/**
 * Makes `stream` the decompressor's data source. The first attachment to a decompressor
 * allocates the record and its buffer from the permanent pool; later ones reuse them. The
 * first read then fills the buffer. Call after jpeg_create_decompress and before
 * jpeg_read_header; the stream must outlive the decompressor's use of it.
 */
void attachStreamSource(j_decompress_ptr cinfo, MemoryStream *stream) noexcept;

} // namespace jpegctl
