// Checks the skin, the skin-button bitmaps, the icon and the link cursor as the
// program loads them: from its own resources.
#include "res/SkinLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const int kSkin = 145, kIcon = 128, kLinkCursor = 183;

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

// A bitmap resource loaded as a DIB section, read top-down.
class Dib {
public:
    explicit Dib(UINT id)
    {
        m_hBitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (m_hBitmap && ::GetObjectA(m_hBitmap, sizeof m_ds, &m_ds) != sizeof m_ds)
            m_ds.dsBm.bmBits = nullptr;
    }
    ~Dib()
    {
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    bool Loaded() const { return m_hBitmap && m_ds.dsBm.bmBits; }
    int Width() const { return m_ds.dsBm.bmWidth; }
    int Height() const { return m_ds.dsBm.bmHeight; }
    int Bits() const { return m_ds.dsBm.bmBitsPixel; }

    // Pixel (x, y) from the top-left corner; 24-bit only.
    COLORREF At(int x, int y) const
    {
        int row = m_ds.dsBmih.biHeight > 0 ? Height() - 1 - y : y;
        const BYTE* p = static_cast<const BYTE*>(m_ds.dsBm.bmBits) + row * m_ds.dsBm.bmWidthBytes + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    HBITMAP m_hBitmap = nullptr;
    DIBSECTION m_ds = {};
};

TEST(Art, EveryBitmapIs24BitsAtItsSize)
{
    struct Expect {
        int id, width, height;
    };
    std::vector<Expect> all = {{kSkin, kSkinWidth, kSkinHeight}};
    for (const SkinButtonLayout& b : kSkinButtons) {
        bool round = b.outline == SkinOutline::Round;
        all.push_back({static_cast<int>(b.shape), b.imageWidth, b.height});
        all.push_back({static_cast<int>(b.overlay), round ? kRoundOverlaySize : b.imageWidth,
                       round ? kRoundOverlaySize : b.height});
        for (UINT face : {b.normal, b.hover, b.pressed})
            all.push_back({static_cast<int>(face), b.imageWidth, b.height});
    }
    for (const Expect& e : all) {
        SCOPED_TRACE(e.id);
        Dib dib(e.id);
        ASSERT_TRUE(dib.Loaded());
        EXPECT_EQ(dib.Width(), e.width);
        EXPECT_EQ(dib.Height(), e.height);
        EXPECT_EQ(dib.Bits(), 24);
    }
}

TEST(Art, SkinIsOneRunPerRowAndPaneColouredBehindThePanes)
{
    Dib skin(kSkin);
    ASSERT_TRUE(skin.Loaded());
    for (int y = 0; y < skin.Height(); ++y) {
        int runs = 0;
        bool inside = false;
        for (int x = 0; x < skin.Width(); ++x) {
            bool now = skin.At(x, y) != kBlack;
            runs += now && !inside;
            inside = now;
        }
        EXPECT_EQ(runs, 1) << "row " << y;
    }
    // Rounded: the corners are cut away.
    EXPECT_EQ(skin.At(0, 0), kBlack);
    EXPECT_EQ(skin.At(kSkinWidth - 1, kSkinHeight - 1), kBlack);

    for (const RECT& r : {kLogPaneRect, kStatusPaneRect}) {
        int wrong = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                wrong += skin.At(x, y) != kSkinPaneColour;
        EXPECT_EQ(wrong, 0) << "pane at " << r.left << "," << r.top;
    }
}

TEST(Art, ShapesAndOverlaysFollowTheCutAndOrRules)
{
    const SkinButtonLayout& start = kSkinButtons[0];
    ASSERT_EQ(start.outline, SkinOutline::Round);
    Dib round(start.shape), roundOverlay(start.overlay);
    ASSERT_TRUE(round.Loaded() && roundOverlay.Loaded());
    const int last = start.width - 1;
    for (int c : {0, last}) {
        EXPECT_EQ(round.At(c, 0), kBlack);
        EXPECT_EQ(round.At(c, last), kBlack);
    }
    EXPECT_NE(round.At(last / 2, last / 2), kBlack);
    EXPECT_NE(round.At(0, last / 2), kBlack); // the circle reaches the edges
    for (int y = 0; y < kRoundOverlaySize; ++y)
        for (int x = 0; x < kRoundOverlaySize; ++x)
            ASSERT_EQ(roundOverlay.At(x, y), kBlack) << x << "," << y;

    for (const SkinButtonLayout& b : kSkinButtons) {
        if (b.outline == SkinOutline::Round)
            continue;
        SCOPED_TRACE(b.caption);
        Dib shape(b.shape), overlay(b.overlay);
        ASSERT_TRUE(shape.Loaded() && overlay.Loaded());
        int cut = 0, mismatched = 0;
        const bool rectangular = b.outline == SkinOutline::Rect;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.imageWidth; ++x) {
                bool in = shape.At(x, y) != kBlack;
                cut += !in;
                // Black over the button keeps the face; white elsewhere.
                mismatched += overlay.At(x, y) != (in ? kBlack : kWhite);
                if (rectangular)
                    mismatched += shape.At(x, y) != kWhite;
            }
        EXPECT_EQ(mismatched, 0);
        if (rectangular)
            EXPECT_EQ(cut, 0);
        else
            EXPECT_GT(cut, 0); // triangle and ellipse lose their corners
    }
}

TEST(Art, NormalHoverAndPressedFacesDiffer)
{
    for (const SkinButtonLayout& b : kSkinButtons) {
        SCOPED_TRACE(b.caption);
        Dib shape(b.shape), normal(b.normal), hover(b.hover), pressed(b.pressed);
        ASSERT_TRUE(shape.Loaded() && normal.Loaded() && hover.Loaded() && pressed.Loaded());
        int visible = 0, hoverDiffers = 0, pressedDiffers = 0, hoverVsPressed = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                if (shape.At(x, y) == kBlack)
                    continue;
                ++visible;
                hoverDiffers += normal.At(x, y) != hover.At(x, y);
                pressedDiffers += normal.At(x, y) != pressed.At(x, y);
                hoverVsPressed += hover.At(x, y) != pressed.At(x, y);
            }
        ASSERT_GT(visible, 0);
        // A changed caption colour alone touches well under a tenth of the face.
        EXPECT_GT(hoverDiffers * 10, visible);
        EXPECT_GT(pressedDiffers * 10, visible);
        EXPECT_GT(hoverVsPressed * 10, visible);
    }
}

