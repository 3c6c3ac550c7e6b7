// Every broken input ends the decode with the codec's text; the progress rule; the stream.
#include "jpegctl/JpegDecoder.h"
#include "tests/support/jpeg_test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;
using jpegctl::JpegOptions;
using jpegctl::MemoryStream;

namespace {

std::string decodeError(const Bytes &jpeg, const JpegOptions &options = {})
{
    MemoryStream source;
    source.write(jpeg.data(), jpeg.size());
    MemoryStream bmp;
    try {
        jpegctl::decodeJpegToBmp(source, options, bmp);
    } catch (const EJPEGException &e) {
        return e.what();
    }
    return "no error";
}

JpegRecipe of(Kind kind)
{
    JpegRecipe s;
    s.kind = kind;
    return s;
}

Bytes truncated(Bytes b, std::size_t keep)
{
    b.resize(keep);
    return b;
}

Bytes badHuffmanCodes(Bytes b)
{
    const std::size_t at = scanDataOffset(b) + 10;
    for (std::size_t i = at; i < at + 40; i += 2) { // all-ones codes exist in no table
        b[i] = 0xFF;
        b[i + 1] = 0x00;
    }
    return b;
}

Bytes junkBeforeMarker(Bytes b)
{
    b.insert(b.begin() + 2, {0x01, 0x02, 0x03}); // between SOI and the next marker
    return b;
}

struct FailureCase
{
    const char *name;
    Bytes input;
    bool grey;
    const char *message;
};

void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}

class DecoderFailure : public testing::TestWithParam<FailureCase>
{
};

TEST_P(DecoderFailure, EndsWithTheCodecsText)
{
    JpegOptions options;
    options.GrayScale = GetParam().grey;
    testing::internal::CaptureStderr();
    EXPECT_EQ(decodeError(GetParam().input, options), GetParam().message);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "")
        << "the codec's messages are never printed";
}

const Bytes colour = makeJpeg(JpegRecipe {});
const Bytes progressive = makeJpeg([] {
    JpegRecipe s;
    s.progressive = true;
    return s;
}());

INSTANTIATE_TEST_SUITE_P(Inputs, DecoderFailure,
    testing::Values(FailureCase {"Empty", {}, false, "Empty input file"},
        FailureCase {
            "NotAJpeg", {'B', 'M', 0x36, 0, 0, 0}, false, "Not a JPEG file: starts with 0x42 0x4d"},
        FailureCase {
            "NoImage", {0xFF, 0xD8, 0xFF, 0xD9}, false, "JPEG datastream contains no image"},
        FailureCase {"CutInHeaders", truncated(colour, 100), false, "Premature end of JPEG file"},
        FailureCase {
            "CutInScan", truncated(colour, colour.size() / 2), false, "Premature end of JPEG file"},
        FailureCase {"CutProgressive", truncated(progressive, progressive.size() - 40), false,
            "Premature end of JPEG file"},
        FailureCase {"BadHuffmanCode", badHuffmanCodes(colour), false,
            "Corrupt JPEG data: bad Huffman code"},
        FailureCase {"ExtraneousBytes", junkBeforeMarker(colour), false,
            "Corrupt JPEG data: 3 extraneous bytes before marker 0xe0"},
        FailureCase {
            "Cmyk", makeJpeg(of(Kind::Cmyk)), false, "BMP output must be grayscale or RGB"},
        FailureCase {
            "Ycck", makeJpeg(of(Kind::Ycck)), false, "BMP output must be grayscale or RGB"},
        FailureCase {
            "CmykToGrey", makeJpeg(of(Kind::Cmyk)), true, "Unsupported color conversion request"}),
    [](const testing::TestParamInfo<FailureCase> &p) { return std::string(p.param.name); });

