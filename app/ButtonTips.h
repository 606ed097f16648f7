// The skin buttons' tips: what each button does, and for "Auto" and "F&D" the
// state a click switches to; and the main window's tab order.
#pragma once
#include <windows.h>

#include <vector>

// The tip of the button with this caption, or null for another caption.
const char* ButtonTip(const char* caption, bool autoOn, bool hotKeyOn);

// Gives every skin button among hWnd's children its tip for the current
// states, in tooltip hTips, which is created (owned by hWnd) when null.
// Returns the tooltip window.
HWND UpdateButtonTips(HWND hWnd, HWND hTips, bool autoOn, bool hotKeyOn);

// The order in which rectangles are read: row by row from the top (a row
// starts with the highest remaining one and takes every rectangle whose
// vertical middle lies within it), each row from left to right. Indexes.
std::vector<size_t> ReadingOrder(const std::vector<RECT>& rects);

// Puts hWnd's tab stops in reading order of their places, so that Tab goes
// through them left to right, top to bottom.
void OrderTabStops(HWND hWnd);
