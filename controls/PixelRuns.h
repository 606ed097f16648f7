// The one scan of a picture into runs: the pixels of each row for which a test
// holds, as rectangles one pixel high, for the regions of the skin and of the
// skin buttons.
#pragma once
#include <windows.h>
#include <vector>

// inside(x, y) for 0 <= x < width, 0 <= y < height; rows top to bottom, runs
// left to right.
template <class Inside> std::vector<RECT> PixelRuns(int width, int height, Inside inside)
{
    std::vector<RECT> runs;
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && !inside(x, y))
                ++x;
            int x0 = x;
            while (x < width && inside(x, y))
                ++x;
            if (x > x0)
                runs.push_back(RECT{x0, y, x, y + 1});
        }
    }
    return runs;
}
