#pragma once
// A JPEG picture: holds the file's bytes and its size; decodes when drawn.

#include "platform/toolkit/Graphics.h"

#include <atomic>
#include <vector>

// A failure inside the JPEG decoder: "JPEG error #N", N being the decoder's
// message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code);
    int Code() const { return FCode; }

private:
    int FCode;
};

// A decode stopped through its cancel flag: nobody waits for it any more.
class EJPEGStopped : public Exception {
public:
    EJPEGStopped();
};

// What a decode may take: it stops, raising EJPEGStopped, soon after *cancel
// turns true; it holds at most maxMemory bytes in all, its result, its band
// of rows and libjpeg's buffers (libjpeg never more than 768 MiB), and fails
// with EJPEG where it would need more; 0 bounds libjpeg alone.
struct JpegDecodeLimits {
    const std::atomic<bool>* cancel = nullptr;
    long maxMemory = 0;
};

// What loading a file may take: it stops, raising EJPEGStopped, soon after
// *cancel turns true; of a file larger than maxBytes (0: no bound) it reads
// only the beginning, enough for the picture's size, and the picture is not
// Whole().
struct JpegLoadLimits {
    const std::atomic<bool>* cancel = nullptr;
    long long maxBytes = 0;
};

class TJPEGImage : public TGraphic {
public:
    TJPEGImage() = default;

    // Reads the whole file (a namespace path such as "C:\photos\a.jpg", or an
    // absolute POSIX path) and, unless it is empty, its header. Raises
    // Exception when the file cannot be opened or read, or is no regular file
    // (a FIFO, device or socket, or a link to one: such a file is never opened
    // in a way that could block), EJPEG when its data do not begin with a
    // valid JPEG header. An empty file loads as a 0 x 0 picture. On failure
    // the picture keeps what it held.
    void LoadFromFile(const AnsiString& fileName);
    // The same within limits, reading the file in pieces.
    void LoadFromFile(const AnsiString& fileName, const JpegLoadLimits& limits);
    // The same from bytes in memory.
    void LoadFromBytes(std::vector<unsigned char> data);

    // Size in pixels as the picture is seen: turned as its EXIF Orientation
    // says (a picture stored 4000 x 3000 and turned a quarter is 3000 x
    // 4000); 0 x 0 when nothing or an empty file was loaded.
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The EXIF Orientation, 1 (as stored) to 8; 1 without a valid one.
    int Orientation() const { return FOrientation; }
    // Bytes of the file held.
    size_t DataSize() const { return FData.size(); }
    // Whether the whole file was read; only its beginning was when it passed
    // the load's maxBytes, and such a picture must not be decoded.
    bool Whole() const { return FWhole; }

    // Decodes at the smallest DCT scale (1/8, 1/2 or 1) whose output is at
    // least twice the rectangle's size (full size when none is), resamples it
    // with a Lanczos filter into rect on the canvas's image, clipped to it,
    // turned the way the picture is seen. Raises EJPEG when decoding fails.
    // An empty picture draws nothing.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    // Draw in two halves, so the costly one can run on a worker thread (it
    // uses its own decoder and touches nothing shared). Render decodes and
    // resamples for rect on a canvas of canvasSize, streaming: it holds the
    // part of rect on the canvas and one band of decoded rows, never the
    // whole picture. Null when Draw would draw nothing. Raises EJPEG when
    // decoding fails. PaintRendered puts the result on the canvas exactly as
    // Draw does.
    QImage Render(const TRect& rect, const QSize& canvasSize,
                  const JpegDecodeLimits& limits = {}) const;
    static void PaintRendered(TCanvas* canvas, const TRect& rect, const QImage& rendered);

    // The whole picture decoded at the smallest DCT scale whose output is at
    // least minWidth x minHeight (full size when no scale reaches that), as an
    // opaque RGB32 image turned the way it is seen (sizes too). Raises EJPEG
    // when decoding fails; null when empty.
    QImage Decode(int minWidth, int minHeight) const;

private:
    std::vector<unsigned char> FData;
    bool FWhole = true;
    int FWidth = 0;
    int FHeight = 0;
    int FOrientation = 1;
};
