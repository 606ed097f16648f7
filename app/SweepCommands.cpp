// The main window's messages and menu commands, its workers and the way out.
#include "app/SweepDlg.h"

#include "app/WindowPos.h"
#include "controls/Messages.h"
#include "res/resource_menu.h"
#include "settings/pages/SettingsSheet.h"

#include <cstdlib>

namespace {
const UINT_PTR kAutoTimer = 1;
}

void CSweepDlg::SetAutoTimer(UINT periodMs)
{
    // Setting the timer again starts its period anew.
    if (periodMs)
        ::SetTimer(m_hWnd, kAutoTimer, periodMs, nullptr);
    else
        ::KillTimer(m_hWnd, kAutoTimer);
}

void CSweepDlg::RestoreWindow()
{
    m_bKeepHidden = false;
    ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(m_hWnd);
    m_trayIcon.m_bWindowShown = 1;
}

void CSweepDlg::OpenSettingsSheet()
{
    // One sheet at a time: the window is disabled only once the sheet shows.
    if (m_workers.SheetOpen())
        return;
    auto* context = new SettingsSheetContext;
    context->owner = m_hWnd;
    context->settings = m_session.SettingsForSheet();
    if (!m_workers.Start(SettingsSheetThread, context, true))
        delete context;
}

UINT CSweepDlg::MinimizeThreadProc(LPVOID param)
{
    HWND hWnd = static_cast<HWND>(param);
    ::ShowWindow(hWnd, SW_MINIMIZE);
    ::ShowWindow(hWnd, SW_SHOWMINIMIZED);
    ::ShowWindow(hWnd, SW_HIDE);
    ::UpdateWindow(hWnd);
    // The tray state is the window's: it learns of the change by message.
    ::SendMessageA(hWnd, WM_SWEEP_HIDDEN, 0, 0);
    return 1;
}

void CSweepDlg::Shutdown(Way way)
{
    // A second request while the first waits (pumping) finds it under way.
    if (m_bEnding)
        return;
    m_bEnding = true;
    m_workers.EndAll();
    if (way == Way::EndProcess)
        FreeButtons(); // no click reaches them while the run stops
    m_session.Shutdown();
    if (way == Way::EndDialog) {
        EndDialog(IDOK); // the window's end frees the rest
        return;
    }
    m_trayIcon.RemoveFromTray();
    std::exit(0);
}

BOOL CSweepDlg::OnCommand(WPARAM wp, LPARAM lp)
{
    switch (LOWORD(wp)) {
    case IDCANCEL:
        return TRUE; // Escape and close requests leave the window open
    case IDOK:
        Shutdown(Way::EndDialog);
        return TRUE;
    case IDM_EXIT:
        Shutdown(Way::EndProcess);
        return TRUE;
    case IDM_HOTKEY_ON:
    case IDM_HOTKEY_OFF:
        m_session.SetHotKey(LOWORD(wp) == IDM_HOTKEY_ON ? 1 : 0);
        return TRUE;
    case IDM_AUTO_ON:
    case IDM_AUTO_OFF:
        m_session.SetAuto(LOWORD(wp) == IDM_AUTO_ON ? 1 : 0);
        return TRUE;
    case IDM_MAXIMIZE:
        RestoreWindow();
        return TRUE;
    case IDM_MINIMIZE:
        m_workers.Start(MinimizeThreadProc, m_hWnd);
        return TRUE;
    case IDM_CLEAN_NOW:
        m_session.StartClean(); // as "Start": ignored while a run works
        return TRUE;
    case IDM_PREVIEW:
        // Its lines go to the log pane, which comes up to show them.
        if (m_session.StartPreview())
            RestoreWindow();
        return TRUE;
    default:
        return CDialog::OnCommand(wp, lp);
    }
}

bool CSweepDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_TIMER:
        if (wp == kAutoTimer)
            m_session.OnAutoTick(); // ignored while a run works
        return false;
    case WM_TRAY_NOTIFY:
        *result = m_trayIcon.HandleTrayMessage(wp, lp);
        return true;
    case WM_SKINBUTTON_CLICKED:
        OnSkinButtonClicked(wp);
        *result = 0;
        return true;
    case WM_SETTINGS_SHEET_CLOSED:
        m_session.CommitSheet(wp == IDOK, *reinterpret_cast<const CleanSettings*>(lp));
        *result = 0;
        return true;
    case WM_CLEAN_RUN_DONE: {
        auto* tally = reinterpret_cast<WalkTally*>(lp);
        m_session.OnRunDone(*tally);
        delete tally;
        *result = 0;
        return true;
    }
    case WM_EXITSIZEMOVE:
        StoreWindowPos(m_hWnd);
        return false;
    case WM_QUERYENDSESSION:
        if (!m_session.Settings().applied.endSessionClean)
            return false;
        *result = TRUE;
        return true;
    case WM_ENDSESSION:
        if (!wp || !m_session.Settings().applied.endSessionClean || m_bEnding)
            return false;
        m_session.CleanForSessionEnd();
        Shutdown(Way::EndProcess);
        *result = 0;
        return true;
    case WM_WINDOWPOSCHANGING:
        if (m_bKeepHidden)
            reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        return false;
    case WM_SWEEP_HIDDEN:
        m_trayIcon.m_bWindowShown = FALSE;
        *result = 0;
        return true;
    default:
        return OnSkinMessage(msg, wp, lp, result);
    }
}