TEST(DecoderProgress, ExceptionFromTheHandlerPassesThroughAndFreesTheRun)
{
    MemoryStream source;
    source.write(colour.data(), colour.size());
    MemoryStream bmp;
    int calls = 0;
    EXPECT_THROW(jpegctl::decodeJpegToBmp(source, {}, bmp, 10,
                     [&] {
                         if (++calls == 2)
                             throw std::runtime_error("stop");
                     }),
        std::runtime_error);
    EXPECT_EQ(calls, 2);
    // The same source decodes again from its start.
    EXPECT_NO_THROW(jpegctl::decodeJpegToBmp(source, {}, bmp));
}

struct ProgressCase
{
    TDelta step;
    int rows;
    std::vector<unsigned> fired;
};

void PrintTo(const ProgressCase &c, std::ostream *os)
{
    *os << "step " << int(c.step) << ", " << c.rows << " rows";
}

class DecoderProgressRule : public testing::TestWithParam<ProgressCase>
{
};

TEST_P(DecoderProgressRule, FiresAtChangedMultiplesOfTheStep)
{
    const ProgressCase &c = GetParam();
    JpegRecipe recipe;
    recipe.width = 8;
    recipe.height = c.rows;
    const Bytes jpeg = makeJpeg(recipe);
    MemoryStream source;
    source.write(jpeg.data(), jpeg.size());
    MemoryStream bmp;
    std::vector<unsigned> fired;
    unsigned last = 0;
    for (int row = 1; row <= c.rows; ++row) {
        const auto percent = static_cast<unsigned>(row * 100 / c.rows);
        if (jpegctl::progressDue(percent, last, c.step))
            fired.push_back(last = percent);
    }
    EXPECT_EQ(fired, c.fired);
    int events = 0;
    jpegctl::decodeJpegToBmp(source, {}, bmp, c.step, [&] { ++events; });
    EXPECT_EQ(events, static_cast<int>(c.fired.size()));
}

std::vector<unsigned> upTo100(unsigned step)
{
    std::vector<unsigned> v;
    for (unsigned p = step; p <= 100; p += step)
        v.push_back(p);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Steps, DecoderProgressRule,
    testing::Values(ProgressCase {10, 1000, upTo100(10)}, ProgressCase {10, 3, {100}},
        ProgressCase {100, 77, {100}}, ProgressCase {1, 50, upTo100(2)},
        ProgressCase {1, 200, upTo100(1)}, ProgressCase {0, 50, {}}, ProgressCase {101, 50, {}},
        ProgressCase {255, 50, {}}));

TEST(MemoryStream, LoadFromFileReportsTheRuntimeErrors)
{
    MemoryStream s;
    const Bytes before {1, 2, 3};
    s.write(before.data(), before.size());
    try {
        s.loadFromFile("/nonexistent/\xff\xfe.jpg");
        FAIL() << "no error";
    } catch (const jpegctl::EFOpenError &e) {
        EXPECT_STREQ(e.what(), "Cannot open file /nonexistent/\xff\xfe.jpg");
    }
    EXPECT_EQ(Bytes(s.data(), s.data() + s.size()), before);

    TempDir dir;
    // A file that claims more than it yields (as kernel attribute files do), and one larger
    // than a stream holds (sparse: nothing is read).
    writeFile(dir.file("short"), colour);
    std::FILE *shortFile = std::fopen(dir.file("short").c_str(), "rb");
    ASSERT_NE(shortFile, nullptr);
    EXPECT_THROW(s.loadFromOpenFile(shortFile, colour.size() + 1), jpegctl::EReadError);
    std::fclose(shortFile);
    writeFile(dir.file("huge"), before);
    std::filesystem::resize_file(dir.file("huge"), MemoryStream::MaxLoadSize + 1);
    const Bytes held(s.data(), s.data() + s.size());
    EXPECT_THROW(s.loadFromFile(dir.file("huge")), jpegctl::EReadError);
    EXPECT_EQ(Bytes(s.data(), s.data() + s.size()), held) << "nothing was read";

    writeFile(dir.file("x"), colour);
    s.loadFromFile(dir.file("x"));
    EXPECT_EQ(Bytes(s.data(), s.data() + s.size()), colour);
    EXPECT_EQ(s.position(), 0u);

    // Neither waited on nor read without end: a FIFO, a link to /dev/zero, a folder.
    ::alarm(20);
    ASSERT_EQ(::mkfifo(dir.file("fifo.jpg").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("zero.jpg").c_str()), 0);
    for (const char *name : {"fifo.jpg", "zero.jpg", ""})
        EXPECT_THROW(s.loadFromFile(dir.file(name)), jpegctl::EFOpenError) << name;
    ::alarm(0);
    EXPECT_EQ(Bytes(s.data(), s.data() + s.size()), colour);
}

