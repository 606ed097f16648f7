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
        moves += msg == WM_MOUSEMOVE;
        return CSkinButton::WindowProc(msg, wp, lp);
    }
};

// What the 40x30 button paints into a 32-bit memory context, 0x00RRGGBB.
std::vector<std::uint32_t> Painted(CSkinButton& button)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    EXPECT_TRUE(button.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc)));
    ::GdiFlush();
    auto* p = static_cast<std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(p, p + 40 * 30);
    for (auto& px : out)
        px &= 0xFFFFFF;
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return out;
}

std::uint32_t Face(CSkinButton& button)
{
    return Painted(button)[0];
}

// Mouse input is posted and routed as the system routes it: to the window that
// holds the capture, else to the window under the point (WindowFromPoint
// honours window regions), and the pointer is put there. SendInput is not
// used: the virtual desktop replays stale pointer positions after it.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The real pointer rests outside every window of the test.
        ::SetCursorPos(1000, 500);
        PumpFor(100);
        Place(corners, IDB_TEST_SHAPE_CORNERS, IDB_TEST_OVERLAY, 100);
        Place(plain, IDB_TEST_SHAPE_WHITE, IDB_TEST_OVERLAY_SMALL, 200);
        ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == parent.m_hWnd; }));
        MoveTo(Away());
    }
    void TearDown() override
    {
        if (m_left)
            Release();
        MoveTo(Away());
    }
    void Place(CSkinButton& b, UINT shape, UINT overlay, int x)
    {
        ASSERT_TRUE(b.CreateButton("Start", RECT{0, 0, 40, 30}, shape, overlay, IDB_TEST_NORMAL,
                                   IDB_TEST_HOVER, IDB_TEST_PRESSED, &parent));
        b.MoveWindow(x, 100, 40, 30, TRUE);
        b.ShowWindow(SW_SHOW);
        ::UpdateWindow(b.m_hWnd);
    }
    void Post(UINT msg)
    {
        HWND target = ::GetCapture() ? ::GetCapture() : ::WindowFromPoint(m_at);
        POINT client = m_at;
        ::ScreenToClient(target, &client);
        ::PostMessageA(target, msg, m_left ? MK_LBUTTON : 0, MAKELPARAM(client.x, client.y));
        PumpFor(20);
    }
    // The real pointer goes along, as a lit button watches it, except while
    // the left button is held in play (its move would report it up); the
    // system's own move is taken before the posted one.
    void MoveTo(POINT screen)
    {
        m_at = screen;
        // The virtual desktop may replay an older position once.
        for (int i = 0; i < 20 && !m_left && !PointerAt(screen); ++i) {
            ::SetCursorPos(screen.x, screen.y);
            PumpFor(30);
        }
        Post(WM_MOUSEMOVE);
    }
    static bool PointerAt(POINT screen)
    {
        POINT now;
        return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
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
    POINT Away() const { return ToScreen(parent.m_hWnd, 300, 300); }
    POINT On(int x, int y) const { return ToScreen(corners.m_hWnd, x, y); }

    RecordingWindow parent;
    CountingButton corners, plain;
    POINT m_at = {0, 0};
    bool m_left = false;
};

