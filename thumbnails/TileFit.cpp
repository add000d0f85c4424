#include "thumbnails/TileFit.h"

#include <climits>
#include <cmath>

namespace {

// Truncates toward zero, saturating where an int cannot hold the value.
int truncEdge(double value)
{
    const double t = std::trunc(value);
    if (t >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (t <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(t);
}

}  // namespace

bool TileSizeAllowed(int width, int height)
{
    return width >= kMinTileSide && height >= kMinTileSide && width <= kMaxTileSide &&
           height <= kMaxTileSide;
}

TRect TileRectOnDevice(const TRect& rect, qreal ratio)
{
    if (ratio == 1.0) return rect;
    auto edge = [ratio](int value) { return truncEdge(std::round(value * ratio)); };
    return Rect(edge(rect.Left), edge(rect.Top), edge(rect.Right), edge(rect.Bottom));
}

std::optional<TRect> FitPictureInTile(float pictureWidth, float pictureHeight, int tileWidth,
                                      int tileHeight)
{
    const float w = pictureWidth;
    const float h = pictureHeight;
    if (!(w > 0 && h > 0) || tileWidth < 1 || tileHeight < 1) return std::nullopt;

    if (static_cast<float>(tileWidth) > w && static_cast<float>(tileHeight) > h) {
        const int left = (tileWidth - static_cast<int>(w)) / 2;
        const int top = (tileHeight - static_cast<int>(h)) / 2;
        return Rect(left, top, left + static_cast<int>(w), top + static_cast<int>(h));
    }

    if (tileHeight < tileWidth) {
        const float f = h / static_cast<float>(tileHeight);
        const float scaledWidth = w / f;
        const float scaledHeight = h / f;
        const double offset = (static_cast<double>(tileWidth) - scaledWidth) * 0.5;
        return Rect(truncEdge(offset), 1, truncEdge(offset + scaledWidth), truncEdge(scaledHeight));
    }
    const float f = w / static_cast<float>(tileWidth);
    const float scaledWidth = w / f;
    const float scaledHeight = h / f;
    const double offset = (static_cast<double>(tileHeight) - scaledHeight) * 0.5;
    return Rect(1, truncEdge(offset), truncEdge(scaledWidth), truncEdge(offset + scaledHeight));
}
