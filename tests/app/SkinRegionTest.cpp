#include "app/SkinRegion.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A 32-bit top-down image, black unless painted.
struct Image {
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
    void Set(int x, int y, BYTE r, BYTE g, BYTE b)
    {
        BYTE* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    std::vector<RECT> Runs(int mode = 1) const { return SkinRuns(pixels.data(), width, height, width * 4, 0, mode); }
    int width, height;
    std::vector<BYTE> pixels;
};

bool SameRegion(HRGN a, HRGN b)
{
    return ::EqualRgn(a, b) != FALSE;
}

TEST(SkinRegion, AllBlackGivesNoRunsAndAnEmptyRegion)
{
    Image img(10, 4);
    EXPECT_TRUE(img.Runs().empty());
    HRGN rgn = RegionFromRuns(img.Runs());
    ASSERT_NE(rgn, nullptr);
    RECT box;
    EXPECT_EQ(::GetRgnBox(rgn, &box), NULLREGION);
    ::DeleteObject(rgn);
}

TEST(SkinRegion, NoBlackGivesOneFullRowPerRow)
{
    Image img(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            img.Set(x, y, 0, 0, 1); // near-black still belongs to the window
    auto runs = img.Runs();
    ASSERT_EQ(runs.size(), 3u);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(runs[y].left, 0);
        EXPECT_EQ(runs[y].right, 7);
        EXPECT_EQ(runs[y].top, y);
        EXPECT_EQ(runs[y].bottom, y + 1);
    }
}

TEST(SkinRegion, EachSeparateRunInARowIsOneRectangleAndModeZeroInverts)
{
    Image img(10, 2);
    for (int x : {0, 1, 4, 6, 7, 8, 9})
        img.Set(x, 1, 200, 10, 10);
    auto runs = img.Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].left, 0);
    EXPECT_EQ(runs[0].right, 2);
    EXPECT_EQ(runs[1].left, 4);
    EXPECT_EQ(runs[1].right, 5);
    EXPECT_EQ(runs[2].left, 6);
    EXPECT_EQ(runs[2].right, 10);
    // Mode 0: the key colour is the inside.
    auto inverse = img.Runs(0);
    ASSERT_EQ(inverse.size(), 3u); // row 0 whole, then 2..4 and 5..6 of row 1
    EXPECT_EQ(inverse[0].right, 10);
    EXPECT_EQ(inverse[1].left, 2);
    EXPECT_EQ(inverse[1].right, 4);
}

TEST(SkinRegion, ManyRunsBuiltInBatchesMakeTheSameUnion)
{
    Image img(200, 60);
    std::mt19937 random(7);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (random() % 2)
                img.Set(x, y, 255, 255, 255);
    auto runs = img.Runs();
    ASSERT_GT(runs.size(), 2500u); // more than one batch of 2000
    HRGN whole = RegionFromRuns(runs, runs.size());
    HRGN batched = RegionFromRuns(runs, 2000);
    HRGN small = RegionFromRuns(runs, 7);
    ASSERT_TRUE(whole && batched && small);
    EXPECT_TRUE(SameRegion(whole, batched));
    EXPECT_TRUE(SameRegion(whole, small));
    // And it is the picture: an inside pixel is in, an outside one is not.
    for (int y = 0; y < img.height; y += 7)
        for (int x = 0; x < img.width; x += 3) {
            const BYTE* p = &img.pixels[(static_cast<size_t>(y) * img.width + x) * 4];
            EXPECT_EQ(::PtInRegion(batched, x, y) != FALSE, p[0] != 0) << x << "," << y;
        }
    ::DeleteObject(whole);
    ::DeleteObject(batched);
    ::DeleteObject(small);
}

TEST(SkinRegion, FromABitmapWithRoundedCorners)
{
    EXPECT_EQ(MakeSkinRegion(nullptr, 0, 1), nullptr);
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 20, 10);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all = {0, 0, 20, 10};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    HBRUSH blue = ::CreateSolidBrush(RGB(53, 134, 255));
    RECT inner = {2, 0, 18, 10};
    ::FillRect(dc, &inner, blue);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    HRGN rgn = MakeSkinRegion(bmp, RGB(0, 0, 0), 1);
    ASSERT_NE(rgn, nullptr);
    RECT box;
    EXPECT_EQ(::GetRgnBox(rgn, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.right, 18);
    EXPECT_EQ(box.bottom, 10);
    ::DeleteObject(rgn);
    ::DeleteObject(blue);
    ::DeleteObject(bmp);
}

} // namespace
