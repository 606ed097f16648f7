#include "controls/FocusMark.h"

RECT FocusMarkRect(int width, int height, const std::function<bool(int x, int y)>& inside, int minInset)
{
    for (int d = minInset; 2 * d < width && 2 * d < height; ++d) {
        RECT rc = {d, d, width - d, height - d};
        if (inside(rc.left, rc.top) && inside(rc.right - 1, rc.top) && inside(rc.left, rc.bottom - 1) &&
            inside(rc.right - 1, rc.bottom - 1))
            return rc;
    }
    return RECT{0, 0, 0, 0};
}
