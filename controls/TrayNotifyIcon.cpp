#include "controls/TrayNotifyIcon.h"

#include "controls/TrayWindow.h"
#include "framework/ProcAddress.h"

// The record every shell reads, NT 3.51's substitute included: 88 bytes in the
// shipped 32-bit program.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the first shell's NOTIFYICONDATA");

namespace {

// Functions that NT 3.51 lacks are looked up, so that the program still loads there.
void SetDefaultItem(HMENU hMenu, UINT position)
{
    static const auto setDefault = DECLARED_PROC(::GetModuleHandleA("user32.dll"), SetMenuDefaultItem);
    if (setDefault)
        setDefault(hMenu, position, TRUE);
}

} // namespace

CHECK_PROC_TYPE(TrayNotifyProc, Shell_NotifyIconA);

TrayNotifyProc ShellTrayNotify()
{
    return DECLARED_PROC(::GetModuleHandleA("shell32.dll"), Shell_NotifyIconA);
}

CTrayNotifyIcon::CTrayNotifyIcon()
{
    m_pfnNotify = ShellTrayNotify();
    if (!m_pfnNotify)
        m_pfnNotify = TrayWindowNotify;
    ::ZeroMemory(&m_nid, sizeof(m_nid));
}

CTrayNotifyIcon::~CTrayNotifyIcon()
{
    RemoveFromTray();
}

BOOL CTrayNotifyIcon::AddToTray(CWnd* pNotifyWnd, UINT uID, const char* tip, HICON hIcon, UINT callbackMessage)
{
    m_bWindowShown = TRUE;
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.hWnd = pNotifyWnd ? pNotifyWnd->GetSafeHwnd() : nullptr;
    m_nid.uID = uID;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = hIcon;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The first layout's tip holds 64 bytes with the terminating zero.
    ::lstrcpynA(m_nid.szTip, tip ? tip : "", 64);
    m_bAdded = m_pfnNotify(NIM_ADD, &m_nid) ? TRUE : FALSE;
    return m_bAdded;
}

BOOL CTrayNotifyIcon::SetTip(const char* tip)
{
    ::lstrcpynA(m_nid.szTip, tip ? tip : "", 64);
    if (!m_bAdded)
        return FALSE;
    m_nid.uFlags = NIF_TIP;
    return m_pfnNotify(NIM_MODIFY, &m_nid);
}

BOOL CTrayNotifyIcon::RemoveFromTray()
{
    if (!m_bAdded)
        return FALSE;
    m_nid.uFlags = 0;
    BOOL result = m_pfnNotify(NIM_DELETE, &m_nid);
    m_bAdded = FALSE;
    return result;
}

namespace {
struct PopupSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindEnabledPopup(HWND hWnd, LPARAM lp)
{
    auto* search = reinterpret_cast<PopupSearch*>(lp);
    if (::GetWindow(hWnd, GW_OWNER) != search->owner || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

// The visible, enabled window that owner owns while owner itself is disabled.
HWND EnabledPopupOf(HWND owner)
{
    PopupSearch search = {owner, nullptr};
    if (owner && !::IsWindowEnabled(owner))
        ::EnumWindows(FindEnabledPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace

void CTrayNotifyIcon::ShowMenu(HMENU hPopup)
{
    // Position 0, "Maximize", is the default item, shown in bold (where the
    // system has default items).
    SetDefaultItem(hPopup, 0);
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    // Without the foreground the menu would not close when clicked away from.
    ::SetForegroundWindow(m_nid.hWnd);
    ::TrackPopupMenu(hPopup, 0, pt.x, pt.y, 0, m_nid.hWnd, nullptr);
    // Lets the menu open again at once the next time.
    ::PostMessageA(m_nid.hWnd, WM_NULL, 0, 0);
    // A modal window that holds the owner disabled (the settings sheet, on
    // a thread of its own) gets the foreground back, above the owner, so
    // that it takes the keyboard again.
    if (HWND popup = EnabledPopupOf(m_nid.hWnd))
        ::SetForegroundWindow(popup);
}

void CTrayNotifyIcon::PostShowOrHide(HMENU hPopup)
{
    UINT id;
    if (!m_bWindowShown) {
        ::SetForegroundWindow(m_nid.hWnd);
        id = ::GetMenuItemID(hPopup, 0);
    } else {
        id = ::GetMenuItemID(hPopup, 1);
    }
    ::PostMessageA(m_nid.hWnd, WM_COMMAND, id, 0);
}

LRESULT CTrayNotifyIcon::HandleTrayMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_nid.uID)
        return 0;
    if (lParam != WM_RBUTTONUP && lParam != WM_LBUTTONDBLCLK)
        return 0;
    HMENU hMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nid.uID));
    if (!hMenu)
        return 0;
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    if (hPopup) {
        if (lParam == WM_RBUTTONUP)
            ShowMenu(hPopup);
        else
            PostShowOrHide(hPopup);
    }
    ::DestroyMenu(hMenu);
    return 0;
}
