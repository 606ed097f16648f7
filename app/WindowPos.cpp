#include "app/WindowPos.h"

#include "framework/ProcAddress.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include "framework/Format.h"

namespace {
const long kMaxCoordinate = 32767;

// One optionally signed decimal number; *end is where it stopped.
bool ParseCoordinate(const char* s, const char** end, LONG* value)
{
    bool negative = *s == '-';
    if (negative)
        ++s;
    if (*s < '0' || *s > '9')
        return false;
    long v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > kMaxCoordinate)
            return false;
    }
    *value = negative ? -v : v;
    *end = s;
    return true;
}

LONG Overlap(const RECT& a, const RECT& b)
{
    LONG w = std::min(a.right, b.right) - std::max(a.left, b.left);
    LONG h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

LONG Clamp(LONG v, LONG low, LONG length, LONG high)
{
    // A window longer than the area keeps its start inside it.
    if (v + length > high)
        v = high - length;
    return std::max(v, low);
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lp)
{
    static const auto getInfo = DECLARED_PROC(::GetModuleHandleA("user32.dll"), GetMonitorInfoA);
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (getInfo && getInfo(monitor, &info))
        reinterpret_cast<std::vector<RECT>*>(lp)->push_back(info.rcWork);
    return TRUE;
}
} // namespace

bool ParseWindowPos(const char* text, POINT* pos)
{
    if (!text)
        return false;
    const char* p = text;
    LONG x, y;
    if (!ParseCoordinate(p, &p, &x) || *p++ != ',' || !ParseCoordinate(p, &p, &y) || *p != '\0')
        return false;
    *pos = POINT{x, y};
    return true;
}

std::string FormatWindowPos(POINT pos)
{
    char text[32];
    FormatText(text, sizeof(text), "%ld,%ld", static_cast<long>(pos.x), static_cast<long>(pos.y));
    return text;
}

bool PlaceOnScreen(POINT pos, SIZE size, const std::vector<RECT>& workAreas, POINT* placed)
{
    RECT window = {pos.x, pos.y, pos.x + size.cx, pos.y + size.cy};
    const RECT* best = nullptr;
    LONG bestOverlap = 0;
    for (const RECT& area : workAreas) {
        LONG overlap = Overlap(window, area);
        if (overlap > bestOverlap) {
            best = &area;
            bestOverlap = overlap;
        }
    }
    if (!best)
        return false;
    *placed =
        POINT{Clamp(pos.x, best->left, size.cx, best->right), Clamp(pos.y, best->top, size.cy, best->bottom)};
    return true;
}

std::vector<RECT> MonitorWorkAreas()
{
    std::vector<RECT> areas;
    // Windows 98 and 2000 know several monitors; 95 and NT 4 do not.
    auto enumMonitors = DECLARED_PROC(::GetModuleHandleA("user32.dll"), EnumDisplayMonitors);
    if (enumMonitors)
        enumMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        RECT work;
        if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
            work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        areas.push_back(work);
    }
    return areas;
}

bool RestoreWindowPos(HWND hWnd, SIZE size)
{
    POINT stored, placed;
    if (!ParseWindowPos(LoadWindowPos().c_str(), &stored) ||
        !PlaceOnScreen(stored, size, MonitorWorkAreas(), &placed))
        return false;
    return ::SetWindowPos(hWnd, nullptr, placed.x, placed.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void StoreWindowPos(HWND hWnd)
{
    RECT rc;
    if (::IsIconic(hWnd) || !::IsWindowVisible(hWnd) || !::GetWindowRect(hWnd, &rc))
        return;
    SaveWindowPos(FormatWindowPos(POINT{rc.left, rc.top}));
}