TEST(MemoryStream, ReadsWritesAndGrowsAtThePosition)
{
    MemoryStream s;
    s.setPosition(3);
    EXPECT_EQ(s.write("ab", 2), 2u);
    EXPECT_EQ(s.size(), 5u);
    EXPECT_EQ(Bytes(s.data(), s.data() + 5), (Bytes {0, 0, 0, 'a', 'b'}));
    char buf[8];
    s.setPosition(4);
    EXPECT_EQ(s.read(buf, 8), 1u);
    EXPECT_EQ(s.read(buf, 8), 0u);
    EXPECT_TRUE(s.setSize(2));
    EXPECT_EQ(s.size(), 2u);
    s.setPosition(0);
    EXPECT_EQ(s.read(buf, 8), 2u);
}

// Streams of a decoded photograph's size live in blocks of their own (huge pages where the
// system has them): every byte of such a block is usable, and its content survives growth
// from a small block into a large one and a swap.
TEST(MemoryStream, LargeBlocksKeepEveryByteAcrossGrowthAndSwap)
{
    MemoryStream small;
    const Bytes head {1, 2, 3, 4, 5};
    small.write(head.data(), head.size());
    for (const std::size_t size :
        {std::size_t {8} << 20, (std::size_t {8} << 20) + 1, std::size_t {72000054}}) {
        MemoryStream s;
        s.write(head.data(), head.size());
        ASSERT_TRUE(s.setSize(size));
        std::uint8_t *bytes = const_cast<std::uint8_t *>(s.data());
        for (std::size_t at = 4096; at < size; at += 4096)
            bytes[at] = static_cast<std::uint8_t>(at >> 12);
        bytes[size - 1] = 0xEE;
        EXPECT_EQ(Bytes(s.data(), s.data() + head.size()), head) << size;
        s.swap(small);
        EXPECT_EQ(small.size(), size);
        EXPECT_EQ(small.data()[size - 1], 0xEE);
        EXPECT_EQ(small.data()[4096], 1);
        s.swap(small);
    }
}

TEST(MemoryStream, ReleasingWhatWasReadKeepsTheRestSizeAndPosition)
{
    for (const std::size_t size : {std::size_t {1000}, std::size_t {9} << 20}) {
        MemoryStream s;
        ASSERT_TRUE(s.setSize(size));
        std::uint8_t *bytes = s.data();
        for (std::size_t at = 0; at < size; ++at)
            bytes[at] = static_cast<std::uint8_t>(at * 7);
        const std::size_t read = size / 2 + 123;
        s.setPosition(read);
        s.releaseBefore(read);
        EXPECT_EQ(s.size(), size);
        EXPECT_EQ(s.position(), read);
        std::size_t wrong = 0;
        for (std::size_t at = read; at < size; ++at)
            wrong += s.data()[at] != static_cast<std::uint8_t>(at * 7);
        EXPECT_EQ(wrong, 0u) << size;
        s.releaseBefore(size + 5); // past the end: the whole stream, nothing beyond
        EXPECT_EQ(s.size(), size);
    }
}

} // namespace
