#include "jpegctl/JpegDecoder.h"

#include "jpegctl/src/BmpWriter.h"
#include "jpegctl/src/DecoderSteps.h"
#include "jpegctl/src/ErrorManager.h"
#include "jpegctl/src/StreamSource.h"

#include <string>

namespace jpegctl {

bool progressDue(unsigned percent, unsigned lastReported, TDelta step)
{
    if (step == 0 || percent == lastReported)
        return false;
    return percent % step == 0;
}

void ApplyOptions(j_decompress_ptr cinfo, const JpegOptions &options) noexcept
{
    cinfo->err->trace_level = 0;

    switch (options.NumOfColors) {
    case TNumOfColors::_16:
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 16;
        break;
    case TNumOfColors::_256:
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 256;
        break;
    case TNumOfColors::TrueColor:
        break;
    }

    switch (options.DCTMethod) {
    case TDCTMethod::Integ:
        cinfo->dct_method = JDCT_ISLOW;
        break;
    case TDCTMethod::FastInteg:
        cinfo->dct_method = JDCT_IFAST;
        break;
    case TDCTMethod::FloatingPoint:
        cinfo->dct_method = JDCT_FLOAT;
        break;
    }

    switch (options.Dither) {
    case TDither::None:
        cinfo->dither_mode = JDITHER_NONE;
        break;
    case TDither::FS:
        cinfo->dither_mode = JDITHER_FS;
        break;
    case TDither::Ordered:
        cinfo->dither_mode = JDITHER_ORDERED;
        break;
    }

    if (options.FastProcessing) {
        cinfo->two_pass_quantize = FALSE;
        cinfo->dither_mode = JDITHER_ORDERED;
        cinfo->dct_method = JDCT_IFAST;
        cinfo->do_fancy_upsampling = FALSE;
    }
    if (options.GrayScale)
        cinfo->out_color_space = JCS_GRAYSCALE;
    if (options.NoSmooth)
        cinfo->do_fancy_upsampling = FALSE;
    if (options.OnePass)
        cinfo->two_pass_quantize = FALSE;
}

namespace {

unsigned nextSourceByte(j_decompress_ptr cinfo) noexcept
{
    jpeg_source_mgr *src = cinfo->src;
    if (src->bytes_in_buffer == 0)
        (void)(*src->fill_input_buffer)(cinfo); // our source never suspends
    --src->bytes_in_buffer;
    return *src->next_input_byte++;
}

} // namespace

boolean SkipComment(j_decompress_ptr cinfo) noexcept
{
    unsigned length = nextSourceByte(cinfo) << 8;
    length += nextSourceByte(cinfo);
    for (unsigned left = length > 2 ? length - 2 : 0; left > 0; --left)
        (void)nextSourceByte(cinfo);
    return TRUE;
}

namespace {

// One decode. Everything here is plain data: the guarded steps below run with the error
// exit's jump target set, and a jump must cross nothing that has a destructor.
struct DecodeRun
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    MemoryStream *source;
    MemoryStream *bmp;
    const JpegOptions *options;
    BmpWriter *writer;
    bool created;
};

DecodeRun &runOf(void *context) noexcept
{
    return *static_cast<DecodeRun *>(context);
}

void beginDecode(void *context) noexcept
{
    DecodeRun &run = runOf(context);
    j_decompress_ptr cinfo = &run.cinfo;
    cinfo->err = setupErrorManager(run.err);
    run.created = true; // destroying a half-created decompressor is harmless
    jpeg_create_decompress(cinfo);
    jpeg_set_marker_processor(cinfo, JPEG_COM, SkipComment);
    attachStreamSource(cinfo, run.source);
    (void)jpeg_read_header(cinfo, TRUE);
    ApplyOptions(cinfo, *run.options);
    run.writer = createBmpWriter(cinfo);
    run.writer->outputStream = run.bmp;
    (void)jpeg_start_decompress(cinfo);
    (*run.writer->start)(cinfo, run.writer);
}

void decodeRow(void *context) noexcept
{
    DecodeRun &run = runOf(context);
    const JDIMENSION rows = jpeg_read_scanlines(&run.cinfo, run.writer->rowBuffer, 1);
    (*run.writer->putRows)(&run.cinfo, run.writer, rows);
}

void finishDecode(void *context) noexcept
{
    DecodeRun &run = runOf(context);
    (*run.writer->finish)(&run.cinfo, run.writer);
    (void)jpeg_finish_decompress(&run.cinfo);
}

// Owns the run for the C++ side: destroys the decompressor however the decode ends,
// including by an exception from the progress handler.
class RunOwner
{
public:
    explicit RunOwner(DecodeRun &run)
        : m_run(run)
    {
    }
    ~RunOwner() { destroy(); }
    RunOwner(const RunOwner &) = delete;
    RunOwner &operator=(const RunOwner &) = delete;

    void destroy() noexcept
    {
        if (m_run.created) {
            jpeg_destroy_decompress(&m_run.cinfo);
            m_run.created = false;
        }
    }

    // A step the codec failed: the text is kept, the decompressor destroyed, then raised.
    [[noreturn]] void fail()
    {
        std::string message(m_run.err.message);
        destroy();
        throw EJPEGException(message);
    }

private:
    DecodeRun &m_run;
};

} // namespace

void decodeJpegToBmp(MemoryStream &source, const JpegOptions &options, MemoryStream &bmp,
    TDelta progressStep, const std::function<void()> &onProgress)
{
    DecodeRun run {};
    run.source = &source;
    run.bmp = &bmp;
    run.options = &options;
    RunOwner owner(run);

    source.setPosition(0);
    if (!runGuarded(run.err, beginDecode, &run))
        owner.fail();

    unsigned lastReported = 0;
    while (run.cinfo.output_scanline < run.cinfo.output_height) {
        if (!runGuarded(run.err, decodeRow, &run))
            owner.fail();
        const auto percent = static_cast<unsigned>(
            std::uint64_t {run.cinfo.output_scanline} * 100 / run.cinfo.output_height);
        if (progressDue(percent, lastReported, progressStep)) {
            lastReported = percent;
            if (onProgress)
                onProgress();
        }
    }

    if (!runGuarded(run.err, finishDecode, &run))
        owner.fail();
    owner.destroy();
}

} // namespace jpegctl
