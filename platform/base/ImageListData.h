#pragma once
// The image list behind an HIMAGELIST: a row of equally sized images reached
// by index. The shell's system lists and the toolkit's TImageList both
// provide one; list views draw from whichever list they were given.

#include "platform/base/Windows.h"

#include <QPixmap>
#include <QSize>

class ImageListData {
public:
    virtual ~ImageListData() = default;
    // Size of every image in pixels.
    virtual QSize ImageSize() const = 0;
    virtual int ImageCount() const = 0;
    // The image at index, or a null pixmap when index is out of range.
    virtual QPixmap Image(int index) const = 0;
    // Grows whenever images are added, removed or resized, so views can
    // tell that what they drew from has changed.
    virtual quint64 Generation() const = 0;
};
