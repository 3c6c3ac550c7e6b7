#pragma once

// The JPEG picture control: an image control that reads a JPEG file into memory, decodes it
// into a Windows bitmap file image and shows that bitmap.
//
// For the main window (JPEGImage1 in Panel2, also the preview box):
//
//     JPEGImage1 = new TJPEGImage(Panel2);
//
// builds the control and reads in the layout's stored settings (left 2, top 2, 85 x 63,
// centred and stretched, 256 colours, integer DCT, Floyd-Steinberg, progress step 10,
// quality 75). The preview then uses only the image control underneath:
//
//     JPEGImage1->loadBitmapFile(path);         // throws EInvalidGraphic, picture unchanged
//     JPEGImage1->picture().width(), .height()  // size of the loaded bitmap
//     JPEGImage1->setGeometry(...) / move / resize, x(), width(), height()
//
// Errors are exceptions derived from std::runtime_error; what() is the text to show. Link
// murelin_jpegctl and include "jpegctl/JpgImg.h".

#include "jpegctl/ImageControl.h"
#include "jpegctl/JpegOptions.h"
#include "jpegctl/MemoryStream.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

/** A handler of the progress event; it is told only who sent it. */
using TNotifyEvent = std::function<void(QObject *sender)>;

/** The stored description of a TJPEGImage in a window; the defaults are JPEGImage1's. */
struct TJPEGImageStored
{
    int Left = 2;
    int Top = 2;
    int Width = 85;
    int Height = 63;
    bool Center = true;
    bool Stretch = true;
    TNumOfColors NumOfColors = TNumOfColors::_256;
    TDCTMethod DCTMethod = TDCTMethod::Integ;
    TDither Dither = TDither::FS;
    bool FastProcessing = false;
    bool GrayScale = false;
    bool NoSmooth = false;
    bool OnePass = false;
    TDelta ProgressStep = 10;
    t_jpeg_quality Quality = 75;
    bool Progressive = false; // written only when true
};

class TCustomJPEGImage : public ImageControl
{
public:
    /**
     * Builds the image control, then an empty SourceData, then sets FileName to empty,
     * NumOfColors _256, DCTMethod Integ, Dither FS and GrayScale, NoSmooth, OnePass false
     * through their setters (each decodes the empty source, which at most clears the picture),
     * then stores ProgressStep 10 and Quality 75.
     */
    explicit TCustomJPEGImage(QWidget *parent = nullptr);
    ~TCustomJPEGImage() override;

    // Decoding properties: every setter stores and then decodes again, also for the value
    // already held. The setters raise what DecodePicture raises.
    TNumOfColors NumOfColors() const { return m_NumOfColors; }
    void setNumOfColors(TNumOfColors value);
    TDCTMethod DCTMethod() const { return m_DCTMethod; }
    void setDCTMethod(TDCTMethod value);
    TDither Dither() const { return m_Dither; }
    void setDither(TDither value);
    bool FastProcessing() const { return m_FastProcessing; }
    void setFastProcessing(bool value) { setBooleanProperty(0, value); }
    bool GrayScale() const { return m_GrayScale; }
    void setGrayScale(bool value) { setBooleanProperty(1, value); }
    bool NoSmooth() const { return m_NoSmooth; }
    void setNoSmooth(bool value) { setBooleanProperty(2, value); }
    bool OnePass() const { return m_OnePass; }
    void setOnePass(bool value) { setBooleanProperty(3, value); }

    /**
     * The progress event fires while rows are decoded, at each percentage of the rows that is a
     * multiple of ProgressStep and differs from the last one reported; never at 0. The setter
     * stores without a check: a step of 0, or above 100, makes the event never fire.
     */
    TDelta ProgressStep() const { return m_ProgressStep; }
    void setProgressStep(TDelta value) { m_ProgressStep = value; }
    const TNotifyEvent &OnProgress() const { return m_OnProgress; }
    void setOnProgress(TNotifyEvent handler) { m_OnProgress = std::move(handler); }

    // Stored with the window; no effect on decoding.
    t_jpeg_quality Quality() const { return m_Quality; }
    void setQuality(t_jpeg_quality value) { m_Quality = value; }
    bool Progressive() const { return m_Progressive; }
    void setProgressive(bool value) { m_Progressive = value; }

    /**
     * Rebuilds the picture from SourceData: an empty SourceData clears it; otherwise the JPEG
     * is decoded with the present properties into a bitmap that replaces the picture. Does
     * nothing while the stored properties are being read in. Throws EJPEGException with the
     * codec's text on any decode failure (a warning included); the picture then keeps what it
     * held and no repaint is asked for.
     */
    void DecodePicture();

    /** The whole content of the file FileName last named; empty when there is none. */
    const jpegctl::MemoryStream &SourceData() const { return m_SourceData; }

    /**
     * Applies a stored description in the reading-in state (geometry, Center, Stretch, then the
     * properties in their published order): nothing is decoded, then or afterwards.
     */
    void readStored(const TJPEGImageStored &stored);

protected:
    const std::string &FileName() const { return m_FileName; }
    /**
     * Stores the name; an empty one empties SourceData, any other replaces SourceData by the
     * named file's content (bytes of the name used as they are); then decodes. Throws
     * jpegctl::EFOpenError "Cannot open file NAME" (SourceData and picture unchanged, no
     * decode), jpegctl::EReadError "Stream read error" (no decode), or what DecodePicture
     * throws. FileName holds the new name in every case.
     */
    void setFileName(const std::string &value);

private:
    void setBooleanProperty(int index, bool value);
    jpegctl::JpegOptions options() const;

    jpegctl::MemoryStream m_SourceData;
    TNumOfColors m_NumOfColors = TNumOfColors::_16;
    TDCTMethod m_DCTMethod = TDCTMethod::Integ;
    TDither m_Dither = TDither::None;
    bool m_FastProcessing = false;
    bool m_GrayScale = false;
    bool m_NoSmooth = false;
    bool m_OnePass = false;
    std::string m_FileName;
    TDelta m_ProgressStep = 0;
    TNotifyEvent m_OnProgress;
    t_jpeg_quality m_Quality = 0;
    bool m_Progressive = false;
};

/** The control as the window uses it: publishes FileName. */
class TJPEGImage : public TCustomJPEGImage
{
public:
    /**
     * The component construction followed by reading in `stored`, as the window's creation
     * does; by default the layout's settings of JPEGImage1. (The plain values at creation,
     * not centred nor stretched, are those of a TCustomJPEGImage.)
     */
    explicit TJPEGImage(QWidget *parent = nullptr, const TJPEGImageStored &stored = {})
        : TCustomJPEGImage(parent)
    {
        readStored(stored);
    }

    using TCustomJPEGImage::FileName;
    using TCustomJPEGImage::setFileName;
};
