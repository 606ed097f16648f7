// Starts Brightsweep.exe from the folder given (an unpacked release archive),
// with that folder as its current directory, waits for its main window with a
// filled status pane, ends it through the tray menu's "Exit" and checks that
// it ended with code 0. Prints what it saw; exit code 0 when all held.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMain(HWND hWnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (pid == s->pid && std::string(cls) == "#32770" && ::IsWindowVisible(hWnd)) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: package_probe FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    std::string cmd = "\"" + folder + "\\Brightsweep.exe\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::printf("FAIL: cannot start %s (error %lu)\n", cmd.c_str(), ::GetLastError());
        return 1;
    }
    char status[256] = "";
    Search s = {pi.dwProcessId, nullptr};
    for (int waited = 0; waited < 60000 && !status[0]; waited += 100) {
        ::Sleep(100);
        s.found = nullptr;
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            ::GetDlgItemTextA(s.found, 1007, status, sizeof(status));
    }
    if (!status[0]) {
        std::printf("FAIL: no main window with a status pane within 60 s\n");
        ::TerminateProcess(pi.hProcess, 99);
        return 1;
    }
    std::printf("status pane: %s\n", status);
    ::PostMessageA(s.found, WM_COMMAND, 32773, 0); // the tray menu's "Exit"
    DWORD code = 99;
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        std::printf("FAIL: still running 10 s after Exit\n");
        ::TerminateProcess(pi.hProcess, 99);
        return 1;
    }
    ::GetExitCodeProcess(pi.hProcess, &code);
    std::printf("exit code %lu\n", code);
    return code == 0 ? 0 : 1;
}
