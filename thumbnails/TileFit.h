#pragma once
// Where a picture goes in a gallery tile.

#include "platform/toolkit/Graphics.h"

#include <optional>

// Tile sides the apply button accepts, in pixels. The upper bound keeps one
// tile bitmap (and the image list's copy of it) well inside memory.
constexpr int kMinTileSide = 1;
constexpr int kMaxTileSide = 10000;
bool TileSizeAllowed(int width, int height);

// The rectangle a picture of pictureWidth x pictureHeight pixels is stretched
// into on a tile of tileWidth x tileHeight, or none when the tile stays blank
// (nothing loaded). A tile wider than tall fits the picture to its height,
// any other to its width, the other side centred and possibly cut off; the
// fitted side runs from 1. The ratio and scaled sizes are single precision,
// so a fitted side can end a pixel short. A picture smaller than the tile in
// both dimensions is centred at its own size.
std::optional<TRect> FitPictureInTile(float pictureWidth, float pictureHeight, int tileWidth,
                                      int tileHeight);
// A rectangle of a tile in the device pixels of a tile drawn at ratio device
// pixels per logical pixel: each edge scaled and rounded by itself.
TRect TileRectOnDevice(const TRect& rect, qreal ratio);
