#include "controls/ButtonOutline.h"

#include "controls/PixelRuns.h"

#include <algorithm>

std::vector<RECT> OutlineRuns(const std::uint32_t* pixels, int bmWidth, int bmHeight, int width, int height)
{
    return PixelRuns(width, height, [&](int x, int y) {
        return y >= bmHeight || x >= bmWidth ||
               (pixels[static_cast<size_t>(y) * bmWidth + x] & 0xFFFFFF) != 0;
    });
}

HRGN RegionFromRects(const std::vector<RECT>& rects)
{
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    RECT bound = {0, 0, 0, 0};
    if (!rects.empty())
        bound = rects.front();
    for (const RECT& r : rects) {
        bound.left = std::min(bound.left, r.left);
        bound.top = std::min(bound.top, r.top);
        bound.right = std::max(bound.right, r.right);
        bound.bottom = std::max(bound.bottom, r.bottom);
    }
    data->rdh.rcBound = bound;
    std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data->Buffer));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

HRGN ButtonOutline(HDC hdc, HBITMAP hShape, int width, int height)
{
    BITMAP bm;
    if (!hShape || !::GetObjectA(hShape, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    // Top-down 32-bit copy: the bitmap's own colours, whatever the display's depth.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC hdcMem = hdc ? nullptr : ::CreateCompatibleDC(nullptr);
    int rows = ::GetDIBits(hdc ? hdc : hdcMem, hShape, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    if (hdcMem)
        ::DeleteDC(hdcMem);
    if (rows != bm.bmHeight)
        return nullptr;
    return RegionFromRects(OutlineRuns(pixels.data(), bm.bmWidth, bm.bmHeight, width, height));
}
