#include "jpegctl/ImageControl.h"

#include "jpegctl/MemoryStream.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

ImageControl::ImageControl(QWidget *parent)
    : QWidget(parent)
{
}

void ImageControl::setPicture(const QImage &graphic)
{
    m_picture = graphic;
    invalidate();
}

QImage ImageControl::readBitmap(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    // The toolkit refuses images above a fixed size by default; a decoded photograph of
    // 8000 x 6000 is a picture like any other here. The limit is process-wide, so it is
    // lifted only for this one read.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    QImage image = reader.read();
    QImageReader::setAllocationLimit(limit);
    return image;
}

void ImageControl::loadBitmapFile(const std::string &path)
{
    jpegctl::MemoryStream file;
    try {
        file.loadFromFile(path);
    } catch (const std::runtime_error &) {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    const QImage image = readBitmap(QByteArray::fromRawData(
        reinterpret_cast<const char *>(file.data()), static_cast<qsizetype>(file.size())));
    if (image.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    // The raw data is gone with `file`; the image read from it holds its own copy.
    setPicture(image);
}

void ImageControl::setStretch(bool stretch)
{
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    invalidate();
}

void ImageControl::setCenter(bool center)
{
    if (m_center == center)
        return;
    m_center = center;
    invalidate();
}

QRect ImageControl::graphicRect(QSize control, QSize graphic, bool center, bool stretch)
{
    if (stretch)
        return QRect(QPoint(0, 0), control);
    if (center) {
        // C++ division truncates toward zero, as the placement rule wants.
        return QRect(QPoint((control.width() - graphic.width()) / 2,
                         (control.height() - graphic.height()) / 2),
            graphic);
    }
    return QRect(QPoint(0, 0), graphic);
}

void ImageControl::invalidate()
{
    update();
    Q_EMIT repaintRequested();
}

void ImageControl::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(graphicRect(size(), m_picture.size(), m_center, m_stretch), m_picture);
}
