// The program's one main window: a borderless dialog cut to its skin, with the
// nine skin buttons, the status and log panes and the tray icon. It owns the
// folder table and the settings, and runs the auto-clean timer.
#pragma once
#include "controls/LogEdit.h"
#include "controls/TrayNotifyIcon.h"
#include "framework/Dialog.h"
#include "framework/Thread.h"
#include "settings/CleanSettings.h"
#include "settings/HotKeyState.h"
#include "settings/pages/SettingsOwner.h"

#include <string>

class CFolderTable;
class CSkinButton;

class CSweepDlg : public CDialog, public CSettingsOwner {
public:
    explicit CSweepDlg(HWND hParent = nullptr);
    ~CSweepDlg() override;

    // Settings and their effects; callable from any thread: window, timer and
    // hook work is handed to the window's own thread.
    void SaveSettings();
    void ApplyContentFlags();
    void ApplyHotKeyState();
    void RefreshStatus();
    void StartAutoTimer();
    void StopAutoTimer();
    void UpdateAutoTimer();
    void RestoreWindow();
    // The settings sheet's side: OK and Cancel run on the sheet's thread.
    CleanSettings& Settings() override { return m_settings; }
    HWND SheetOwnerWindow() override { return m_hWnd; }
    void CommitPendingSettings() override;
    void RevertPendingSettings() override;
    void SettingsSheetEnded() override;
    // Ends the process (exit code 0) once the sheet, Help, Min and a running
    // clean run have stopped.
    [[noreturn]] void ExitProgram();

    CleanSettings m_settings;
    CTrayNotifyIcon m_trayIcon;

protected:
    int OnCreate() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void OnDestroy();
    void OnSkinButtonClicked(WPARAM wp, LPARAM lp);
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(HDC hdc, HWND hCtl);
    void StartCleanRun();
    void OpenSettingsSheet();
    void CreateButtons();
    void PlacePane(CLogEdit& pane, UINT id, const RECT& rc);
    void FreeButtons();
    void StopCleanRun();
    void SetAutoClean(int on);
    void SetHotKeyEnabled(int on);
    bool OnOwnThread() const;
    // Runs one of the members above on the window's thread.
    enum Call { kRefreshStatus, kUpdateAutoTimer, kRestoreWindow };
    void CallOnOwnThread(Call call);

    // Workers that use this object (the sheet, Help, Min) are counted from
    // their start until their last touch of it; param defaults to this.
    bool StartWorker(AFX_THREADPROC proc, LPVOID param = nullptr, DWORD* threadId = nullptr);
    void WorkerEnded();
    // Ends the sheet and waits, pumping, for every counted worker; from then
    // on no worker starts.
    void EndWorkers();

    static UINT HelpWorker(LPVOID param);
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
    CHotKeyState m_hotKey;

    std::string m_strOsText;
    std::string m_strModeText;
    std::string m_strHotKeyText;
    volatile LONG m_bTimerRunning = 0;
    volatile LONG m_bSheetOpen = 0;
    DWORD m_nSheetThreadId = 0;
    volatile LONG m_nWorkers = 0;
    volatile LONG m_bEnding = 0;
    HICON m_hTrayIcon = nullptr;
    HICON m_hIcon = nullptr;
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
