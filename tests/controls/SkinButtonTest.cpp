#include "controls/SkinButton.h"
#include "tests/controls/TestResources.h"
#include "tests/controls/UiHelpers.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Face colours of the test bitmaps, 0x00RRGGBB.
const std::uint32_t kNormal = 0x102030, kHover = 0x118022, kPressed = 0x901040, kMarker = 0xFE017F;

struct CountingButton : CSkinButton {
    int moves = 0;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_MOUSEMOVE)
            ++moves;
        return CSkinButton::WindowProc(msg, wp, lp);
    }
};

// What the button paints into a 32-bit memory context, 0x00RRGGBB per pixel.
std::vector<std::uint32_t> Painted(CSkinButton& button, int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    EXPECT_TRUE(button.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc)));
    ::GdiFlush();
    auto* p = static_cast<std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(p, p + width * height);
    for (auto& px : out)
        px &= 0xFFFFFF;
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return out;
}

std::uint32_t PaintedAt(CSkinButton& button, int x, int y)
{
    return Painted(button, 40, 30)[y * 40 + x];
}

// Mouse input is posted, routed as the system routes it: to the window that
// holds the capture, else to the window under the point (WindowFromPoint,
// which honours window regions). Real input is not used here because the
// virtual desktop replays stale pointer positions after SendInput.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.m_hWnd);
        ParkCursor();
        Place(corners, "Start", IDB_TEST_SHAPE_CORNERS, IDB_TEST_OVERLAY, 100, 100);
        Place(plain, "Clear", IDB_TEST_SHAPE_WHITE, IDB_TEST_OVERLAY_SMALL, 200, 100);
        ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == parent.m_hWnd; }));
        MoveTo(Parent(300, 300));
    }
    void TearDown() override
    {
        if (m_left)
            Release();
        MoveTo(Parent(300, 300));
    }
    void Place(CSkinButton& b, const char* caption, UINT shape, UINT overlay, int x, int y)
    {
        ASSERT_TRUE(b.CreateButton(caption, RECT{0, 0, 40, 30}, shape, overlay, IDB_TEST_NORMAL, IDB_TEST_HOVER,
                                   IDB_TEST_PRESSED, &parent));
        b.MoveWindow(x, y, 40, 30, TRUE);
        b.ShowWindow(SW_SHOW);
        ::UpdateWindow(b.m_hWnd);
    }
    // The real pointer rests outside every window of the test.
    static void ParkCursor()
    {
        ::SetCursorPos(1000, 500);
        PumpUntil([] {
            POINT at;
            ::GetCursorPos(&at);
            return at.x == 1000 && at.y == 500;
        });
        PumpFor(100);
    }
    void Post(UINT msg)
    {
        HWND target = ::GetCapture();
        if (!target)
            target = ::WindowFromPoint(m_at);
        POINT client = m_at;
        ::ScreenToClient(target, &client);
        ::PostMessageA(target, msg, m_left ? MK_LBUTTON : 0, MAKELPARAM(client.x, client.y));
        PumpFor(20);
    }
    void MoveTo(POINT screen)
    {
        m_at = screen;
        Post(WM_MOUSEMOVE);
    }
    void Press()
    {
        m_left = true;
        Post(WM_LBUTTONDOWN);
    }
    void Release()
    {
        m_left = false;
        Post(WM_LBUTTONUP);
    }
    POINT Parent(int x, int y) const { return ToScreen(parent.m_hWnd, x, y); }
    POINT OnCorners(int x, int y) const { return ToScreen(corners.m_hWnd, x, y); }

    RecordingWindow parent;
    CountingButton corners;
    CountingButton plain;
    POINT m_at = {0, 0};
    bool m_left = false;
};

