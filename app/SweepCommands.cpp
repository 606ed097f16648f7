// The main window's messages and menu commands, its workers and the way out.
#include "app/SweepDlg.h"

#include "app/AboutDlg.h"
#include "app/TaskbarButton.h"
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

void CSweepDlg::Shutdown(Way way)
{
    // A second request while the first waits (pumping) finds it under way.
    if (!m_session.BeginShutdown())
        return;
    m_workers.EndAll();
    if (way == Way::EndProcess)
        m_buttons.Free(); // no click reaches them while the run stops
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
        m_workers.Start(HideToTrayThreadProc, m_hWnd);
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
        return true;
    case WM_SETTINGS_SHEET_CLOSED:
        m_session.CommitSheet(wp == IDOK, *reinterpret_cast<const CleanSettings*>(lp));
        return true;
    case WM_CLEAN_RUN_DONE:
        m_session.OnRunDone(*TakeRunDone(lp));
        return true;
    case WM_EXITSIZEMOVE:
        StoreWindowPos(m_hWnd);
        return false;
    case WM_QUERYENDSESSION:
        *result = TRUE;
        return m_session.CleansAtSessionEnd();
    case WM_ENDSESSION:
        // Windows ends the session: with the box on, one run to its end first.
        if (!wp || !m_session.CleanForSessionEnd())
            return false;
        Shutdown(Way::EndProcess);
        return true;
    case WM_WINDOWPOSCHANGING:
        if (m_bKeepHidden)
            reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        return false;
    case WM_SWEEP_HIDDEN:
        m_trayIcon.m_bWindowShown = FALSE;
        return true;
    case WM_SYSCOMMAND:
        // The about-box command is the only one of the window's own; the
        // screen saver and everything else take the default handling.
        if ((wp & 0xFFF0) != 0x0010)
            return false;
        ShowAboutBox(m_hWnd);
        return true;
    case WM_QUERYDRAGICON:
        *result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    default:
        return m_skin.OnMessage(msg, wp, lp, result);
    }
}
