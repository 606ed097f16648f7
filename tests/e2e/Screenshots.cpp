// Takes the README's pictures of the running program with the end-to-end rig
// and saves them under the build's "screenshots" folder, from where
// tools/screenshots crops them into docs/. A tool, not a test: ctest does not
// run it.
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

using Pictures = E2ETest;

TEST_F(Pictures, MainWindowAfterARunAndTheAboutBox)
{
    ASSERT_TRUE(program.Start());
    ClickButton("Start");
    ASSERT_TRUE(WaitFor([&] { return Log().find("End cleaning...OK") != std::string::npos; }));
    ::SetCursorPos(700, 600);
    PumpFor(300);
    ::CreateDirectoryA("P:\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreen("P:\\screenshots\\main.bmp"));
    ClickButton("About");
    ASSERT_TRUE(WaitFor([&] { return program.FindWindowOfProgram("#32770", "About Brightsweep") != nullptr; }));
    ::SetCursorPos(700, 600);
    PumpFor(300);
    EXPECT_TRUE(SaveScreen("P:\\screenshots\\about.bmp"));
    CProgram::Key(VK_ESCAPE);
}

TEST_F(Pictures, TheFourSettingsPages)
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
