#include "settings/HotKeyState.h"

#include "controls/Messages.h"

CHotKeyState::CHotKeyState(HookFunction install, HookFunction uninstall)
    : m_pfnInstall(install), m_pfnUninstall(uninstall)
{
}

void CHotKeyState::SetOwnerWindow(HWND hWnd)
{
    m_dwOwnerThread = hWnd ? ::GetWindowThreadProcessId(hWnd, nullptr) : 0;
    m_hOwner = hWnd;
}

void CHotKeyState::Apply(const CleanSettings& settings)
{
    Request(settings.applied.hotKeyEnabled != 0);
}

void CHotKeyState::Remove()
{
    Request(false);
}

void CHotKeyState::Request(bool enabled)
{
    if (m_hOwner && ::GetCurrentThreadId() != m_dwOwnerThread) {
        // Sent, not posted: the caller goes on only once the hook follows the
        // switch. A window that is gone changes nothing, rather than tying a
        // hook to a thread that is about to end.
        ::SendMessageA(m_hOwner, WM_APPLY_HOTKEY_STATE, enabled ? 1 : 0, reinterpret_cast<LPARAM>(this));
        return;
    }
    Change(enabled);
}

LRESULT CHotKeyState::OnApplyMessage(WPARAM wParam, LPARAM lParam)
{
    if (lParam != reinterpret_cast<LPARAM>(this) || ::GetCurrentThreadId() != m_dwOwnerThread)
        return 0;
    Change(wParam != 0);
    return 1;
}

void CHotKeyState::Change(bool enabled)
{
    if (enabled && !hookInstalled) {
        m_pfnInstall();
        hookInstalled = 1;
    } else if (!enabled && hookInstalled) {
        m_pfnUninstall();
        hookInstalled = 0;
    }
}
