// The program's one main window, the view of its session: a borderless dialog
// cut to its skin, with the nine skin buttons, the status and log panes and the
// tray icon. It turns clicks, keys and menu commands into the session's verbs
// and draws what the session tells it. Its own workers (the settings sheet,
// Help, Min) ask it by message.
#pragma once
#include "app/Skin.h"
#include "app/SweepSession.h"
#include "app/Workers.h"
#include "controls/LogEdit.h"
#include "controls/TrayNotifyIcon.h"
#include "framework/Dialog.h"
#include "res/SkinLayout.h"

class CSkinButton;

// Sent by the Min worker to the main window once the window is hidden.
const UINT WM_SWEEP_HIDDEN = WM_APP + 2;

class CSweepDlg : public CDialog, private CSessionView {
public:
    // startInTray: the window stays hidden, as after "Min", until restored.
    explicit CSweepDlg(HWND hParent = nullptr, bool startInTray = false);
    ~CSweepDlg() override;

protected:
    int OnCreate() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    // How the program ends: "Bye" and "Exit" end the process at once (exit
    // code 0), Enter ends the dialog and the program returns from it.
    enum class Way { EndProcess, EndDialog };
    // The one way out, whichever asked: workers, the session (its run, table
    // and hook), then the buttons and the tray icon.
    void Shutdown(Way way);

    // CSessionView
    CLogSink* RunLog() override { return &m_editLog; }
    HWND RunDoneWindow() override { return m_hWnd; }
    void ClearLog() override;
    void StatusChanged() override;
    void TipChanged() override;
    void SetAutoTimer(UINT periodMs) override;

    bool OnSkinMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    HBRUSH OnCtlColor(HDC hdc, HWND hCtl);
    void OnDestroy();
    void OnSkinButtonClicked(WPARAM wp);
    void OpenSettingsSheet();
    void RestoreWindow();
    void CreateButtons();
    void FreeButtons();
    void PlacePane(CLogEdit& pane, UINT id, const RECT& rc);
    static UINT MinimizeThreadProc(LPVOID param);

    CSkinButton* m_buttons[kSkinButtonCount] = {};
    CTrayNotifyIcon m_trayIcon;
    CLogEdit m_editStatus;
    CLogEdit m_editLog;
    // After the panes it draws on: it goes first.
    CSweepSession m_session;
    CWorkers m_workers;
    CSkin m_skin;
    bool m_bEnding = false;
    // Set for /tray until the window is first restored: the dialog manager's
    // own first showing is refused.
    bool m_bKeepHidden = false;
    HICON m_hIcon = nullptr;
    HWND m_hTips = nullptr; // the skin buttons' tips
    HBRUSH m_brushPane = nullptr;
    COLORREF m_crPaneBack = RGB(52, 134, 255);
    COLORREF m_crPaneText = RGB(255, 255, 255);
};
