// End-to-end set-up: the program's shell folders and Temp on scratch folders
// with files in them, its settings key as a test wants it, and the program
// started with real input to drive it.
#pragma once
#include "tests/support/Program.h"
#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const char kSettingKey[];

// Counts the screen-saver command that the hot-key hook broadcasts.
class ScreenSaverListener {
public:
    ScreenSaverListener()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "BrightsweepE2EListener";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, wc.lpszClassName, "listener", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 50,
                                   200, 150, nullptr, nullptr, wc.hInstance, nullptr);
        s_count = s_escapes = 0;
    }
    ~ScreenSaverListener() { ::DestroyWindow(m_hWnd); }
    int Count() const { return s_count; }
    // Escape presses that reached the window itself.
    int Escapes() const { return s_escapes; }
    void Focus() const
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
        PumpFor(200);
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_SYSCOMMAND && (w & 0xFFF0) == SC_SCREENSAVE) {
            ++s_count;
            return 0;
        }
        s_escapes += m == WM_KEYDOWN && w == VK_ESCAPE;
        return ::DefWindowProcA(h, m, w, l);
    }
    static int s_count, s_escapes;
    HWND m_hWnd;
};

class E2ETest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Folders the program cleans: S:\e2e\<name>, each with a file and a subfolder.
    std::string Folder(const std::string& name) const { return root + "\\" + name; }
    void Fill(const std::string& name);
    bool Emptied(const std::string& name) const;
    std::string Setting(const char* value) const { return ReadString(HKEY_CURRENT_USER, kSettingKey, value); }

    // A skin button's centre on the screen, and a click there.
    POINT ButtonCentre(const char* caption) const;
    void ClickButton(const char* caption);
    std::string Status() const { return program.Pane(1007); }
    std::string Log() const { return program.Pane(1006); }

    // The program's notification-area icon, found as what changed in the
    // taskbar's notification area since before the program started: its
    // centre in screen coordinates, or false when nothing shows there.
    bool TrayIcon(POINT* centre = nullptr) const;
    bool TrayIconShown() const { return TrayIcon(); }
    // Opens the tray menu with a real right-click on the icon; its window or null.
    HWND OpenTrayMenu() const;
    // Chooses the tray menu's item with the keyboard: 0 to 8, separators not counted.
    void ChooseFromTray(int position) const;
    // The tip the taskbar shows while the pointer rests on the icon; empty
    // when none shows.
    std::string TrayTip() const;
    // The tip the program shows while the pointer rests on a skin button.
    std::string ButtonTip(const char* caption) const;

    std::string root;
    CProgram program;
    std::vector<COLORREF> m_trayBefore;
};
