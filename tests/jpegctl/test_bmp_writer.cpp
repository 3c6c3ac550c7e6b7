// The bitmap writer's file layout and the data source's rules, checked against what the codec
// itself delivers for the same file.
#include "jpegctl/JpegDecoder.h"
#include "jpegctl/src/BmpWriter.h"
#include "jpegctl/src/DecoderSteps.h"
#include "jpegctl/src/ErrorManager.h"
#include "jpegctl/src/StreamSource.h"
#include "tests/support/jpeg_test_files.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testsupport;
using jpegctl::JpegOptions;
using jpegctl::MemoryStream;

namespace {

Bytes decodeBmp(const Bytes &jpeg, const JpegOptions &options)
{
    MemoryStream source;
    source.write(jpeg.data(), jpeg.size());
    // The stream the writer gets is not cleared first: a previous, larger image leaves bytes
    // behind that every row, pad and header byte must overwrite.
    MemoryStream bmp;
    const Bytes stale(jpeg.size() * 64 + 4096, 0xA5);
    bmp.write(stale.data(), stale.size());
    bmp.setSize(0);
    jpegctl::decodeJpegToBmp(source, options, bmp);
    return Bytes(bmp.data(), bmp.data() + bmp.size());
}

JpegOptions withColours(TNumOfColors colours, bool grey = false)
{
    JpegOptions o;
    o.NumOfColors = colours;
    o.GrayScale = grey;
    return o;
}

struct LayoutCase
{
    const char *name;
    JpegRecipe recipe;
    JpegOptions options;
    int quantize; // for the reference decode
    unsigned bitCount;
    unsigned rowWidth;
    std::uint32_t pelsPerMetre;
};

JpegRecipe withDensity(int unit, int x, int y)
{
    JpegRecipe s = sized(8, 8);
    s.densityUnit = unit;
    s.xDensity = x;
    s.yDensity = y;
    return s;
}

class BmpLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(BmpLayout, HeadersTableAndRowsFollowTheCodecOutput)
{
    const LayoutCase &c = GetParam();
    const Bytes jpeg = makeJpeg(c.recipe);
    const Bytes bmp = decodeBmp(jpeg, c.options);
    const RawDecode raw = decodeRaw(jpeg, c.quantize, c.options.GrayScale);
    const unsigned entries = c.bitCount == 8 ? 256 : 0;
    const unsigned offBits = 54 + entries * 4;

    ASSERT_EQ(bmp.size(), offBits + c.rowWidth * raw.height);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 6), 0u);
    EXPECT_EQ(le32(bmp, 10), offBits);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), raw.width);
    EXPECT_EQ(le32(bmp, 22), raw.height);
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), c.bitCount);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(le32(bmp, 34), 0u);
    EXPECT_EQ(le32(bmp, 38), c.pelsPerMetre);
    EXPECT_EQ(le32(bmp, 42), c.pelsPerMetre);
    EXPECT_EQ(le32(bmp, 46), entries);
    EXPECT_EQ(le32(bmp, 50), 0u);

    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t at = 54 + i * 4;
        Bytes expected {0, 0, 0, 0};
        if (raw.colours == 0 && c.quantize == 0) // grey ramp
            expected = {Bytes::value_type(i), Bytes::value_type(i), Bytes::value_type(i), 0};
        else if (static_cast<int>(i) < raw.colours && raw.components == 1
            && !raw.colormap[1].empty())
            expected = {raw.colormap[2][i], raw.colormap[1][i], raw.colormap[0][i], 0};
        else if (static_cast<int>(i) < raw.colours)
            expected = {raw.colormap[0][i], raw.colormap[0][i], raw.colormap[0][i], 0};
        ASSERT_EQ(Bytes(&bmp[at], &bmp[at] + 4), expected) << "entry " << i;
    }

    // Bottom row first; blue, green, red at 24 bits; zero padding.
    for (unsigned y = 0; y < raw.height; ++y) {
        const std::size_t at = offBits + (raw.height - 1 - y) * c.rowWidth;
        Bytes expected = raw.rows[y];
        if (c.bitCount == 24)
            for (std::size_t p = 0; p + 2 < expected.size(); p += 3)
                std::swap(expected[p], expected[p + 2]);
        expected.resize(c.rowWidth, 0);
        ASSERT_EQ(Bytes(&bmp[at], &bmp[at] + c.rowWidth), expected) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Writer, BmpLayout,
    testing::Values(LayoutCase {"OnePixelWide24Bit", sized(1, 5),
                        withColours(TNumOfColors::TrueColor), 0, 24, 4, 0},
        LayoutCase {
            "FourWide8BitNoPad", sized(4, 3), withColours(TNumOfColors::_256), 256, 8, 4, 0},
        LayoutCase {
            "ThreeByTwo24Bit", sized(3, 2), withColours(TNumOfColors::TrueColor), 0, 24, 12, 0},
        LayoutCase {"DotsPerCentimetre", withDensity(2, 28, 28),
            withColours(TNumOfColors::TrueColor), 0, 24, 24, 2800},
        LayoutCase {"DotsPerInch", withDensity(1, 28, 28), withColours(TNumOfColors::TrueColor), 0,
            24, 24, 0},
        LayoutCase {"AspectOnly", withDensity(0, 28, 28), withColours(TNumOfColors::TrueColor), 0,
            24, 24, 0},
        LayoutCase {
            "GreyRamp", sized(5, 4, Kind::Grey), withColours(TNumOfColors::TrueColor), 0, 8, 8, 0},
        LayoutCase {"ColourToGreyRamp", sized(6, 4), withColours(TNumOfColors::TrueColor, true), 0,
            8, 8, 0},
        LayoutCase {
            "QuantisedGrey", sized(9, 4, Kind::Grey), withColours(TNumOfColors::_16), 16, 8, 12, 0},
        LayoutCase {"SixteenColours", sized(21, 9), withColours(TNumOfColors::_16), 16, 8, 24, 0}),
    [](const testing::TestParamInfo<LayoutCase> &p) { return std::string(p.param.name); });

