// The main window's auto-clean timer, its menu commands, its workers and the
// two ways out of the program.
#include "app/SweepDlg.h"

#include "app/RunTip.h"
#include "engine/FolderTable.h"
#include "framework/Thread.h"
#include "res/resource_menu.h"

#include <algorithm>
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
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_nextClean = AddMinutes(now, static_cast<UINT>(m_settings.applied.autoCleanMinutes));
}

void CSweepDlg::StopAutoTimer()
{
    ::KillTimer(m_hWnd, kAutoTimer);
    m_bTimerRunning = 0;
}

void CSweepDlg::UpdateAutoTimer()
{
    if (m_settings.applied.autoClean && m_settings.applied.autoCleanMinutes)
        StartAutoTimer();
    else if (!m_settings.applied.autoClean && m_bTimerRunning)
        StopAutoTimer();
    RefreshTrayTip();
}

void CSweepDlg::OnTimer(UINT_PTR id)
{
    if (id != kAutoTimer)
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_nextClean = AddMinutes(now, static_cast<UINT>(m_settings.applied.autoCleanMinutes));
    StartCleanRun(); // ignored while a run works
    RefreshTrayTip();
}

void CSweepDlg::OnCleanRunDone(const WalkTally& tally)
{
    m_bHaveRun = true;
    m_lastRun = tally;
    ::GetLocalTime(&m_lastRunAt);
    RefreshTrayTip();
}

void CSweepDlg::RefreshTrayTip()
{
    if (!m_bHaveRun)
        return; // the tip stays the program's name
    const bool autoOn = m_settings.applied.autoClean && m_bTimerRunning;
    m_trayIcon.SetTip(FormatRunTip(LOCALE_USER_DEFAULT, m_lastRunAt, m_lastRun.files, m_lastRun.bytes,
                                   autoOn ? &m_nextClean : nullptr)
                          .c_str());
}

void CSweepDlg::RestoreWindow()
{
    ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(m_hWnd);
    m_trayIcon.m_bWindowShown = 1;
}

bool CSweepDlg::StartWorker(AFX_THREADPROC proc, LPVOID param, HANDLE* sheetThread)
{
    // Once the program ends, nothing new may start.
    if (m_bEnding)
        return false;
    // Forget the workers that have ended.
    auto ended = [this](HANDLE h) {
        if (::WaitForSingleObject(h, 0) == WAIT_TIMEOUT)
            return false;
        if (h == m_hSheetThread)
            m_hSheetThread = nullptr;
        ::CloseHandle(h);
        return true;
    };
    m_workers.erase(std::remove_if(m_workers.begin(), m_workers.end(), ended), m_workers.end());
    HANDLE h = nullptr;
    DWORD id = 0;
    if (!AfxBeginThread(proc, param, &id, &h))
        return false;
    m_workers.push_back(h);
    if (sheetThread) {
        *sheetThread = h;
        m_nSheetThreadId = id;
    }
    return true;
}

void CSweepDlg::EndWorkers()
{
    m_bEnding = true;
    // The sheet ends as Cancel ends it: its modal loops (a page's message box
    // too) stop at WM_QUIT, and it hands its folder list back. Help and Min
    // finish their work; the window goes on serving what they send it.
    PumpMessagesUntil([this] {
        if (SheetOpen())
            ::PostThreadMessageA(m_nSheetThreadId, WM_QUIT, 0, 0);
        return std::all_of(m_workers.begin(), m_workers.end(),
                           [](HANDLE h) { return ::WaitForSingleObject(h, 0) != WAIT_TIMEOUT; });
    });
    for (HANDLE h : m_workers)
        ::CloseHandle(h);
    m_workers.clear();
    m_hSheetThread = nullptr;
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

void CSweepDlg::ExitProgram()
{
    EndWorkers();
    FreeButtons();
    // A running clean run stops at its next entry; it writes to the log pane.
    m_runner.StopAndWait();
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
        m_runner.StopAndWait();
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
        StartWorker(MinimizeThreadProc, m_hWnd);
        return TRUE;
    default:
        return CDialog::OnCommand(wp, lp);
    }
}
