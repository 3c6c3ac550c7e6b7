// The picture control: construction, setters and when they decode, FileName, failures that
// leave the picture alone, progress, the stored-properties read-in and the painting rule.
#include "jpegctl/JpegDecoder.h"
#include "jpegctl/JpgImg.h"
#include "tests/support/jpeg_test_files.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

using namespace testsupport;

Q_DECLARE_METATYPE(testsupport::Bytes)

namespace {

// What the control must show for `jpeg` under `options`: the decoder's bitmap, read back.
QImage expectedPicture(const Bytes &jpeg, const jpegctl::JpegOptions &options)
{
    jpegctl::MemoryStream source;
    source.write(jpeg.data(), jpeg.size());
    jpegctl::MemoryStream bmp;
    jpegctl::decodeJpegToBmp(source, options, bmp);
    return ImageControl::readBitmap(
        QByteArray(reinterpret_cast<const char *>(bmp.data()), static_cast<qsizetype>(bmp.size())));
}

} // namespace

class TestJpgImg : public QObject
{
    Q_OBJECT

    TempDir m_dir;
    std::string m_colour; // a 40 x 30 colour JPEG
    std::string m_fifty; // 8 x 50

    std::string file(const std::string &name, const Bytes &bytes)
    {
        writeFile(m_dir.file(name), bytes);
        return m_dir.file(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_colour = file("colour.jpg", makeJpeg(sized(40, 30)));
        m_fifty = file("fifty.jpg", makeJpeg(sized(8, 50)));
    }

    void constructionGivesTheValuesAtCreation()
    {
        TCustomJPEGImage image(nullptr);
        QCOMPARE(image.NumOfColors(), TNumOfColors::_256);
        QCOMPARE(image.DCTMethod(), TDCTMethod::Integ);
        QCOMPARE(image.Dither(), TDither::FS);
        QVERIFY(
            !image.FastProcessing() && !image.GrayScale() && !image.NoSmooth() && !image.OnePass());
        QCOMPARE(image.ProgressStep(), TDelta(10));
        QCOMPARE(image.Quality(), t_jpeg_quality(75));
        QVERIFY(!image.Progressive());
        QVERIFY(!image.OnProgress());
        QCOMPARE(image.SourceData().size(), std::size_t(0));
        QVERIFY(image.picture().isNull());
        QVERIFY(!image.center() && !image.stretch());
        QVERIFY(TJPEGImage().FileName().empty());
    }

    void storedDescriptionIsTheLayouts()
    {
        QWidget panel;
        TJPEGImage image(&panel);
        QCOMPARE(image.geometry(), QRect(2, 2, 85, 63));
        QVERIFY(image.center() && image.stretch());
        QCOMPARE(image.NumOfColors(), TNumOfColors::_256);
        QCOMPARE(image.ProgressStep(), TDelta(10));
        QCOMPARE(image.Quality(), t_jpeg_quality(75));
        QVERIFY(!image.isReadingStored());
        QCOMPARE(image.parentWidget(), &panel);
    }

    void readingStoredDecodesNothingThenOrAfter()
    {
        TJPEGImage image;
        image.setFileName(m_colour);
        const QImage before = image.picture();
        int events = 0;
        image.setOnProgress([&](QObject *) { ++events; });
        TJPEGImageStored stored;
        stored.NumOfColors = TNumOfColors::_16;
        stored.GrayScale = true;
        image.readStored(stored);
        QCOMPARE(events, 0);
        QCOMPARE(image.NumOfColors(), TNumOfColors::_16);
        QCOMPARE(image.picture(), before);
        image.setDither(TDither::FS);
        QCOMPARE(image.picture(),
            expectedPicture(readBytes(m_colour),
                {TNumOfColors::_16, TDCTMethod::Integ, TDither::FS, false, true, false, false}));
    }

    void fileNameDecodesWithTheProperties_data()
    {
        QTest::addColumn<int>("colours");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<int>("format");
        QTest::addRow("256 colours")
            << int(TNumOfColors::_256) << false << int(QImage::Format_Indexed8);
        QTest::addRow("true colour")
            << int(TNumOfColors::TrueColor) << false << int(QImage::Format_RGB32);
        QTest::addRow("grey ramp")
            << int(TNumOfColors::TrueColor) << true << int(QImage::Format_Indexed8);
    }

    void fileNameDecodesWithTheProperties()
    {
        QFETCH(int, colours);
        QFETCH(bool, grey);
        QFETCH(int, format);
        TJPEGImage image;
        image.setNumOfColors(static_cast<TNumOfColors>(colours));
        image.setGrayScale(grey);
        QSignalSpy repaints(&image, &ImageControl::repaintRequested);
        image.setFileName(m_colour);
        QCOMPARE(repaints.count(), 1);
        QCOMPARE(image.picture().size(), QSize(40, 30));
        QCOMPARE(int(image.picture().format()), format);
        jpegctl::JpegOptions options;
        options.NumOfColors = static_cast<TNumOfColors>(colours);
        options.GrayScale = grey;
        QCOMPARE(image.picture(), expectedPicture(readBytes(m_colour), options));
        if (grey) {
            QCOMPARE(image.picture().colorCount(), 256);
            for (int i = 0; i < 256; ++i)
                QCOMPARE(image.picture().color(i), qRgb(i, i, i));
        }
    }

    void emptyNameOrEmptyFileClearsThePicture()
    {
        TJPEGImage image;
        for (const std::string &name : {std::string(), file("empty.jpg", {})}) {
            image.setFileName(m_colour);
            QVERIFY(!image.picture().isNull());
            QSignalSpy repaints(&image, &ImageControl::repaintRequested);
            image.setFileName(name);
            QVERIFY(image.picture().isNull());
            QCOMPARE(repaints.count(), 1);
            QCOMPARE(image.SourceData().size(), std::size_t(0));
        }
    }

    void fileThatCannotBeOpenedChangesNothingButTheName()
    {
        TJPEGImage image;
        image.setFileName(m_colour);
        const QImage before = image.picture();
        const std::size_t size = image.SourceData().size();
        const std::string missing = m_dir.file("missing\xe9.jpg");
        QSignalSpy repaints(&image, &ImageControl::repaintRequested);
        try {
            image.setFileName(missing);
            QFAIL("no error");
        } catch (const jpegctl::EFOpenError &e) {
            QCOMPARE(std::string(e.what()), "Cannot open file " + missing);
        }
        QCOMPARE(image.FileName(), missing);
        QCOMPARE(image.SourceData().size(), size);
        QCOMPARE(image.picture(), before);
        QCOMPARE(repaints.count(), 0);
        // A file larger than a stream holds (sparse: nothing is read) is a read error.
        const std::string huge = m_dir.file("huge.jpg");
        writeFile(huge, Bytes {1});
        std::filesystem::resize_file(huge, jpegctl::MemoryStream::MaxLoadSize + 1);
        QVERIFY_THROWS_EXCEPTION(jpegctl::EReadError, image.setFileName(huge));
        QCOMPARE(image.SourceData().size(), std::size_t {0});
        QCOMPARE(image.picture(), before);
    }

    void brokenFilesKeepThePreviousPicture_data()
    {
        QTest::addColumn<Bytes>("input");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<QString>("message");
        const Bytes good = makeJpeg(sized(40, 30));
        Bytes bad = good;
        for (std::size_t i = scanDataOffset(bad) + 4; i < scanDataOffset(bad) + 40; i += 2) {
            bad[i] = 0xFF;
            bad[i + 1] = 0;
        }
        QTest::addRow("bitmap") << Bytes {'B', 'M', 1, 2} << false
                                << QStringLiteral("Not a JPEG file: starts with 0x42 0x4d");
        QTest::addRow("truncated") << Bytes(good.begin(), good.end() - 100) << false
                                   << QStringLiteral("Premature end of JPEG file");
        QTest::addRow("corrupt") << bad << false
                                 << QStringLiteral("Corrupt JPEG data: bad Huffman code");
        QTest::addRow("cmyk") << makeJpeg(sized(8, 8, Kind::Cmyk)) << false
                              << QStringLiteral("BMP output must be grayscale or RGB");
        QTest::addRow("cmyk grey") << makeJpeg(sized(8, 8, Kind::Cmyk)) << true
                                   << QStringLiteral("Unsupported color conversion request");
    }

    void brokenFilesKeepThePreviousPicture()
    {
        QFETCH(Bytes, input);
        QFETCH(bool, grey);
        QFETCH(QString, message);
        TJPEGImage image;
        image.setFileName(m_colour);
        image.setGrayScale(grey);
        const QImage before = image.picture();
        QSignalSpy repaints(&image, &ImageControl::repaintRequested);
        const std::string name = file("broken.jpg", input);
        try {
            image.setFileName(name);
            QFAIL("no error");
        } catch (const EJPEGException &e) {
            QCOMPARE(QString::fromLatin1(e.what()), message);
        }
        QCOMPARE(image.picture(), before);
        QCOMPARE(repaints.count(), 0);
        QCOMPARE(image.FileName(), name);
        QCOMPARE(image.SourceData().size(), input.size());
    }

    void everyDecodingSetterDecodesAgainOthersOnlyStore()
    {
        TJPEGImage image;
        image.setFileName(m_colour);
        image.setProgressStep(100);
        int events = 0;
        QObject *sender = nullptr;
        image.setOnProgress([&](QObject *s) {
            ++events;
            sender = s;
        });
        image.setDither(image.Dither());
        QCOMPARE(events, 1);
        QCOMPARE(sender, &image);
        image.setDither(image.Dither());
        image.setNumOfColors(image.NumOfColors());
        image.setDCTMethod(image.DCTMethod());
        image.setFastProcessing(false);
        image.setGrayScale(false);
        image.setNoSmooth(false);
        image.setOnePass(false);
        QCOMPARE(events, 8);
        QSignalSpy repaints(&image, &ImageControl::repaintRequested);
        image.setQuality(10);
        image.setProgressive(true);
        image.setProgressStep(50);
        QCOMPARE(events, 8);
        QCOMPARE(repaints.count(), 0);
    }

    void progressStepCounts_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("expected");
        QTest::addRow("100") << 100 << 1;
        QTest::addRow("1 on 50 rows") << 1 << 50;
        QTest::addRow("10") << 10 << 10;
        QTest::addRow("0 never") << 0 << 0;
        QTest::addRow("200 never") << 200 << 0;
    }