TEST(Art, IconHoldsSmallAndLargeImages)
{
    HMODULE self = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(self, MAKEINTRESOURCEA(kIcon), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(res, nullptr);
    const BYTE* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(self, res)));
    ASSERT_NE(dir, nullptr);
    // Group directory: 6-byte header, then 14-byte entries starting with width, height.
    int count = *reinterpret_cast<const WORD*>(dir + 4);
    bool has16 = false, has32 = false;
    for (int i = 0; i < count; ++i) {
        const BYTE* e = dir + 6 + 14 * i;
        has16 |= e[0] == 16 && e[1] == 16;
        has32 |= e[0] == 32 && e[1] == 32;
    }
    EXPECT_TRUE(has16);
    EXPECT_TRUE(has32);

    for (int size : {16, 32}) {
        HICON icon =
            static_cast<HICON>(::LoadImageA(self, MAKEINTRESOURCEA(kIcon), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        ::DestroyIcon(icon);
    }
}

TEST(Art, LinkCursorPointsWithItsFingertip)
{
    HCURSOR cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kLinkCursor));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);

    // The AND mask (top half of the mask bitmap for a monochrome cursor): 0 = drawn.
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(info.hbmMask, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 32);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } bi = {};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = bm.bmWidth;
    bi.h.biHeight = -bm.bmHeight; // top-down
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 1;
    std::vector<BYTE> bits(4 * bm.bmHeight);
    HDC dc = ::GetDC(nullptr);
    int rows = ::GetDIBits(dc, info.hbmMask, 0, bm.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&bi),
                           DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    ASSERT_EQ(rows, bm.bmHeight);
    auto drawn = [&](int x, int y) { return !(bits[y * 4 + x / 8] & (0x80 >> (x % 8))); };

    int x0 = info.xHotspot, y0 = info.yHotspot;
    ASSERT_LT(x0, 32);
    ASSERT_LT(y0, 32);
    EXPECT_TRUE(drawn(x0, y0));
    int top = 32, lowest = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (drawn(x, y)) {
                top = y < top ? y : top;
                lowest = y;
            }
    EXPECT_EQ(top, y0) << "the hot spot is the topmost point";
    EXPECT_GE(lowest - top, 16) << "a hand, not a dot";

    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
}

} // namespace
