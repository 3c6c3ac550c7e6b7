#include "jpegctl/src/StreamSource.h"

#include "jpegctl/src/ErrorManager.h"

namespace jpegctl {

namespace {

StreamSource &source(j_decompress_ptr cinfo) noexcept
{
    return *reinterpret_cast<StreamSource *>(cinfo->src);
}

void initSource(j_decompress_ptr cinfo) noexcept
{
    source(cinfo).startOfFile = TRUE;
}

boolean fillInputBuffer(j_decompress_ptr cinfo) noexcept
{
    StreamSource &src = source(cinfo);
    const std::size_t count = src.stream->read(src.buffer, StreamSourceBufferSize);
    if (count == 0) {
        if (src.startOfFile)
            raiseError(common(cinfo), JERR_INPUT_EMPTY);
        raiseWarning(common(cinfo), JWRN_JPEG_EOF);
        // Only reached under an error manager that lets warnings pass: end the data with a
        // fake end-of-image marker, as the codec's own sources do.
        src.buffer[0] = 0xFF;
        src.buffer[1] = JPEG_EOI;
        src.pub.next_input_byte = src.buffer;
        src.pub.bytes_in_buffer = 2;
        return TRUE;
    }
    src.pub.next_input_byte = src.buffer;
    src.pub.bytes_in_buffer = count;
    src.startOfFile = FALSE;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) noexcept
{
    if (count <= 0)
        return;
    StreamSource &src = source(cinfo);
    auto remaining = static_cast<unsigned long>(count);
    while (remaining > src.pub.bytes_in_buffer) {
        remaining -= static_cast<unsigned long>(src.pub.bytes_in_buffer);
        (void)(*src.pub.fill_input_buffer)(cinfo);
    }
    src.pub.next_input_byte += remaining;
    src.pub.bytes_in_buffer -= remaining;
}

void termSource(j_decompress_ptr) noexcept
{
}

} // namespace

void attachStreamSource(j_decompress_ptr cinfo, MemoryStream *stream) noexcept
{
    if (cinfo->src == nullptr) {
        auto *record = static_cast<StreamSource *>(
            (*cinfo->mem->alloc_small)(common(cinfo), JPOOL_PERMANENT, sizeof(StreamSource)));
        record->buffer = static_cast<JOCTET *>((*cinfo->mem->alloc_small)(
            common(cinfo), JPOOL_PERMANENT, StreamSourceBufferSize * sizeof(JOCTET)));
        cinfo->src = &record->pub;
    } else if (cinfo->src->init_source != initSource) {
        // Another kind of source was attached before; its record is too small for ours.
        raiseError(common(cinfo), JERR_BUFFER_SIZE);
    }
    StreamSource &src = source(cinfo);
    src.pub.init_source = initSource;
    src.pub.fill_input_buffer = fillInputBuffer;
    src.pub.skip_input_data = skipInputData;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = termSource;
    src.stream = stream;
    src.pub.bytes_in_buffer = 0;
    src.pub.next_input_byte = nullptr;
}

} // namespace jpegctl
