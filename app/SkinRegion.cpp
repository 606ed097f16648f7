#include "app/SkinRegion.h"

#include "controls/ButtonOutline.h"
#include "controls/PixelRuns.h"

#include <algorithm>

std::vector<RECT> SkinRuns(const std::uint8_t* pixels, int width, int height, int stride, COLORREF key,
                           int mode)
{
    const std::uint8_t kr = GetRValue(key), kg = GetGValue(key), kb = GetBValue(key);
    return PixelRuns(width, height, [&](int x, int y) {
        const std::uint8_t* p = pixels + static_cast<size_t>(y) * stride + 4 * static_cast<size_t>(x);
        bool equal = p[0] == kb && p[1] == kg && p[2] == kr;
        return mode ? !equal : equal;
    });
}

HRGN RegionFromRuns(const std::vector<RECT>& runs, size_t batchSize)
{
    HRGN result = nullptr;
    size_t done = 0;
    // Also once for no runs at all, which gives an empty region.
    do {
        size_t count = std::min(batchSize, runs.size() - done);
        std::vector<RECT> batch(runs.begin() + done, runs.begin() + done + count);
        HRGN part = RegionFromRects(batch);
        if (part) {
            if (!result) {
                result = part;
            } else {
                ::CombineRgn(result, result, part, RGN_OR);
                ::DeleteObject(part);
            }
        }
        done += count;
    } while (done < runs.size());
    return result;
}

HRGN MakeSkinRegion(HBITMAP hBitmap, COLORREF key, int mode)
{
    if (!hBitmap)
        return nullptr;
    BITMAP bm;
    if (!::GetObjectA(hBitmap, sizeof(bm), &bm))
        return nullptr;
    HDC hdcSection = ::CreateCompatibleDC(nullptr);
    if (!hdcSection)
        return nullptr;
    // Top-down 32-bit copy of the bitmap, so that rows read in screen order.
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = bm.bmWidth;
    bih.biHeight = -bm.bmHeight;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP hSection = ::CreateDIBSection(hdcSection, reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS,
                                          &bits, nullptr, 0);
    HRGN region = nullptr;
    if (hSection) {
        HGDIOBJ oldSection = ::SelectObject(hdcSection, hSection);
        HDC hdcSource = ::CreateCompatibleDC(hdcSection);
        if (hdcSource) {
            HGDIOBJ oldSource = ::SelectObject(hdcSource, hBitmap);
            ::BitBlt(hdcSection, 0, 0, bm.bmWidth, bm.bmHeight, hdcSource, 0, 0, SRCCOPY);
            ::GdiFlush();
            region = RegionFromRuns(SkinRuns(static_cast<const std::uint8_t*>(bits), bm.bmWidth, bm.bmHeight,
                                             bm.bmWidth * 4, key, mode));
            ::SelectObject(hdcSource, oldSource);
            ::DeleteDC(hdcSource);
        }
        ::SelectObject(hdcSection, oldSection);
        ::DeleteObject(hSection);
    }
    ::DeleteDC(hdcSection);
    return region;
}
