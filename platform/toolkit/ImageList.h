#pragma once
// The image list: a row of images of one size, reached by index. Changing
// the image size discards every image.

#include "platform/base/ImageListData.h"
#include "platform/toolkit/Controls.h"

#include <QPixmap>

class TBitmap;

class TImageList : public TComponent, public ImageListData {
public:
    explicit TImageList(TComponent* AOwner);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width);
    void SetHeight(int height);
    // Sizes in pixels; a change of either discards every image.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }
    void Clear();
    // Empties the list as Clear does, handing its images to the caller: a
    // list of thousands of tiles takes long to free, and the caller may free
    // them elsewhere.
    std::vector<QPixmap> TakeImages();
    // Adds image, with the pixels where mask is white made transparent when a
    // mask is given (image and mask are not owned); returns the new index.
    // An image of another size is scaled to the list's size.
    int Add(TBitmap* image, TBitmap* mask);
    // Adds a glyph; returns the new index.
    int AddPixmap(const QPixmap& pixmap);
    HIMAGELIST Handle() { return this; }

    QSize ImageSize() const override { return {FWidth, FHeight}; }
    int ImageCount() const override { return Count(); }
    QPixmap Image(int index) const override;
    quint64 Generation() const override { return FGeneration; }

private:
    QPixmap Fit(const QPixmap& pixmap) const;

    int FWidth = 16;
    int FHeight = 16;
    std::vector<QPixmap> FImages;
    quint64 FGeneration = 1;
};