TEST_F(SkinButtonTest, IsAHiddenChildCutToItsShape)
{
    CSkinButton b;
    ASSERT_TRUE(b.CreateButton("F&D", RECT{5, 5, 45, 35}, IDB_TEST_SHAPE_CORNERS, IDB_TEST_OVERLAY,
                               IDB_TEST_NORMAL, IDB_TEST_HOVER, IDB_TEST_PRESSED, &parent));
    EXPECT_EQ(::GetWindowLongA(b.m_hWnd, GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_CHILD | WS_TABSTOP));
    EXPECT_EQ(b.GetWindowText(), "F&D");
    EXPECT_EQ(::GetClassLongPtrA(b.m_hWnd, GCLP_HCURSOR), 0);

    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(b.m_hWnd, rgn), ERROR);
    // Black corners and the black pixel in the middle are cut away; near-black
    // tones stay.
    for (POINT cut : {POINT{0, 0}, POINT{4, 4}, POINT{39, 0}, POINT{0, 29}, POINT{35, 25}, POINT{20, 15}})
        EXPECT_FALSE(::PtInRegion(rgn, cut.x, cut.y)) << cut.x << "," << cut.y;
    for (POINT kept : {POINT{1, 1}, POINT{3, 2}, POINT{2, 3}, POINT{5, 0}, POINT{19, 15}, POINT{34, 29}})
        EXPECT_TRUE(::PtInRegion(rgn, kept.x, kept.y)) << kept.x << "," << kept.y;
    // An all-white shape gives the whole rectangle.
    HRGN whole = ::CreateRectRgn(0, 0, 40, 30);
    ASSERT_NE(::GetWindowRgn(plain.m_hWnd, rgn), ERROR);
    EXPECT_TRUE(::EqualRgn(rgn, whole));
    ::DeleteObject(whole);
    ::DeleteObject(rgn);

    // Cut-away pixels are neither hit nor drawn.
    EXPECT_EQ(::WindowFromPoint(On(1, 1)), corners.m_hWnd);
    EXPECT_EQ(::WindowFromPoint(On(0, 0)), parent.m_hWnd);
    EXPECT_EQ(::WindowFromPoint(On(20, 15)), parent.m_hWnd);
    ::RedrawWindow(parent.m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC screen = ::GetDC(nullptr);
    POINT inside = On(30, 5), corner = On(0, 0);
    EXPECT_EQ(::GetPixel(screen, inside.x, inside.y), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(::GetPixel(screen, corner.x, corner.y), ::GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(nullptr, screen);
}

TEST_F(SkinButtonTest, PaintsTheFaceWithTheOverlayOredOn)
{
    std::vector<std::uint32_t> face = Painted(corners);
    EXPECT_EQ(face[0], kNormal);
    EXPECT_EQ(face[1 * 40 + 2], kMarker); // neither flipped nor shifted
    EXPECT_EQ(face[29 * 40 + 39], kNormal);
    EXPECT_EQ(face[12 * 40 + 12], 0xFFFFFFu); // white overlay pixel
    EXPECT_EQ(face[22 * 40 + 27], 0x506070u); // grey 0x404040 OR-ed on
    // An all-black overlay one pixel smaller than the button changes nothing.
    std::vector<std::uint32_t> same = Painted(plain);
    for (int i = 0; i < 40 * 30; ++i)
        ASSERT_EQ(same[i], i == 1 * 40 + 2 ? kMarker : kNormal) << i;
}

TEST_F(SkinButtonTest, AClickPostsTheButtonAndTheReleasePointToTheParent)
{
    MoveTo(On(10, 10));
    EXPECT_EQ(Face(corners), kHover);
    EXPECT_EQ(::GetCapture(), nullptr);
    Press();
    EXPECT_EQ(::GetCapture(), corners.m_hWnd);
    EXPECT_EQ(Face(corners), kPressed);
    EXPECT_NE(::GetFocus(), corners.m_hWnd);
    MoveTo(On(12, 14));
    Release();
    PumpFor(50);
    auto clicks = parent.Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wp, reinterpret_cast<WPARAM>(static_cast<CSkinButton*>(&corners)));
    EXPECT_EQ(clicks[0].lp, MAKELPARAM(12, 14));
    // Lit until the cursor leaves, also across a cut corner, which only the
    // parent hears of.
    EXPECT_EQ(::GetCapture(), nullptr);
    PumpFor(150);
    EXPECT_EQ(Face(corners), kHover);
    MoveTo(On(1, 0));
    EXPECT_TRUE(PumpUntil([&] { return Face(corners) == kNormal; }));

    // A press and release with no move before.
    m_at = On(20, 20);
    Press();
    Release();
    EXPECT_TRUE(PumpUntil([&] { return parent.Clicks().size() == 2; }));

    // The message sent to the button itself goes nowhere.
    EXPECT_EQ(corners.SendMessage(WM_SKINBUTTON_CLICKED, 0, 0), 0);
    PumpFor(50);
    EXPECT_EQ(parent.Clicks().size(), 2u);
}

TEST_F(SkinButtonTest, NoClickWhenTheCursorLeftTheButtonInBetween)
{
    // Pressed, dragged out, released outside: the capture is kept meanwhile.
    MoveTo(On(10, 10));
    Press();
    MoveTo(Away());
    EXPECT_EQ(::GetCapture(), corners.m_hWnd);
    EXPECT_EQ(Face(corners), kNormal);
    Release();
    MoveTo(Away());
    EXPECT_EQ(::GetCapture(), nullptr);

    // Pressed, dragged out and back in, released inside.
    MoveTo(On(10, 10));
    Press();
    MoveTo(Away());
    MoveTo(On(15, 15));
    EXPECT_EQ(Face(corners), kNormal);
    Release();

    // Pressed on the parent, moved onto the button, released there.
    MoveTo(Away());
    Press();
    MoveTo(On(10, 10));
    EXPECT_GT(corners.moves, 0);
    EXPECT_EQ(Face(corners), kNormal);
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
    MoveTo(On(10, 10));
    EXPECT_GT(corners.moves, before); // the move did reach the button
    EXPECT_EQ(corners.State().hover, 0);
    EXPECT_NE(::GetCapture(), corners.m_hWnd);
    MoveTo(Away());

    ::PostMessageA(hProbe, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(probe, 0) == WAIT_OBJECT_0; }));
    ::CloseHandle(probe);
    // Active again: the same move lights it up.
    ::SetForegroundWindow(parent.m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == parent.m_hWnd; }));
    MoveTo(On(10, 10));
    EXPECT_EQ(corners.State().hover, 1);
}

