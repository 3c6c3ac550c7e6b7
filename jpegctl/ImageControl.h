#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <stdexcept>
#include <string>

/** A bitmap that cannot be read; the message is "Bitmap image is not valid". */
class EInvalidGraphic : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * The image control: a graphic control owning a picture that holds at most one graphic
 * (a bitmap), painted stretched, centred or at the top left corner.
 */
class ImageControl : public QWidget
{
    Q_OBJECT
public:
    explicit ImageControl(QWidget *parent = nullptr);

    /** The graphic the picture holds; a null image when it holds none. */
    const QImage &picture() const { return m_picture; }

    /** Puts `graphic` into the picture (a null image empties it) and asks for a repaint. */
    void setPicture(const QImage &graphic);

    /**
     * Loads the picture from the Windows bitmap file at `path` (bytes, not decoded). Throws
     * EInvalidGraphic when the file cannot be read or is not a bitmap; the picture then keeps
     * what it held.
     */
    void loadBitmapFile(const std::string &path);

    /**
     * Draw the graphic scaled to the whole client area (its proportions are not kept).
     * Stretch wins over Center.
     */
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    /** Draw the graphic at its natural size in the middle of the control. */
    bool center() const { return m_center; }
    void setCenter(bool center);

    /**
     * Where a graphic of `graphic` size is drawn in a control of `control` size: the whole
     * control when stretched; centred at ((control - graphic) / 2), truncated toward zero, so
     * a graphic larger than the control overhangs both sides; otherwise at (0, 0).
     */
    static QRect graphicRect(QSize control, QSize graphic, bool center, bool stretch);

    /**
     * The reading-in state: set while the window applies the control's stored properties at
     * its creation. Property setters that would decode do nothing meanwhile.
     */
    bool isReadingStored() const { return m_readingStored; }
    void beginReadingStored() { m_readingStored = true; }
    void endReadingStored() { m_readingStored = false; }

    /**
     * Reads a Windows bitmap file image into an image: 8-bit bitmaps keep their colour table
     * as the image's. A null image when the bytes are not a bitmap the toolkit can read.
     */
    static QImage readBitmap(const QByteArray &bytes);

Q_SIGNALS:
    /** Emitted every time the control asks to be repainted. */
    void repaintRequested();

protected:
    /** Asks for the control to be repainted. */
    void invalidate();
    void paintEvent(QPaintEvent *event) override;

    QImage m_picture;

private:
    bool m_center = false;
    bool m_stretch = false;
    bool m_readingStored = false;
};