TEST(BmpWriter, ThreeByTwoIsTheWorkedExampleByteForByte)
{
    const Bytes jpeg = makeJpeg(sized(3, 2));
    const RawDecode raw = decodeRaw(jpeg, 0, false);
    Bytes expected {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, // biSize .. biBitCount
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // the rest
    };
    for (int y : {1, 0}) {
        const Bytes &row = raw.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < 3; ++x)
            for (int c : {2, 1, 0})
                expected.push_back(row[static_cast<std::size_t>(x * 3 + c)]);
        expected.insert(expected.end(), 3, 0);
    }
    EXPECT_EQ(decodeBmp(jpeg, withColours(TNumOfColors::TrueColor)), expected);
}

// A codec that cannot deliver blue first leaves the swap to the writer: the same file.
TEST(BmpWriter, RowsSwappedByTheWriterAreTheCodecsBlueFirstRows)
{
    for (const JpegRecipe &recipe : {sized(1, 3), sized(3, 2), sized(37, 5)}) {
        const Bytes jpeg = makeJpeg(recipe);
        jpeg_decompress_struct cinfo {};
        jpeg_error_mgr err {};
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&cinfo, TRUE);
        jpegctl::BmpWriter *writer = jpegctl::createBmpWriter(&cinfo, false);
        ASSERT_EQ(cinfo.out_color_space, JCS_RGB);
        MemoryStream out;
        const Bytes stale(4096, 0xA5);
        out.write(stale.data(), stale.size());
        out.setSize(0);
        writer->outputStream = &out;
        jpeg_start_decompress(&cinfo);
        writer->start(&cinfo, writer);
        while (cinfo.output_scanline < cinfo.output_height)
            writer->putRows(&cinfo, writer, jpeg_read_scanlines(&cinfo, writer->rowBuffer, 1));
        writer->finish(&cinfo, writer);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        EXPECT_EQ(Bytes(out.data(), out.data() + out.size()),
            decodeBmp(jpeg, withColours(TNumOfColors::TrueColor)))
            << recipe.width << " x " << recipe.height;
    }
}

// Drives a decompressor created with our error manager through one guarded step.
struct Guarded
{
    jpeg_decompress_struct cinfo {};
    jpegctl::JpegErrorManager err {};
    Guarded()
    {
        cinfo.err = jpegctl::setupErrorManager(err);
        jpeg_create_decompress(&cinfo);
    }
    ~Guarded() { jpeg_destroy_decompress(&cinfo); }
    std::string run(void (*step)(j_decompress_ptr) noexcept)
    {
        struct Call
        {
            j_decompress_ptr cinfo;
            void (*step)(j_decompress_ptr) noexcept;
        } call {&cinfo, step};
        const bool ok = jpegctl::runGuarded(
            err,
            [](void *c) noexcept {
                Call *callee = static_cast<Call *>(c);
                callee->step(callee->cinfo);
            },
            &call);
        return ok ? std::string("ok") : std::string(err.message);
    }
};

