#include "app/ButtonTips.h"

#include "controls/ToolTips.h"

#include <algorithm>
#include <cstring>

const char* ButtonTip(const char* caption, bool autoOn, bool hotKeyOn)
{
    struct Row {
        const char* caption;
        const char* tip;
        const char* tipWhenOn; // the tip while the button's state is on
    };
    static const Row rows[] = {
        {"Start", "Clean now", nullptr},
        {"Auto", "Turn auto-clean on", "Turn auto-clean off"},
        {"Set", "Change the settings", nullptr},
        {"Help", "Open the help page", nullptr},
        {"Min", "Hide in the notification area", nullptr},
        {"Bye", "Exit Brightsweep", nullptr},
        {"F&D", "Turn the screen-saver hot key on", "Turn the screen-saver hot key off"},
        {"Clear", "Clear the log", nullptr},
        {"About", "About Brightsweep", nullptr},
    };
    for (const Row& row : rows) {
        if (std::strcmp(row.caption, caption) != 0)
            continue;
        bool on = std::strcmp(caption, "Auto") == 0 ? autoOn : hotKeyOn;
        return row.tipWhenOn && on ? row.tipWhenOn : row.tip;
    }
    return nullptr;
}

HWND UpdateButtonTips(HWND hWnd, HWND hTips, bool autoOn, bool hotKeyOn)
{
    if (!hTips)
        hTips = CreateToolTips(hWnd);
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char caption[16] = "";
        ::GetWindowTextA(child, caption, sizeof(caption));
        // The panes are edit controls and have no caption of the table.
        char cls[16] = "";
        ::GetClassNameA(child, cls, sizeof(cls));
        if (::lstrcmpiA(cls, "Edit") == 0)
            continue;
        if (const char* tip = ButtonTip(caption, autoOn, hotKeyOn))
            SetToolTip(hTips, child, tip);
    }
    return hTips;
}

std::vector<size_t> ReadingOrder(const std::vector<RECT>& rects)
{
    std::vector<size_t> left(rects.size());
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = i;
    std::vector<size_t> order;
    while (!left.empty()) {
        auto first = std::min_element(left.begin(), left.end(),
                                      [&](size_t a, size_t b) { return rects[a].top < rects[b].top; });
        const RECT row = rects[*first];
        std::vector<size_t> inRow, rest;
        for (size_t i : left) {
            LONG middle = (rects[i].top + rects[i].bottom) / 2;
            // The first one's own middle always lies within it.
            (middle >= row.top && middle <= row.bottom ? inRow : rest).push_back(i);
        }
        std::stable_sort(inRow.begin(), inRow.end(),
                         [&](size_t a, size_t b) { return rects[a].left < rects[b].left; });
        order.insert(order.end(), inRow.begin(), inRow.end());
        left = rest;
    }
    return order;
}

void OrderTabStops(HWND hWnd)
{
    std::vector<HWND> stops;
    std::vector<RECT> places;
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(::GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP))
            continue;
        RECT rc;
        ::GetWindowRect(child, &rc);
        stops.push_back(child);
        places.push_back(rc);
    }
    // Tab follows the order of the children: each after the one before.
    HWND after = HWND_TOP;
    for (size_t i : ReadingOrder(places)) {
        ::SetWindowPos(stops[i], after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = stops[i];
    }
}
