// What the user sees: the screen shows the skin and its panes in their
// colours. The captures are saved under the build's "screenshots" folder
// (tools/screenshots turns them into the README's pictures).
#include "tests/e2e/E2EFixture.h"

#include <commctrl.h>
#include <cstdio>

namespace {

// Saves the whole screen, or the part of it under a window, as a 24-bit BMP
// file; false on failure.
bool SaveScreen(const std::string& path, HWND only = nullptr)
{
    RECT rc = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (only)
        ::GetWindowRect(only, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
    BITMAPFILEHEADER bf = {};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi.bmiHeader);
    bf.bfSize = bf.bfOffBits + size;
    bool ok = false;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        ok = std::fwrite(&bf, sizeof(bf), 1, f) == 1 && std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, 1, size, f) == size;
        std::fclose(f);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return ok;
}

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

using Screenshot = E2ETest;

TEST_F(Screenshot, TheScreenShowsTheSkinAndThePanesInTheirColours)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK") != std::string::npos; }));
    ::SetCursorPos(700, 600);
    PumpFor(300);
    HWND main = program.MainWindow();
    // Inside the log pane, below its text; the skin's frame; outside the
    // rounded outline the desktop shows through.
    EXPECT_EQ(ScreenPixel(main, 200, 350), RGB(52, 134, 255));
    EXPECT_NE(ScreenPixel(main, 140, 100), RGB(52, 134, 255));
    RECT rc;
    ::GetWindowRect(main, &rc);
    EXPECT_NE(::WindowFromPoint(POINT{rc.left + 1, rc.top + 1}), main); // cut-away corner
    EXPECT_EQ(::WindowFromPoint(POINT{rc.left + 140, rc.top + 100}), main);

    ::CreateDirectoryA("P:\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreen("P:\\screenshots\\main.bmp"));
    ClickButton("About");
    ASSERT_TRUE(WaitFor([&] { return program.FindWindowOfProgram("#32770", "About Brightsweep") != nullptr; }));
    ::SetCursorPos(700, 600);
    PumpFor(300);
    EXPECT_TRUE(SaveScreen("P:\\screenshots\\about.bmp"));
    CProgram::Key(VK_ESCAPE);
}

TEST_F(Screenshot, TheFourSettingsPages)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Set");
    HWND sheet = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (sheet = program.FindWindowOfProgram("#32770", "Setting")) != nullptr; }));
    ::CreateDirectoryA("P:\\screenshots", nullptr);
    const char* pages[] = {"content", "mode", "hotkey", "custom"};
    for (int i = 0; i < 4; ++i) {
        ::SendMessageA(sheet, PSM_SETCURSEL, i, 0);
        ::SetCursorPos(5, 5);
        PumpFor(300);
        EXPECT_TRUE(SaveScreen(std::string("P:\\screenshots\\sheet-") + pages[i] + ".bmp", sheet));
    }
    ::PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
}

} // namespace
