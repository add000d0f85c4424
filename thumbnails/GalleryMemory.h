#pragma once
// The gallery's memory bounds. The tiles a gallery keeps may take a quarter
// of physical memory (of the control group's limit, when that is lower), and
// the decodes in flight as much again; without a bound a large tile size or
// a crafted file would exhaust the machine.

#include "platform/base/SysUtils.h"

#include <QtGlobal>

#include <string>

// Bytes of each of the two bounds.
qint64 GalleryMemoryBound();
// The memory limit that this process's control groups set (version 2's
// memory.max, version 1's memory.limit_in_bytes, of its group and those
// above it), or 0 when none does. Files are read below root ("" for the
// machine's own; tests give a folder of their making).
qint64 ControlGroupMemoryLimit(const std::string& root);
// Stands in for the machine's physical memory in the bounds; 0 restores it.
// Tests use it to reach the bounds with a few tiles.
void SetPhysicalMemoryForTesting(qint64 bytes);
// A tile of width x height logical pixels as it is decoded and kept: on a
// dense screen at as many more device pixels as the screen's ratio (as far
// as a bitmap can hold them), so that it is as sharp as the text beside it.
struct TileDevice {
    int width = 0;
    int height = 0;
    qreal ratio = 1.0;  // device pixels per logical pixel
};
TileDevice TileOnDevice(int width, int height);
// Stands in for the screen's device pixel ratio; 0 restores it.
void SetDevicePixelRatioForTesting(qreal ratio);
// What one kept tile of width x height logical pixels costs: the image
// list's copy, of its device pixels.
qint64 TileBytes(int width, int height);
// Whether a gallery of tiles tiles of width x height stays within its bound.
bool GalleryFits(qint64 tiles, int width, int height);
// What the apply button reports for a gallery of tiles tiles of width x
// height that would pass the bound.
AnsiString GalleryTooLargeMessage(qint64 tiles, int width, int height);
// What a scan reports when it stops at the bound after kept tiles.
AnsiString GalleryStopsMessage(qint64 kept, int width, int height);
