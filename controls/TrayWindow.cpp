#include "controls/TrayWindow.h"

#include "framework/Wnd.h"

#include <commctrl.h>

#include <cstring>

const char kTrayWindowClass[] = "BrightsweepTrayIcon";

namespace {

const int kBorder = 2;

struct TrayIcon {
    HWND hOwner;
    UINT id;
    UINT callbackMessage;
    HICON hIcon;
    HWND hTip;
    char tip[64];
};

TrayIcon* IconOf(HWND hWnd)
{
    return reinterpret_cast<TrayIcon*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

struct Search {
    HWND hOwner;
    UINT id;
    int count;
    HWND found;
};

BOOL CALLBACK SearchProc(HWND hWnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (pid != ::GetCurrentProcessId() || std::strcmp(cls, kTrayWindowClass) != 0)
        return TRUE;
    ++s->count;
    TrayIcon* icon = IconOf(hWnd);
    if (icon && icon->hOwner == s->hOwner && icon->id == s->id)
        s->found = hWnd;
    return TRUE;
}

// Copies what the record's flags name into the icon and its window.
void Apply(HWND hWnd, TrayIcon* icon, const NOTIFYICONDATAA& nid)
{
    if (nid.uFlags & NIF_MESSAGE)
        icon->callbackMessage = nid.uCallbackMessage;
    if (nid.uFlags & NIF_ICON) {
        icon->hIcon = nid.hIcon;
        ::InvalidateRect(hWnd, nullptr, TRUE);
    }
    if (nid.uFlags & NIF_TIP) {
        ::lstrcpynA(icon->tip, nid.szTip, sizeof(icon->tip));
        ::SetWindowTextA(hWnd, icon->tip);
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V1_SIZE; // understood by every comctl32
        ti.hwnd = hWnd;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
        ti.lpszText = icon->tip;
        ::SendMessageA(icon->hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    TrayIcon* icon = IconOf(hWnd);
    if (!icon)
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        // As the shell, every mouse event over the icon; an icon whose window
        // is gone goes too.
        if (!::IsWindow(icon->hOwner))
            ::DestroyWindow(hWnd);
        else if (icon->callbackMessage)
            ::PostMessageA(icon->hOwner, icon->callbackMessage, icon->id, msg);
        return 0;
    }
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        if (icon->hIcon)
            ::DrawIcon(hdc, kBorder, kBorder, icon->hIcon);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // the window that had the focus keeps it
    case WM_NCDESTROY:
        ::DestroyWindow(icon->hTip);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        delete icon;
        break;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

bool RegisterTrayClass()
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (::GetClassInfoA(instance, kTrayWindowClass, &wc))
        return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TrayWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kTrayWindowClass;
    return ::RegisterClassA(&wc) != 0;
}

BOOL Add(const NOTIFYICONDATAA& nid, int existing)
{
    if (!RegisterTrayClass())
        return FALSE;
    // Bottom right of the work area, left of the icons already shown.
    RECT work = WorkArea();
    int cx = ::GetSystemMetrics(SM_CXICON) + 2 * kBorder;
    int cy = ::GetSystemMetrics(SM_CYICON) + 2 * kBorder;
    auto* icon = new TrayIcon{nid.hWnd, nid.uID, 0, nullptr, nullptr, ""};
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP | WS_BORDER,
                                  work.right - cx * (existing + 1), work.bottom - cy, cx, cy, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hWnd) {
        delete icon;
        return FALSE;
    }
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(icon));
    icon->hTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    ti.lpszText = icon->tip;
    ::SendMessageA(icon->hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    Apply(hWnd, icon, nid);
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    return TRUE;
}

} // namespace

HWND FindTrayWindow(HWND hOwner, UINT id)
{
    Search s = {hOwner, id, 0, nullptr};
    ::EnumWindows(SearchProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL WINAPI TrayWindowNotify(DWORD message, PNOTIFYICONDATAA data)
{
    if (!data)
        return FALSE;
    Search s = {data->hWnd, data->uID, 0, nullptr};
    ::EnumWindows(SearchProc, reinterpret_cast<LPARAM>(&s));
    switch (message) {
    case NIM_ADD:
        return s.found || !::IsWindow(data->hWnd) ? FALSE : Add(*data, s.count);
    case NIM_MODIFY:
        if (!s.found)
            return FALSE;
        Apply(s.found, IconOf(s.found), *data);
        return TRUE;
    case NIM_DELETE:
        if (!s.found)
            return FALSE;
        // Sent, so that the window's own thread destroys it.
        ::SendMessageA(s.found, WM_CLOSE, 0, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
