#include "controls/ButtonOutline.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The outline pixel by pixel: a rectangle over the button with each exactly
// black pixel of the bitmap toggled away; pixels outside the bitmap
// (GetPixel gives CLR_INVALID there) are kept.
HRGN PixelByPixel(const std::vector<std::uint32_t>& pixels, int bmWidth, int bmHeight, int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bmWidth;
    bi.bmiHeader.biHeight = -bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    HRGN rgn = ::CreateRectRgn(0, 0, width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (::GetPixel(hdc, x, y) == 0) {
                HRGN dot = ::CreateRectRgn(x, y, x + 1, y + 1);
                ::CombineRgn(rgn, rgn, dot, RGN_XOR);
                ::DeleteObject(dot);
            }
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return rgn;
}

void ExpectSameOutline(const std::vector<std::uint32_t>& pixels, int bmWidth, int bmHeight, int width,
                       int height)
{
    HRGN expected = PixelByPixel(pixels, bmWidth, bmHeight, width, height);
    HRGN actual = RegionFromRects(OutlineRuns(pixels.data(), bmWidth, bmHeight, width, height));
    ASSERT_NE(actual, nullptr);
    EXPECT_TRUE(::EqualRgn(expected, actual))
        << bmWidth << "x" << bmHeight << " for " << width << "x" << height;
    ::DeleteObject(expected);
    ::DeleteObject(actual);
}

TEST(ButtonOutline, RunsGiveTheSameRegionAsOneTogglePerBlackPixel)
{
    std::mt19937 random(7);
    // Mostly black, white and near-black tones, in clusters and single pixels;
    // the unused high byte must not matter.
    const std::uint32_t palette[] = {0x000000, 0x000000,   0xFFFFFF, 0x000033, 0x010000,
                                     0x000100, 0xFF000000, 0x808080, 0x000001};
    struct Case {
        int bmWidth, bmHeight, width, height;
    };
    for (Case c : {Case{35, 35, 35, 35}, Case{34, 34, 35, 35}, Case{189, 21, 179, 21}, Case{20, 19, 20, 19},
                   Case{1, 1, 3, 2}, Case{29, 44, 29, 44}}) {
        std::vector<std::uint32_t> pixels(static_cast<size_t>(c.bmWidth) * c.bmHeight);
        for (auto& p : pixels)
            p = palette[random() % (sizeof(palette) / sizeof(palette[0]))];
        ExpectSameOutline(pixels, c.bmWidth, c.bmHeight, c.width, c.height);
    }

    // A circle: black outside, grey on the rim.
    std::vector<std::uint32_t> circle(35 * 35);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 35; ++x) {
            int d = (2 * x - 34) * (2 * x - 34) + (2 * y - 34) * (2 * y - 34);
            circle[y * 35 + x] = d > 34 * 34 ? 0 : d > 30 * 30 ? 0x404040 : 0x3060F0;
        }
    ExpectSameOutline(circle, 35, 35, 35, 35);

    // All black: nothing is left of the button.
    std::vector<std::uint32_t> black(12, 0);
    EXPECT_TRUE(OutlineRuns(black.data(), 4, 3, 4, 3).empty());
    ExpectSameOutline(black, 4, 3, 4, 3);
}

} // namespace
