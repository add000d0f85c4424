#pragma once
// One JPEG picture decoded at a DCT scale, a band of rows at a time, as
// opaque RGB32 (CMYK converted). Failures raise EJPEG with libjpeg's message
// code; a decode stopped through the cancel flag raises EJPEGStopped. The
// decompressor is released on every path.

#include "platform/toolkit/Jpeg.h"
#include "platform/toolkit/private/JpegSession.h"

#include <QRgb>

#include <memory>

class JpegReader {
public:
    // Reads the header of data (not copied; must outlive the reader).
    JpegReader(const std::vector<unsigned char>& data, const JpegDecodeLimits& limits);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    int ImageWidth() const { return static_cast<int>(FSession->cinfo.image_width); }
    int ImageHeight() const { return static_cast<int>(FSession->cinfo.image_height); }
    // The EXIF Orientation, 1 to 8 (ExifOrientation.h); 1 without a valid one.
    int Orientation() const;

    // Picks the smallest eighth (1/8 .. 8/8) whose output is at least
    // minWidth x minHeight, full size when none is.
    void Scale(qint64 minWidth, qint64 minHeight);
    // Picks the scale to resample from into width x height pixels: the
    // smallest of an eighth, a half and the whole whose output is at least
    // kResampleHeadroom times as large (the whole when none is), so that the
    // resampler, not the DCT scaling, sets the sharpness.
    static constexpr qint64 kResampleHeadroom = 2;
    void ScaleForResampling(qint64 width, qint64 height);
    // Starts decoding. The caller holds reservedBytes of its own for this
    // decode; libjpeg may take what the limits leave of their maxMemory (and
    // never more than its default bound), and when nothing is left decoding
    // fails before anything is allocated. A picture claiming more pixels
    // than any photograph has fails here too, and a stream of more scans
    // than any encoder writes fails as it is read.
    void Start(qint64 reservedBytes);
    int OutputWidth() const { return static_cast<int>(FSession->cinfo.output_width); }
    int OutputHeight() const { return static_cast<int>(FSession->cinfo.output_height); }
    // Decodes up to count (at most kMaxRows) further rows into rows[0..],
    // each OutputWidth() pixels; returns how many came, 0 once every row has.
    static constexpr int kMaxRows = 16;
    int ReadRows(QRgb* const* rows, int count);
    // Reads to the end of the data, where a decoding error may still lie.
    void Finish();

private:
    [[noreturn]] void Fail() const;
    // Sets the output's colour space and options once the scale is chosen.
    void SetOutput();

    // Releases the decompressor also when the constructor raises.
    struct SessionDeleter {
        void operator()(JpegSession* session) const;
    };
    std::unique_ptr<JpegSession, SessionDeleter> FSession;
    long FMaxMemory = 0;
    bool FCmyk = false;
    bool FInverted = false;
};
