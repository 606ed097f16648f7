// Windows and real key input for the tests of the skin button and the tray
// icon.
#pragma once
#include "controls/Messages.h"
#include "framework/CustomWnd.h"

#include <vector>

// A shown top-level window that keeps the skin-button clicks, the commands
// and the tray callbacks it receives.
struct RecordingWindow : CCustomWnd {
    struct Received {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
    };
    explicit RecordingWindow(RECT rc = RECT{0, 0, 400, 400});
    std::vector<Received> Clicks() const { return Only(WM_SKINBUTTON_CLICKED); }
    std::vector<Received> Commands() const { return Only(WM_COMMAND); }
    std::vector<Received> Only(UINT msg) const;

    std::vector<Received> received;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A real key press and release through SendInput, not waited for: also for use
// inside a modal loop (a menu's), which takes it.
void QueueKey(WORD vk);
POINT ToScreen(HWND hWnd, int x, int y);