TEST_F(SkinButtonTest, CreatesAHiddenChildCutToItsShape)
{
    CSkinButton b;
    ASSERT_TRUE(b.CreateButton("F&D", RECT{5, 5, 45, 35}, IDB_TEST_SHAPE_CORNERS, IDB_TEST_OVERLAY, IDB_TEST_NORMAL,
                               IDB_TEST_HOVER, IDB_TEST_PRESSED, &parent));
    LONG style = ::GetWindowLongA(b.m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_VISIBLE | WS_TABSTOP | WS_BORDER));
    EXPECT_EQ(::GetParent(b.m_hWnd), parent.m_hWnd);
    EXPECT_EQ(b.GetWindowText(), "F&D");
    EXPECT_EQ(::GetClassLongPtrA(b.m_hWnd, GCLP_HCURSOR), 0);

    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(b.m_hWnd, rgn), ERROR);
    // Black corners and the black pixel in the middle are cut away.
    for (POINT cut : {POINT{0, 0}, POINT{4, 4}, POINT{39, 0}, POINT{0, 29}, POINT{39, 29}, POINT{35, 25},
                      POINT{20, 15}})
        EXPECT_FALSE(::PtInRegion(rgn, cut.x, cut.y)) << cut.x << "," << cut.y;
    // Near-black tones stay, as does everything else.
    for (POINT kept : {POINT{1, 1}, POINT{3, 2}, POINT{2, 3}, POINT{5, 0}, POINT{0, 5}, POINT{19, 15},
                       POINT{21, 15}, POINT{34, 29}})
        EXPECT_TRUE(::PtInRegion(rgn, kept.x, kept.y)) << kept.x << "," << kept.y;

    // An all-white shape gives the whole rectangle.
    HRGN whole = ::CreateRectRgn(0, 0, 40, 30);
    ASSERT_NE(::GetWindowRgn(plain.m_hWnd, rgn), ERROR);
    EXPECT_TRUE(::EqualRgn(rgn, whole));
    ::DeleteObject(whole);
    ::DeleteObject(rgn);
}

TEST_F(SkinButtonTest, CutAwayPixelsAreNeitherDrawnNorHit)
{
    EXPECT_EQ(::WindowFromPoint(OnCorners(10, 10)), corners.m_hWnd);
    EXPECT_EQ(::WindowFromPoint(OnCorners(1, 1)), corners.m_hWnd);
    EXPECT_EQ(::WindowFromPoint(OnCorners(0, 0)), parent.m_hWnd);
    EXPECT_EQ(::WindowFromPoint(OnCorners(20, 15)), parent.m_hWnd);

    // On the screen: the face inside, the parent's background in the corner.
    ::RedrawWindow(parent.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(50);
    HDC screen = ::GetDC(nullptr);
    POINT inside = OnCorners(30, 5), corner = OnCorners(0, 0);
    EXPECT_EQ(::GetPixel(screen, inside.x, inside.y), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(::GetPixel(screen, corner.x, corner.y), ::GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(nullptr, screen);
}

TEST_F(SkinButtonTest, PaintsTheFaceWithTheOverlayOredOn)
{
    std::vector<std::uint32_t> face = Painted(corners, 40, 30);
    EXPECT_EQ(face[0], kNormal);
    EXPECT_EQ(face[1 * 40 + 2], kMarker); // not flipped or shifted
    EXPECT_EQ(face[29 * 40 + 39], kNormal);
    EXPECT_EQ(face[12 * 40 + 12], 0xFFFFFFu);                // white overlay pixel
    EXPECT_EQ(face[22 * 40 + 27], kNormal | 0x404040u);      // grey overlay pixel OR-ed
    EXPECT_EQ(face[22 * 40 + 27], 0x506070u);

    // An all-black overlay one pixel smaller than the button changes nothing,
    // up to the last row and column.
    std::vector<std::uint32_t> same = Painted(plain, 40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(same[y * 40 + x], (x == 2 && y == 1) ? kMarker : kNormal) << x << "," << y;
}

TEST_F(SkinButtonTest, AClickPostsTheButtonAndTheReleasePointToTheParent)
{
    MoveTo(OnCorners(10, 10));
    EXPECT_EQ(corners.State().hover, 1);
    EXPECT_EQ(::GetCapture(), corners.m_hWnd);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kHover);
    Press();
    EXPECT_EQ(PaintedAt(corners, 0, 0), kPressed);
    EXPECT_NE(::GetFocus(), corners.m_hWnd);
    MoveTo(OnCorners(12, 14));
    EXPECT_TRUE(parent.Clicks().empty());
    Release();

    ASSERT_TRUE(PumpUntil([&] { return !parent.Clicks().empty(); }, 2000));
    PumpFor(50);
    auto clicks = parent.Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wp, reinterpret_cast<WPARAM>(static_cast<CSkinButton*>(&corners)));
    EXPECT_EQ(clicks[0].lp, MAKELPARAM(12, 14));
    // Still lit, with the capture, until the cursor leaves.
    EXPECT_EQ(corners.State().hover, 1);
    EXPECT_EQ(corners.State().pressed, 0);
    EXPECT_EQ(::GetCapture(), corners.m_hWnd);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kHover);
    MoveTo(Parent(300, 300));
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kNormal);

    // Moving across the cut corner is moving off the button.
    MoveTo(OnCorners(10, 10));
    EXPECT_EQ(corners.State().hover, 1);
    MoveTo(OnCorners(1, 0));
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    // The message sent to the button itself goes nowhere.
    EXPECT_EQ(corners.SendMessage(WM_SKINBUTTON_CLICKED, 0, 0), 0);
    PumpFor(50);
    EXPECT_EQ(parent.Clicks().size(), 1u);
}

