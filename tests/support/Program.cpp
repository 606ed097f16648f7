#include "tests/support/Program.h"

#include "tests/support/Windows.h"

namespace {

struct Search {
    DWORD pid;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK SearchProc(HWND hWnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != s->pid)
        return TRUE;
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpA(cls, s->className) != 0)
        return TRUE;
    if (s->caption && WindowText(hWnd) != s->caption)
        return TRUE;
    s->found = hWnd;
    return FALSE;
}

INPUT MouseInput(DWORD flags, POINT pt)
{
    int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (pt.x * 65536 + w / 2) / w;
    in.mi.dy = (pt.y * 65536 + h / 2) / h;
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void SendMouse(DWORD flags, POINT pt)
{
    INPUT in = MouseInput(flags, pt);
    ::SendInput(1, &in, sizeof(in));
    PumpFor(30);
}

} // namespace

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    return PumpUntil(done, timeoutMs);
}

CProgram::~CProgram()
{
    Kill();
    if (m_hProcess)
        ::CloseHandle(m_hProcess);
}

bool CProgram::Start(DWORD timeoutMs, const std::string& exePath)
{
    return Launch("", true, timeoutMs, exePath);
}

bool CProgram::Start(const char* args, bool shown, DWORD timeoutMs)
{
    return Launch(args, shown, timeoutMs, "");
}

bool CProgram::Launch(const char* args, bool shown, DWORD timeoutMs, const std::string& exePath)
{
    if (m_hProcess) // an earlier start's
        ::CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_hMain = nullptr;
    if (exePath.empty()) {
        // From its own folder, as tools/run starts it.
        m_hProcess = StartSibling("Brightsweep.exe", args, &m_pid, true);
    } else {
        std::string cmd = "\"" + exePath + "\"" + (*args ? std::string(" ") + args : std::string());
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ::CloseHandle(pi.hThread);
            m_hProcess = pi.hProcess;
            m_pid = pi.dwProcessId;
        }
    }
    if (!m_hProcess)
        return false;
    return WaitFor(
        [&] {
            m_hMain = FindWindowOfProgram("#32770", "Brightsweep");
            return m_hMain && (!shown || ::IsWindowVisible(m_hMain)) && !Pane(1007).empty();
        },
        timeoutMs);
}

void CProgram::Kill()
{
    // The tray menu's "Exit" first, which takes the icon away; killing the
    // process would leave it in the notification area.
    if (Running() && m_hMain) {
        ::PostMessageA(m_hMain, WM_COMMAND, 32773, 0);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
    if (Running()) {
        ::TerminateProcess(m_hProcess, 99);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
}

bool CProgram::Running() const
{
    return m_hProcess && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CProgram::WaitExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!m_hProcess)
        return false;
    if (!WaitFor([&] { return !Running(); }, timeoutMs))
        return false;
    if (exitCode)
        ::GetExitCodeProcess(m_hProcess, exitCode);
    return true;
}

std::string CProgram::Pane(int id) const
{
    HWND pane = ::GetDlgItem(m_hMain, id);
    if (!pane)
        return std::string();
    char text[8192] = "";
    ::SendMessageTimeoutA(pane, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return text;
}

HWND CProgram::FindWindowOfProgram(const char* className, const char* caption) const
{
    Search s = {m_pid, className, caption, nullptr};
    ::EnumWindows(SearchProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void CProgram::ClickScreen(POINT pt, bool right)
{
    // Arrive from beside the point, so that the window there sees a move.
    SendMouse(MOUSEEVENTF_MOVE, POINT{pt.x - 2, pt.y - 2});
    SendMouse(MOUSEEVENTF_MOVE, pt);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, pt);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, pt);
}

void CProgram::MoveScreen(POINT pt)
{
    SendMouse(MOUSEEVENTF_MOVE, pt);
}

void CProgram::QuickClickScreen(POINT pt)
{
    INPUT in[2] = {MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, pt), MouseInput(MOUSEEVENTF_LEFTUP, pt)};
    ::SendInput(2, in, sizeof(INPUT));
    PumpFor(30);
}

void CProgram::Click(int x, int y, bool right) const
{
    POINT pt = {x, y};
    ::ClientToScreen(m_hMain, &pt);
    ClickScreen(pt, right);
}

void CProgram::DoubleClick(int x, int y) const
{
    POINT pt = {x, y};
    ::ClientToScreen(m_hMain, &pt);
    DoubleClickScreen(pt);
}

void CProgram::DoubleClickScreen(POINT pt)
{
    SendMouse(MOUSEEVENTF_MOVE, pt);
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, pt);
        SendMouse(MOUSEEVENTF_LEFTUP, pt);
    }
}

void CProgram::Drag(int x0, int y0, int x1, int y1) const
{
    POINT a = {x0, y0}, b = {x1, y1};
    ::ClientToScreen(m_hMain, &a);
    ::ClientToScreen(m_hMain, &b);
    SendMouse(MOUSEEVENTF_MOVE, a);
    SendMouse(MOUSEEVENTF_LEFTDOWN, a);
    for (int i = 1; i <= 5; ++i) {
        POINT p = {a.x + (b.x - a.x) * i / 5, a.y + (b.y - a.y) * i / 5};
        SendMouse(MOUSEEVENTF_MOVE, p);
    }
    SendMouse(MOUSEEVENTF_LEFTUP, b);
    PumpFor(100);
}

void CProgram::Key(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
    PumpFor(50);
}
