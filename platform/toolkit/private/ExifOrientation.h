#pragma once
// Which way up a JPEG picture is meant to be seen: the Orientation tag of its
// EXIF block, and the geometry of turning a picture by it.
//
// Orientation values, as the EXIF standard numbers them (where the stored
// picture's row 0 and column 0 are seen): 1 top and left (as stored), 2 top
// and right (mirrored), 3 bottom and right (turned half round), 4 bottom and
// left (flipped), 5 left and top (transposed), 6 right and top (turned a
// quarter clockwise), 7 right and bottom (transversed), 8 left and bottom
// (turned a quarter anticlockwise).

#include <QImage>

#include <cstddef>

#include <jpeglib.h>

// The Orientation of one APP1 segment's data (after its length), or 0 when
// it is no EXIF block, or the block holds no valid Orientation in its first
// directory. Every offset is checked against size.
int ExifOrientationOfSegment(const unsigned char* data, std::size_t size);
// The Orientation of the first EXIF block among the markers libjpeg saved
// (jpeg_save_markers for APP1); 1 when there is none or it is broken.
int ExifOrientation(jpeg_saved_marker_ptr markers);

// Whether the orientation swaps width and height.
inline bool OrientationTurns(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Where a rectangle of a canvas, both as seen, lies when the canvas is turned
// back to the stored picture's orientation: resampling the stored picture
// into it and turning the result by Orient gives the rectangle's visible
// part as seen.
struct StoredPlacement {
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;
    qint64 height = 0;
    QSize canvas;
};
StoredPlacement PlaceStored(qint64 left, qint64 top, qint64 width, qint64 height, QSize canvas,
                            int orientation);
// The stored image turned and mirrored as orientation says.
QImage Orient(const QImage& stored, int orientation);
