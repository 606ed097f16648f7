// The window's outline from its skin: every run of "inside" pixels in a row
// becomes a rectangle one pixel high; the rectangles make one region.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

// Runs of a 32-bit top-down pixel image (blue, green, red, unused per pixel;
// stride in bytes). With a non-zero mode a pixel is inside when it differs from
// key in red, green or blue; with mode 0 when it equals key.
std::vector<RECT> SkinRuns(const std::uint8_t* pixels, int width, int height, int stride, COLORREF key, int mode);

// The union of the rectangles, built with ExtCreateRegion in batches of at most
// batchSize rectangles and merged with RGN_OR. Null when nothing could be made.
HRGN RegionFromRuns(const std::vector<RECT>& runs, size_t batchSize = 2000);

// The whole pipeline on a bitmap: null for a null bitmap or when a drawing
// context, section or region cannot be made.
HRGN MakeSkinRegion(HBITMAP hBitmap, COLORREF key, int mode);