    void progressStepCounts()
    {
        QFETCH(int, step);
        QFETCH(int, expected);
        TJPEGImage image;
        image.setProgressStep(static_cast<TDelta>(step));
        int events = 0;
        QImage seenDuringProgress;
        image.setOnProgress([&](QObject *) {
            ++events;
            seenDuringProgress = image.picture();
        });
        image.setFileName(m_fifty);
        QCOMPARE(events, expected);
        QVERIFY(seenDuringProgress.isNull()); // fires before the picture changes
    }

    void fastProcessingOverridesDctAndDither()
    {
        TJPEGImage image;
        image.setDCTMethod(TDCTMethod::FloatingPoint);
        image.setFileName(m_colour);
        const QImage floatFs = image.picture();
        image.setFastProcessing(true);
        const QImage fast = image.picture();
        QVERIFY(fast != floatFs);
        QCOMPARE(fast,
            expectedPicture(readBytes(m_colour),
                {TNumOfColors::_256, TDCTMethod::FastInteg, TDither::Ordered, false, false, true,
                    true}));
    }

    void bitmapLoadedStraightStaysUntilTheNextDecode()
    {
        TJPEGImage image;
        QImage bmp(7, 5, QImage::Format_RGB32);
        bmp.fill(Qt::red);
        QVERIFY(bmp.save(QString::fromStdString(m_dir.file("p.bmp")), "BMP"));
        image.loadBitmapFile(m_dir.file("p.bmp"));
        QCOMPARE(image.picture().size(), QSize(7, 5));
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, image.loadBitmapFile(m_colour));
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, image.loadBitmapFile(m_dir.file("none.bmp")));
        QCOMPARE(image.picture().size(), QSize(7, 5));
        image.setNumOfColors(TNumOfColors::_16); // SourceData is empty
        QVERIFY(image.picture().isNull());
    }

    void graphicPlacement_data()
    {
        QTest::addColumn<bool>("center");
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QSize>("graphic");
        QTest::addColumn<QRect>("expected");
        QTest::addRow("stretch wins") << true << true << QSize(4, 2) << QRect(0, 0, 10, 9);
        QTest::addRow("centred") << true << false << QSize(4, 2) << QRect(3, 3, 4, 2);
        QTest::addRow("centred, larger") << true << false << QSize(13, 12) << QRect(-1, -1, 13, 12);
        QTest::addRow("top left") << false << false << QSize(4, 2) << QRect(0, 0, 4, 2);
    }

    void graphicPlacement()
    {
        QFETCH(bool, center);
        QFETCH(bool, stretch);
        QFETCH(QSize, graphic);
        QFETCH(QRect, expected);
        QCOMPARE(ImageControl::graphicRect(QSize(10, 9), graphic, center, stretch), expected);

        ImageControl control;
        control.resize(10, 9);
        control.setCenter(center);
        control.setStretch(stretch);
        QImage picture(graphic, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        control.setPicture(picture);
        QImage canvas(10, 9, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        control.render(&canvas);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 10; ++x)
                QCOMPARE(canvas.pixel(x, y) == qRgb(0, 0, 255), expected.contains(x, y));
    }
};

QTEST_MAIN(TestJpgImg)
#include "tst_jpgimg.moc"
