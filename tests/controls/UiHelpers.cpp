#include "tests/controls/UiHelpers.h"

#include "controls/Messages.h"
#include "tests/support/Windows.h"

RecordingWindow::RecordingWindow(RECT rc)
{
    const char* cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    CreateEx(0, cls, "recorder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc, nullptr, 0);
    ::SetForegroundWindow(m_hWnd);
    PumpFor(50);
}

std::vector<RecordingWindow::Received> RecordingWindow::Only(UINT msg) const
{
    std::vector<Received> out;
    for (const Received& r : received)
        if (r.msg == msg)
            out.push_back(r);
    return out;
}

LRESULT RecordingWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SKINBUTTON_CLICKED || msg == WM_COMMAND || msg == WM_TRAY_NOTIFY) {
        received.push_back(Received{msg, wp, lp});
        return 0;
    }
    return Default(msg, wp, lp);
}

void QueueKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

POINT ToScreen(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    return pt;
}
