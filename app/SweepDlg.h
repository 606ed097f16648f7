// The program's one main window: a borderless dialog cut to its skin, with the
// nine skin buttons, the status and log panes and the tray icon. Its thread
// owns the program's state: the settings, the folder table, the hook, the
// timer, the status pane and the tray state. Workers (the clean run, the
// settings sheet, Help, Min) get copies or ask this window by message.
#pragma once
#include "app/CleanRunner.h"
#include "controls/LogEdit.h"
#include "controls/TrayNotifyIcon.h"
#include "framework/Dialog.h"
#include "framework/Thread.h"
#include "settings/CleanSettings.h"
#include "settings/HotKeyState.h"

#include <string>
#include <vector>

class CFolderTable;
class CSkinButton;

// Sent by the Min worker to the main window once the window is hidden.
const UINT WM_SWEEP_HIDDEN = WM_APP + 2;

class CSweepDlg : public CDialog {
public:
    explicit CSweepDlg(HWND hParent = nullptr);
    ~CSweepDlg() override;

protected:
    int OnCreate() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    // Settings and their effects, on the window's thread.
    void SaveSettings();
    void ApplyContentFlags();
    void ApplyHotKeyState();
    void RefreshStatus();
    void StartAutoTimer();
    void StopAutoTimer();
    void UpdateAutoTimer();
    void RestoreWindow();
    // The sheet's end: OK takes over its copy and puts it in force, Cancel
    // keeps only its folder list; both save.
    void OnSettingsSheetClosed(bool ok, const CleanSettings& sheet);
    void CommitPendingSettings();
    // Ends the process (exit code 0) once the sheet, Help, Min and a running
    // clean run have stopped.
    [[noreturn]] void ExitProgram();

    bool OnSkinMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    void OnDestroy();
    void OnSkinButtonClicked(WPARAM wp, LPARAM lp);
    void OnTimer(UINT_PTR id);
    void OnCleanRunDone(const WalkTally& tally);
    // The tray tip: the last run, and the next one while auto mode is on.
    void RefreshTrayTip();
    HBRUSH OnCtlColor(HDC hdc, HWND hCtl);
    void StartCleanRun();
    void OpenSettingsSheet();
    bool SheetOpen() const;
    void CreateButtons();
    void PlacePane(CLogEdit& pane, UINT id, const RECT& rc);
    void FreeButtons();
    void SetAutoClean(int on);
    void SetHotKeyEnabled(int on);

    // The sheet, Help and Min: started here and waited for before the end.
    // sheetThread: the sheet's, whose handle and id are kept.
    bool StartWorker(AFX_THREADPROC proc, LPVOID param, HANDLE* sheetThread = nullptr);
    // Ends the sheet as Cancel would and waits, pumping, for every worker;
    // from then on no worker starts.
    void EndWorkers();

    static UINT MinimizeThreadProc(LPVOID param);

    CSkinButton* m_pBtnStart = nullptr;
    CSkinButton* m_pBtnAuto = nullptr;
    CSkinButton* m_pBtnSet = nullptr;
    CSkinButton* m_pBtnHelp = nullptr;
    CSkinButton* m_pBtnMin = nullptr;
    CSkinButton* m_pBtnBye = nullptr;
    CSkinButton* m_pBtnHotKey = nullptr;
    CSkinButton* m_pBtnClear = nullptr;
    CSkinButton* m_pBtnAbout = nullptr;
    CFolderTable* m_pFolderTable = nullptr;
    CleanSettings m_settings;
    CHotKeyState m_hotKey;
    CCleanRunner m_runner;
    CTrayNotifyIcon m_trayIcon;

    std::string m_strOsText;
    std::string m_strModeText;
    std::string m_strHotKeyText;
    int m_bTimerRunning = 0;
    // The last run's end and result, and the auto timer's next tick.
    bool m_bHaveRun = false;
    SYSTEMTIME m_lastRunAt = {};
    WalkTally m_lastRun;
    SYSTEMTIME m_nextClean = {};
    std::vector<HANDLE> m_workers;
    HANDLE m_hSheetThread = nullptr; // one of m_workers
    DWORD m_nSheetThreadId = 0;
    bool m_bEnding = false;
    HICON m_hTrayIcon = nullptr;
    HICON m_hIcon = nullptr;
    HWND m_hTips = nullptr; // the skin buttons' tips
    HBRUSH m_brushPane = nullptr;
    COLORREF m_crPaneBack = RGB(52, 134, 255);
    COLORREF m_crPaneText = RGB(255, 255, 255);
    CLogEdit m_editStatus;
    CLogEdit m_editLog;

    HBITMAP m_hSkinBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HDC m_hSkinDC = nullptr;
    HRGN m_hSkinRgn = nullptr;
    BITMAP m_bmSkin = {};
};