TEST_F(SkinButtonTest, LeavesTheCaptureToAWindowThatTookItAndDropsThePress)
{
    HWND other = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 10, 20, 20, parent.m_hWnd,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
    MoveTo(On(10, 10));
    Press();
    ASSERT_EQ(::GetCapture(), corners.m_hWnd);
    ::SetCapture(other);
    EXPECT_EQ(::GetCapture(), other);
    EXPECT_EQ(corners.State().pressed, 0);
    EXPECT_EQ(Face(corners), kHover);
    ::ReleaseCapture();
    m_at = On(12, 12);
    Release();
    PumpFor(50);
    EXPECT_TRUE(parent.Clicks().empty());
    ::DestroyWindow(other);
}

} // namespace

namespace {

TEST_F(SkinButtonTest, TheFocusedButtonShowsDottedLinesInsideItsOutlineAndSpaceClicksIt)
{
    // The first inset whose corners are all inside: past the cut 5x5 corners.
    const RECT inCorners = {5, 5, 35, 25}, inPlain = {3, 3, 37, 27};
    EXPECT_TRUE(::EqualRect(&corners.FocusRect(), &inCorners));
    EXPECT_TRUE(::EqualRect(&plain.FocusRect(), &inPlain));

    const std::vector<std::uint32_t> unfocused = Painted(corners);
    ::SetFocus(corners.m_hWnd);
    const std::vector<std::uint32_t> focused = Painted(corners);
    const RECT& rc = corners.FocusRect();
    int dots = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            bool edge = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom &&
                        (x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1);
            bool changed = focused[y * 40 + x] != unfocused[y * 40 + x];
            ASSERT_TRUE(edge || !changed) << x << "," << y;
            dots += changed;
        }
    // Every other pixel of the 96-pixel outline.
    EXPECT_GE(dots, 44);
    EXPECT_LE(dots, 52);

    ::PostMessageA(corners.m_hWnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::PostMessageA(corners.m_hWnd, WM_KEYUP, VK_SPACE, 0xC0390001);
    PumpFor(50);
    auto clicks = parent.Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wp, reinterpret_cast<WPARAM>(static_cast<CSkinButton*>(&corners)));

    ::SetFocus(parent.m_hWnd);
    EXPECT_EQ(Painted(corners), unfocused);
}

} // namespace
