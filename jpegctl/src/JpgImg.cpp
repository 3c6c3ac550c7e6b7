#include "jpegctl/JpgImg.h"

#include "jpegctl/JpegDecoder.h"

TCustomJPEGImage::TCustomJPEGImage(QWidget *parent)
    : ImageControl(parent)
{
    setFileName(std::string());
    setNumOfColors(TNumOfColors::_256);
    setDCTMethod(TDCTMethod::Integ);
    setDither(TDither::FS);
    setBooleanProperty(1, false);
    setBooleanProperty(2, false);
    setBooleanProperty(3, false);
    m_ProgressStep = 10;
    m_Quality = 75;
}

TCustomJPEGImage::~TCustomJPEGImage() = default;

void TCustomJPEGImage::setNumOfColors(TNumOfColors value)
{
    m_NumOfColors = value;
    DecodePicture();
}

void TCustomJPEGImage::setDCTMethod(TDCTMethod value)
{
    m_DCTMethod = value;
    DecodePicture();
}

void TCustomJPEGImage::setDither(TDither value)
{
    m_Dither = value;
    DecodePicture();
}

void TCustomJPEGImage::setBooleanProperty(int index, bool value)
{
    switch (index) {
    case 0:
        m_FastProcessing = value;
        break;
    case 1:
        m_GrayScale = value;
        break;
    case 2:
        m_NoSmooth = value;
        break;
    case 3:
        m_OnePass = value;
        break;
    default:
        break;
    }
    DecodePicture();
}

void TCustomJPEGImage::setFileName(const std::string &value)
{
    m_FileName = value;
    if (value.empty()) {
        m_SourceData.clear();
    } else {
        // Read into a fresh stream so that a file that cannot be opened leaves SourceData
        // as it was.
        jpegctl::MemoryStream loaded;
        try {
            loaded.loadFromFile(value);
        } catch (const jpegctl::EReadError &) {
            m_SourceData.clear();
            throw;
        }
        m_SourceData.swap(loaded);
    }
    DecodePicture();
}

jpegctl::JpegOptions TCustomJPEGImage::options() const
{
    jpegctl::JpegOptions o;
    o.NumOfColors = m_NumOfColors;
    o.DCTMethod = m_DCTMethod;
    o.Dither = m_Dither;
    o.FastProcessing = m_FastProcessing;
    o.GrayScale = m_GrayScale;
    o.NoSmooth = m_NoSmooth;
    o.OnePass = m_OnePass;
    return o;
}

void TCustomJPEGImage::DecodePicture()
{
    if (isReadingStored())
        return;
    m_SourceData.setPosition(0);
    if (m_SourceData.size() == 0) {
        m_picture = QImage();
        invalidate();
        return;
    }

    jpegctl::MemoryStream bmp; // this run's bitmap image, released however the run ends
    jpegctl::decodeJpegToBmp(m_SourceData, options(), bmp, m_ProgressStep, [this] {
        if (m_OnProgress)
            m_OnProgress(this);
    });

    bmp.setPosition(0);
    QImage bitmap = readBitmap(QByteArray::fromRawData(
        reinterpret_cast<const char *>(bmp.data()), static_cast<qsizetype>(bmp.size())));
    if (bitmap.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    // The palette step: the bitmap's palette is the colour table it was read with; reading it
    // and assigning it back gives the bitmap a table of its own.
    const QList<QRgb> palette = bitmap.colorTable();
    bitmap.setColorTable(palette);
    m_picture = std::move(bitmap);
    invalidate();
}

void TCustomJPEGImage::readStored(const TJPEGImageStored &stored)
{
    beginReadingStored();
    setGeometry(stored.Left, stored.Top, stored.Width, stored.Height);
    setCenter(stored.Center);
    setStretch(stored.Stretch);
    setNumOfColors(stored.NumOfColors);
    setDCTMethod(stored.DCTMethod);
    setDither(stored.Dither);
    setFastProcessing(stored.FastProcessing);
    setGrayScale(stored.GrayScale);
    setNoSmooth(stored.NoSmooth);
    setOnePass(stored.OnePass);
    setProgressStep(stored.ProgressStep);
    setQuality(stored.Quality);
    if (stored.Progressive)
        setProgressive(true);
    endReadingStored();
}
