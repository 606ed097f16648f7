#include "tests/e2e/E2EFixture.h"

#include "res/SkinLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>

const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";
int ScreenSaverListener::s_count = 0, ScreenSaverListener::s_escapes = 0;

namespace {

// Where the Wine desktop's taskbar shows its first notification icon, also
// while it is hidden: the screen's bottom right square of small-icon size plus
// a two-pixel border each side.
RECT TrayArea()
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    return RECT{cx - (::GetSystemMetrics(SM_CXSMICON) + 4), cy - (::GetSystemMetrics(SM_CYSMICON) + 4), cx, cy};
}

std::vector<COLORREF> Pixels(const RECT& rc)
{
    // The pointer is drawn into the screen: keep it out of the way.
    ::SetCursorPos(5, 5);
    PumpFor(100);
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(::GetPixel(screen, x, y));
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

struct TipSearch {
    DWORD pid;
    std::string text;
};

// Stops at the first visible tip window of the taskbar's process that shows
// a tip.
BOOL CALLBACK FindShownTip(HWND hWnd, LPARAM lp)
{
    auto* f = reinterpret_cast<TipSearch*>(lp);
    DWORD pid = 0;
    char cls[32] = "";
    ::GetWindowThreadProcessId(hWnd, &pid);
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (pid != f->pid || lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    // A tip window answers with the tip it shows; GetWindowTextA would
    // read another process's window's caption instead.
    char text[256] = "";
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    f->text = text;
    return f->text.empty();
}

// The text of a tip window that process shows; empty when none shows.
std::string ShownTip(DWORD pid)
{
    TipSearch find = {pid, ""};
    ::EnumWindows(FindShownTip, reinterpret_cast<LPARAM>(&find));
    return find.text;
}

std::string ShownTaskbarTip()
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(::FindWindowA("Shell_TrayWnd", nullptr), &pid);
    return ShownTip(pid);
}

} // namespace

void E2ETest::SetUp()
{
    root = FreshScratch("e2e");
    for (const char* name : {"Cache", "Cookies", "Favorites", "History", "Recent", "Temp"}) {
        MakeDir(Folder(name));
        Fill(name);
    }
    for (const char* value : {"Cache", "Cookies", "Favorites", "History", "Recent"})
        SetString(HKEY_CURRENT_USER, kShellFoldersKey, value, Folder(value));
    // The program inherits this environment.
    ::SetEnvironmentVariableA("TEMP", (Folder("Temp") + "\\").c_str());
    ::SetEnvironmentVariableA("TMP", (Folder("Temp") + "\\").c_str());
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0");
    // The desktop starts with the first use of it; its taskbar shows with
    // the first icon.
    ::GetDesktopWindow();
    ASSERT_TRUE(WaitFor([] { return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, 10000));
    ::RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(200);
    m_trayBefore = Pixels(TrayArea());
}

void E2ETest::TearDown()
{
    program.Kill();
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0");
    // The prefix's next start would run it.
    DeleteValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Brightsweep");
}

void E2ETest::Fill(const std::string& name)
{
    WriteFile(Folder(name) + "\\file.txt");
    MakeDir(Folder(name) + "\\sub");
    WriteFile(Folder(name) + "\\sub\\inner.txt");
}

bool E2ETest::Emptied(const std::string& name) const
{
    return Exists(Folder(name)) && ListDir(Folder(name)).empty();
}

POINT E2ETest::ButtonCentre(const char* caption) const
{
    POINT pt = {0, 0};
    for (const SkinButtonLayout& b : kSkinButtons)
        if (std::strcmp(b.caption, caption) == 0) {
            pt = POINT{b.x + b.width / 2, b.y + b.height / 2};
            ::ClientToScreen(program.MainWindow(), &pt);
            return pt;
        }
    ADD_FAILURE() << "no button " << caption;
    return pt;
}

void E2ETest::ClickButton(const char* caption)
{
    CProgram::ClickScreen(ButtonCentre(caption));
    PumpFor(150);
}

bool E2ETest::TrayIcon(POINT* centre) const
{
    RECT area = TrayArea();
    std::vector<COLORREF> now = Pixels(area);
    if (now.size() != m_trayBefore.size() || now.empty())
        return false;
    int width = area.right - area.left;
    RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i] != m_trayBefore[i]) {
            int x = area.left + static_cast<int>(i) % width, y = area.top + static_cast<int>(i) / width;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x);
            box.bottom = std::max<LONG>(box.bottom, y);
        }
    if (box.left > box.right)
        return false;
    if (centre)
        *centre = POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    return true;
}

HWND E2ETest::OpenTrayMenu() const
{
    POINT pt;
    if (!WaitFor([&] { return TrayIcon(&pt); }, 5000))
        return nullptr;
    CProgram::ClickScreen(pt, true);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = program.FindWindowOfProgram("#32768")) != nullptr && ::IsWindowVisible(menu); },
            5000);
    return menu;
}

std::string E2ETest::TrayTip() const
{
    POINT pt;
    if (!WaitFor([&] { return TrayIcon(&pt); }, 5000))
        return "";
    std::string tip;
    CProgram::MoveScreen(pt);
    WaitFor([&] { return !(tip = ShownTaskbarTip()).empty(); }, 5000);
    CProgram::MoveScreen(POINT{5, 5}); // the tip goes with the pointer
    WaitFor([&] { return ShownTaskbarTip().empty(); }, 5000);
    return tip;
}

std::string E2ETest::ButtonTip(const char* caption) const
{
    std::string tip;
    CProgram::MoveScreen(ButtonCentre(caption));
    WaitFor([&] { return !(tip = ShownTip(program.ProcessId())).empty(); }, 5000);
    CProgram::MoveScreen(POINT{5, 5});
    WaitFor([&] { return ShownTip(program.ProcessId()).empty(); }, 5000);
    return tip;
}

void E2ETest::ChooseFromTray(int position) const
{
    ASSERT_NE(OpenTrayMenu(), nullptr);
    // Down selects "Maximize" first.
    for (int i = 0; i <= position; ++i)
        CProgram::Key(VK_DOWN);
    CProgram::Key(VK_RETURN);
}
