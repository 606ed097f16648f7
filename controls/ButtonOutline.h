// A skin button's outline: every pixel of the shape bitmap except exact black
// belongs to the button. The kept pixels of each row become rectangles one
// pixel high, and the rectangles one region, made in a single call.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

// Runs of kept pixels in a width x height button whose shape is a top-down
// image of bmWidth x bmHeight pixels, 0x00RRGGBB each (the low 24 bits count).
// Pixels of the button outside the image are kept.
std::vector<RECT> OutlineRuns(const std::uint32_t* pixels, int bmWidth, int bmHeight, int width, int height);

// One region made of the rectangles (empty for none); null on failure.
HRGN RegionFromRects(const std::vector<RECT>& rects);

// The outline of a width x height button from a bitmap, read through hdc (a
// memory context when null); null for a null bitmap or when its pixels or the
// region cannot be made.
HRGN ButtonOutline(HDC hdc, HBITMAP hShape, int width, int height);
