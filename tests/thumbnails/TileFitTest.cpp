// The rectangle a picture is stretched into on a tile.

#include "thumbnails/TileFit.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    int pictureWidth, pictureHeight, tileWidth, tileHeight;
    std::optional<TRect> expected;
};

std::ostream& operator<<(std::ostream& out, const FitCase& c)
{
    return out << c.pictureWidth << "x" << c.pictureHeight << " in " << c.tileWidth << "x"
               << c.tileHeight;
}

}  // namespace

class TileFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(TileFit, Rectangle)
{
    const FitCase& c = GetParam();
    const auto rect =
        FitPictureInTile(static_cast<float>(c.pictureWidth), static_cast<float>(c.pictureHeight),
                         c.tileWidth, c.tileHeight);
    ASSERT_EQ(rect.has_value(), c.expected.has_value());
    if (!rect) return;
    EXPECT_EQ(rect->Left, c.expected->Left);
    EXPECT_EQ(rect->Top, c.expected->Top);
    EXPECT_EQ(rect->Right, c.expected->Right);
    EXPECT_EQ(rect->Bottom, c.expected->Bottom);
}

INSTANTIATE_TEST_SUITE_P(Table, TileFit,
                         ::testing::Values(
                             // Width fitted and centred vertically; height fitted for a wide tile.
                             FitCase{1600, 1200, 200, 200, Rect(1, 25, 200, 175)},
                             FitCase{1600, 1200, 300, 200, Rect(16, 1, 283, 200)},
                             FitCase{1200, 1600, 200, 200, Rect(1, -33, 200, 233)},
                             FitCase{1600, 1200, 200, 300, Rect(1, 75, 200, 225)},
                             // Single precision leaves the fitted side a pixel short.
                             FitCase{640, 480, 500, 200, Rect(116, 1, 383, 199)},
                             FitCase{1024, 768, 250, 250, Rect(1, 31, 249, 218)},
                             // Equal or larger in one dimension: drawn, scaled up where needed.
                             FitCase{200, 200, 200, 200, Rect(1, 0, 200, 200)},
                             FitCase{150, 300, 200, 200, Rect(1, -100, 200, 300)},
                             // Smaller in both dimensions: centred at its own size.
                             FitCase{100, 80, 200, 200, Rect(50, 60, 150, 140)},
                             FitCase{99, 79, 200, 300, Rect(50, 110, 149, 189)},
                             // Nothing loaded, or no tile: blank.
                             FitCase{0, 0, 200, 200, std::nullopt},
                             FitCase{640, 0, 200, 200, std::nullopt},
                             FitCase{640, 480, 0, 200, std::nullopt}));
