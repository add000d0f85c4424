#pragma once
// Stretches a picture into a rectangle of a canvas while the picture's rows
// arrive, top row first, and makes only the part of the rectangle that lies
// on the canvas. The filter is a separable Lanczos-3 (a sinc windowed by a
// wider sinc, three lobes each side), stretched by the scale when shrinking:
// it keeps the detail up to the new size's limit and removes what would
// alias. Near the picture's edges the weights that fall inside are
// normalised. It holds the visible part and a few filtered rows, never the
// whole picture.

#include <QImage>

#include <vector>

class RowResampler {
public:
    // A picture of sourceWidth x sourceHeight pixels (both at least 1),
    // stretched to width x height pixels at left, top of a canvas of
    // canvasSize; the rectangle may overhang the canvas on any side.
    RowResampler(int sourceWidth, int sourceHeight, qint64 left, qint64 top, qint64 width,
                 qint64 height, QSize canvasSize);

    // The part of the rectangle on the canvas, where the result goes; empty
    // when they do not meet.
    QRect Visible() const { return FVisible; }
    // Takes the picture's next row, sourceWidth pixels of RGB32.
    void AddRow(const QRgb* row);
    // Whether every row of the result is made.
    bool Done() const { return FNextRow >= FVisible.height(); }
    // The result, Visible().size(); rows not yet made are black.
    const QImage& Result() const { return FResult; }
    // Bytes held: the result and the filtered rows.
    qint64 MemoryBytes() const;

private:
    // For each of count target pixels from the index from on: the first
    // source pixel it takes, how many, and their weights (stride apart).
    struct Taps {
        std::vector<int> first;
        std::vector<int> count;
        std::vector<float> weights;
        int stride = 0;
    };
    static Taps MakeTaps(int sourceLength, qint64 targetLength, qint64 from, int count);
    void FilterRow(const QRgb* row, float* out);
    void MakeRow(int y);

    QRect FVisible;
    QImage FResult;
    Taps FColumns;
    Taps FRows;
    // The last FRows.stride source rows, filtered across: three floats a
    // pixel, row r at slot r % stride.
    std::vector<float> FRing;
    std::vector<float> FSum;  // the row being made
    // The source columns the taps reach, [FSpanFirst, FSpanEnd), of the row
    // being filtered: red, green, blue and an unused lane a pixel, which the
    // compiler keeps in one vector register.
    using Lanes = float __attribute__((vector_size(16)));
    int FSpanFirst = 0;
    int FSpanEnd = 0;
    std::vector<Lanes> FPixels;
    int FSourceHeight;
    int FNextSource = 0;
    int FNextRow = 0;
};