TEST(BmpWriter, MoreThan256ColoursIsTheAddOnError)
{
    Guarded g;
    MemoryStream out;
    jpegctl::BmpWriter writer {};
    writer.outputStream = &out;
    static JSAMPLE map[3][257] {};
    JSAMPROW rows[3] = {map[0], map[1], map[2]};
    g.cinfo.out_color_space = JCS_RGB;
    g.cinfo.quantize_colors = TRUE;
    g.cinfo.out_color_components = 3;
    g.cinfo.colormap = rows;
    g.cinfo.actual_number_of_colors = 257;
    static jpegctl::BmpWriter *current;
    current = &writer;
    EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept { jpegctl::writeBmpHeaders(c, current); })),
        "Output file format cannot handle 257 colormap entries");
}

TEST(ErrorManager, LooksUpTheCodecsTableThenTheAddOnsThenSaysBogus)
{
    Guarded g;
    EXPECT_EQ(g.run([](j_decompress_ptr c) noexcept {
        jpegctl::raiseError(jpegctl::common(c), JERR_INPUT_EMPTY);
    }),
        "Empty input file");
    EXPECT_EQ(g.run([](j_decompress_ptr c) noexcept {
        jpegctl::raiseError(jpegctl::common(c), jpegctl::BmpColorSpaceError);
    }),
        "BMP output must be grayscale or RGB");
    EXPECT_EQ(
        g.run([](j_decompress_ptr c) noexcept { jpegctl::raiseError(jpegctl::common(c), 999); }),
        "Bogus message code 999");
    EXPECT_EQ(g.run([](j_decompress_ptr c) noexcept {
        jpegctl::raiseWarning(jpegctl::common(c), JWRN_JPEG_EOF);
    }),
        "Premature end of JPEG file");
    EXPECT_EQ(g.run([](j_decompress_ptr c) noexcept {
        c->err->msg_code = JTRC_EOI;
        (*c->err->emit_message)(jpegctl::common(c), 1);
    }),
        "ok")
        << "trace messages are dropped";
}

TEST(StreamSource, ReadsInChunksAndEndsWithTheCodecsMessages)
{
    static MemoryStream stream;
    Bytes data(10000, 0x55);
    stream.clear();
    stream.write(data.data(), data.size());
    stream.setPosition(0);

    Guarded g;
    jpegctl::attachStreamSource(&g.cinfo, &stream);
    jpeg_source_mgr *first = g.cinfo.src;
    jpegctl::attachStreamSource(&g.cinfo, &stream);
    EXPECT_EQ(g.cinfo.src, first) << "a second attachment reuses the record";
    EXPECT_EQ(g.cinfo.src->bytes_in_buffer, 0u);

    EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept {
        c->src->init_source(c);
        c->src->fill_input_buffer(c);
    })),
        "ok");
    EXPECT_EQ(g.cinfo.src->bytes_in_buffer, 4096u);
    EXPECT_EQ(stream.position(), 4096u);

    // 4096 + 4096 + 1808 bytes in all: a skip of 6000 refills twice and lands inside the last.
    EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept { c->src->skip_input_data(c, 6000); })), "ok");
    EXPECT_EQ(g.cinfo.src->bytes_in_buffer, 8192u - 6000u);
    EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept { c->src->skip_input_data(c, 5000); })),
        "Premature end of JPEG file");

    stream.clear();
    g.run([](j_decompress_ptr c) noexcept { c->src->init_source(c); });
    EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept { c->src->fill_input_buffer(c); })),
        "Empty input file");
}

struct OptionsCase
{
    const char *name;
    JpegOptions options;
    bool quantize;
    int colours;
    J_DCT_METHOD dct;
    J_DITHER_MODE dither;
    bool twoPass;
    bool fancy;
    J_COLOR_SPACE space;
};

JpegOptions opts(TNumOfColors n, TDCTMethod d, TDither t, bool fast = false, bool grey = false,
    bool nosmooth = false, bool onepass = false)
{
    return JpegOptions {n, d, t, fast, grey, nosmooth, onepass};
}

class ApplyOptionsTable : public testing::TestWithParam<OptionsCase>
{
};

