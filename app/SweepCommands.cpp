// The main window's auto-clean timer, its menu commands, the workers that
// use the window object and the two ways out of the program.
#include "app/SweepDlg.h"

#include "controls/ShellOpen.h"
#include "engine/FolderTable.h"
#include "framework/Thread.h"
#include "res/resource_menu.h"

#include <cstdlib>

namespace {
const UINT_PTR kAutoTimer = 1;
}

void CSweepDlg::SetAutoClean(int on)
{
    m_settings.applied.autoClean = on;
    SaveSettings();
    RefreshStatus();
    UpdateAutoTimer();
}

void CSweepDlg::SetHotKeyEnabled(int on)
{
    m_settings.applied.hotKeyEnabled = on;
    SaveSettings();
    ApplyHotKeyState();
    RefreshStatus();
}

void CSweepDlg::StartAutoTimer()
{
    ::SetTimer(m_hWnd, kAutoTimer, static_cast<UINT>(m_settings.applied.autoCleanMinutes) * 60000u, nullptr);
    m_bTimerRunning = 1;
}

void CSweepDlg::StopAutoTimer()
{
    ::KillTimer(m_hWnd, kAutoTimer);
    m_bTimerRunning = 0;
}

void CSweepDlg::UpdateAutoTimer()
{
    if (!OnOwnThread())
        return CallOnOwnThread(kUpdateAutoTimer);
    if (m_settings.applied.autoClean && m_settings.applied.autoCleanMinutes)
        StartAutoTimer();
    else if (!m_settings.applied.autoClean && m_bTimerRunning)
        StopAutoTimer();
}

void CSweepDlg::OnTimer(UINT_PTR id)
{
    if (id == kAutoTimer)
        StartCleanRun(); // ignored while a run works
}

void CSweepDlg::RestoreWindow()
{
    if (!OnOwnThread())
        return CallOnOwnThread(kRestoreWindow);
    ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(m_hWnd);
    m_trayIcon.m_bWindowShown = 1;
}

bool CSweepDlg::StartWorker(AFX_THREADPROC proc, LPVOID param, DWORD* threadId)
{
    // Once the program ends, nothing new may come to depend on the window.
    if (m_bEnding)
        return false;
    ::InterlockedIncrement(&m_nWorkers);
    if (AfxBeginThread(proc, param ? param : this, threadId))
        return true;
    ::InterlockedDecrement(&m_nWorkers);
    return false;
}

void CSweepDlg::WorkerEnded()
{
    // The worker's last touch of the window object.
    ::InterlockedDecrement(&m_nWorkers);
}

void CSweepDlg::EndWorkers()
{
    m_bEnding = 1;
    // The sheet ends as Cancel ends it: its modal loops (a page's message box
    // too) stop at WM_QUIT, and the thread reverts and ends. Help and Min
    // finish their work; the window goes on serving what they send it.
    PumpMessagesUntil([this] {
        if (m_bSheetOpen && m_nSheetThreadId)
            ::PostThreadMessageA(m_nSheetThreadId, WM_QUIT, 0, 0);
        return m_nWorkers == 0;
    });
}

UINT CSweepDlg::HelpWorker(LPVOID param)
{
    UINT result = HelpThreadProc(param);
    static_cast<CSweepDlg*>(param)->WorkerEnded();
    return result;
}

UINT CSweepDlg::MinimizeThreadProc(LPVOID param)
{
    auto* dlg = static_cast<CSweepDlg*>(param);
    dlg->ShowWindow(SW_MINIMIZE);
    dlg->ShowWindow(SW_SHOWMINIMIZED);
    dlg->ShowWindow(SW_HIDE);
    ::UpdateWindow(dlg->m_hWnd);
    dlg->m_trayIcon.m_bWindowShown = 0;
    dlg->WorkerEnded();
    return 1;
}

void CSweepDlg::ExitProgram()
{
    EndWorkers();
    FreeButtons();
    // Nothing is freed under a running clean run: it stops at its next entry.
    StopCleanRun();
    delete m_pFolderTable;
    m_pFolderTable = nullptr;
    m_hotKey.Remove();
    m_trayIcon.RemoveFromTray();
    std::exit(0);
}

BOOL CSweepDlg::OnCommand(WPARAM wp, LPARAM lp)
{
    switch (LOWORD(wp)) {
    case IDCANCEL:
        return TRUE; // Escape and close requests leave the window open
    case IDOK:
        EndWorkers();
        StopCleanRun();
        EndDialog(IDOK);
        return TRUE;
    case IDM_EXIT:
        ExitProgram();
    case IDM_HOTKEY_ON:
    case IDM_HOTKEY_OFF:
        SetHotKeyEnabled(LOWORD(wp) == IDM_HOTKEY_ON ? 1 : 0);
        return TRUE;
    case IDM_AUTO_ON:
    case IDM_AUTO_OFF:
        SetAutoClean(LOWORD(wp) == IDM_AUTO_ON ? 1 : 0);
        return TRUE;
    case IDM_MAXIMIZE:
        RestoreWindow();
        return TRUE;
    case IDM_MINIMIZE:
        StartWorker(MinimizeThreadProc);
        return TRUE;
    default:
        return CDialog::OnCommand(wp, lp);
    }
}
