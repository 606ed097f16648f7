// Where a shaped button draws its dotted focus rectangle: inside its outline.
#pragma once
#include <windows.h>

#include <functional>

// The rectangle inset from (0, 0, width, height) by the smallest margin, at
// least minInset, at which all four of its corner pixels lie inside the
// outline (for the convex outlines of the skin, the whole rectangle does).
// Empty when no such rectangle is left.
RECT FocusMarkRect(int width, int height, const std::function<bool(int x, int y)>& inside, int minInset = 3);