TEST_F(SkinButtonTest, NoClickWhenTheCursorLeftTheButtonInBetween)
{
    // Pressed, dragged out, released outside.
    MoveTo(OnCorners(10, 10));
    Press();
    MoveTo(Parent(300, 300));
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(corners.State().pressed, 1);
    EXPECT_EQ(::GetCapture(), corners.m_hWnd);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kNormal);
    Release();
    EXPECT_EQ(corners.State().pressed, 0);
    MoveTo(Parent(305, 300));
    EXPECT_EQ(::GetCapture(), nullptr);

    // Pressed, dragged out and back in, released inside.
    MoveTo(OnCorners(10, 10));
    Press();
    MoveTo(Parent(300, 300));
    MoveTo(OnCorners(15, 15));
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kNormal);
    Release();
    // It lights up again only after the cursor has left it once.
    MoveTo(OnCorners(16, 15));
    EXPECT_EQ(corners.State().hover, 0);
    MoveTo(Parent(300, 300));
    MoveTo(OnCorners(10, 10));
    EXPECT_EQ(corners.State().hover, 1);
    MoveTo(Parent(300, 300));

    // Pressed on the parent, moved onto the button with the button held,
    // released there.
    Press();
    MoveTo(OnCorners(10, 10));
    EXPECT_GT(corners.moves, 0);
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kNormal);
    Release();

    PumpFor(100);
    EXPECT_TRUE(parent.Clicks().empty());
}

TEST_F(SkinButtonTest, DoesNotLightUpWhileAnotherApplicationIsActive)
{
    DWORD pid = 0;
    HANDLE probe = StartSibling("controls_probe.exe", "foreground", &pid);
    ASSERT_TRUE(probe);
    HWND hProbe = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        hProbe = ::GetForegroundWindow();
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hProbe, &owner);
        return owner == pid && ::GetActiveWindow() == nullptr;
    }));

    int before = corners.moves;
    MoveTo(OnCorners(10, 10));
    MoveTo(OnCorners(11, 10));
    EXPECT_GT(corners.moves, before); // the moves did reach the button
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_NE(::GetCapture(), corners.m_hWnd);
    MoveTo(Parent(300, 300));

    ::PostMessageA(hProbe, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(probe, 0) == WAIT_OBJECT_0; }));
    ::CloseHandle(probe);

    // Active again: the same move lights it up.
    ::SetForegroundWindow(parent.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == parent.m_hWnd; }));
    MoveTo(OnCorners(10, 10));
    EXPECT_EQ(corners.State().hover, 1);
}

TEST_F(SkinButtonTest, LeavesTheCaptureToAWindowThatTookIt)
{
    HWND other = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 10, 20, 20, parent.m_hWnd, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    MoveTo(OnCorners(10, 10));
    ASSERT_EQ(::GetCapture(), corners.m_hWnd);
    Press();
    ::SetCapture(other);
    EXPECT_EQ(::GetCapture(), other);
    // The button keeps its state and shows it until the cursor next moves.
    EXPECT_EQ(corners.State().hover, 1);
    EXPECT_EQ(corners.State().pressed, 1);
    Release();
    ::ReleaseCapture();
    ::DestroyWindow(other);
}

TEST_F(SkinButtonTest, LosingTheFocusDarkensTheButton)
{
    MoveTo(OnCorners(10, 10));
    ASSERT_EQ(corners.State().hover, 1);
    ::SetFocus(corners.m_hWnd);
    ::SetFocus(parent.m_hWnd);
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_EQ(PaintedAt(corners, 0, 0), kNormal);
}

} // namespace
