#include "platform/toolkit/Bitmap.h"

#include <gtest/gtest.h>

// Sizes: a new bitmap is white, and a size that cannot be made raises and
// leaves the bitmap as it was.
TEST(Bitmap, NewBitmapIsWhite)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Image().isNull());
    bitmap.SetWidth(40);
    EXPECT_TRUE(bitmap.Image().isNull());  // no height yet
    bitmap.SetHeight(30);
    ASSERT_EQ(bitmap.Image().size(), QSize(40, 30));
    EXPECT_EQ(bitmap.Image().pixel(39, 29), qRgb(255, 255, 255));
}

TEST(Bitmap, ImpossibleSizesRaiseAndChangeNothing)
{
    TBitmap bitmap;
    bitmap.SetWidth(20);
    bitmap.SetHeight(10);
    using Setter = void (TBitmap::*)(int);
    const std::pair<Setter, int> cases[] = {{&TBitmap::SetWidth, -1},
                                            {&TBitmap::SetHeight, -5},
                                            {&TBitmap::SetWidth, 100000},
                                            {&TBitmap::SetHeight, 40000}};
    for (const auto& [setter, value] : cases) {
        SCOPED_TRACE(value);
        EXPECT_THROW((bitmap.*setter)(value), EOutOfResources);
        EXPECT_EQ(bitmap.Width(), 20);
        EXPECT_EQ(bitmap.Height(), 10);
        EXPECT_EQ(bitmap.Image().size(), QSize(20, 10));
    }
    // Each side possible, the whole too large.
    bitmap.SetWidth(30000);
    EXPECT_THROW(bitmap.SetHeight(30000), EOutOfResources);
    EXPECT_EQ(bitmap.Image().size(), QSize(30000, 10));
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.Image().isNull());
    EXPECT_TRUE(bitmap.Empty());
}