TEST_P(ApplyOptionsTable, SetsTheDecompressorParameters)
{
    const OptionsCase &tc = GetParam();
    static Bytes jpeg = makeJpeg(sized(16, 16));
    static MemoryStream source;
    source.clear();
    source.write(jpeg.data(), jpeg.size());
    source.setPosition(0);
    Guarded g;
    jpegctl::attachStreamSource(&g.cinfo, &source);
    ASSERT_EQ((g.run([](j_decompress_ptr c) noexcept { jpeg_read_header(c, TRUE); })), "ok");
    g.err.pub.trace_level = 3;
    const int colours = g.cinfo.desired_number_of_colors;
    jpegctl::ApplyOptions(&g.cinfo, tc.options);
    EXPECT_EQ(g.err.pub.trace_level, 0);
    EXPECT_EQ(bool(g.cinfo.quantize_colors), tc.quantize);
    EXPECT_EQ(g.cinfo.desired_number_of_colors, tc.colours ? tc.colours : colours);
    EXPECT_EQ(g.cinfo.dct_method, tc.dct);
    EXPECT_EQ(g.cinfo.dither_mode, tc.dither);
    EXPECT_EQ(bool(g.cinfo.two_pass_quantize), tc.twoPass);
    EXPECT_EQ(bool(g.cinfo.do_fancy_upsampling), tc.fancy);
    EXPECT_EQ(g.cinfo.out_color_space, tc.space);
}

using N = TNumOfColors;
using D = TDCTMethod;
using T = TDither;

INSTANTIATE_TEST_SUITE_P(Decoder, ApplyOptionsTable,
    testing::Values(OptionsCase {"Defaults", opts(N::_256, D::Integ, T::FS), true, 256, JDCT_ISLOW,
                        JDITHER_FS, true, true, JCS_RGB},
        OptionsCase {"Sixteen", opts(N::_16, D::FastInteg, T::None), true, 16, JDCT_IFAST,
            JDITHER_NONE, true, true, JCS_RGB},
        OptionsCase {"TrueColour", opts(N::TrueColor, D::FloatingPoint, T::Ordered), false, 0,
            JDCT_FLOAT, JDITHER_ORDERED, true, true, JCS_RGB},
        OptionsCase {"FastOverrides", opts(N::_256, D::FloatingPoint, T::FS, true), true, 256,
            JDCT_IFAST, JDITHER_ORDERED, false, false, JCS_RGB},
        OptionsCase {"Grey", opts(N::TrueColor, D::Integ, T::FS, false, true), false, 0, JDCT_ISLOW,
            JDITHER_FS, true, true, JCS_GRAYSCALE},
        OptionsCase {"NoSmooth", opts(N::_16, D::Integ, T::FS, false, false, true), true, 16,
            JDCT_ISLOW, JDITHER_FS, true, false, JCS_RGB},
        OptionsCase {"OnePass", opts(N::_16, D::Integ, T::None, false, false, false, true), true,
            16, JDCT_ISLOW, JDITHER_NONE, false, true, JCS_RGB}),
    [](const testing::TestParamInfo<OptionsCase> &p) { return std::string(p.param.name); });

TEST(SkipComment, DiscardsTheLengthLessTwoBytesOneByOneThroughTheFillRoutine)
{
    // Lengths of 6002 (6000 bytes over two refills of the source), 2, 1 and 0, each comment
    // followed by "X": the next byte read after it must be that "X".
    for (const unsigned length : {6002u, 2u, 1u, 0u}) {
        static MemoryStream stream;
        Bytes data {
            static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xff)};
        data.insert(data.end(), length > 2 ? length - 2 : 0, 'c');
        data.push_back('X');
        stream.clear();
        stream.write(data.data(), data.size());
        stream.setPosition(0);
        Guarded g;
        jpegctl::attachStreamSource(&g.cinfo, &stream);
        // Skipping is done by reading, never by the source's skip routine.
        g.cinfo.src->skip_input_data = [](j_decompress_ptr c, long) noexcept {
            jpegctl::raiseError(jpegctl::common(c), 999);
        };
        static boolean result;
        static int next;
        EXPECT_EQ((g.run([](j_decompress_ptr c) noexcept {
            c->src->init_source(c);
            result = jpegctl::SkipComment(c);
            if (c->src->bytes_in_buffer == 0)
                c->src->fill_input_buffer(c);
            next = *c->src->next_input_byte;
        })),
            "ok")
            << length;
        EXPECT_EQ(result, TRUE);
        EXPECT_EQ(next, 'X') << length;
    }
}

TEST(SkipComment, CommentsOfAnyLengthDecodeAsWithout)
{
    JpegRecipe plain = sized(40, 30);
    JpegRecipe commented = plain;
    commented.comments = {"", "short", std::string(5000, 'c'), std::string(65533, 'x')};
    const Bytes a = makeJpeg(plain);
    const Bytes b = makeJpeg(commented);
    ASSERT_GT(b.size(), a.size() + 70000);
    EXPECT_EQ(decodeBmp(a, JpegOptions {}), decodeBmp(b, JpegOptions {}));
}

} // namespace
