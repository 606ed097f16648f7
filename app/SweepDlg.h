// The program's one main window, the view of its session: a borderless dialog
// cut to its skin, with the nine skin buttons, the status and log panes and the
// tray icon. It turns clicks, keys and menu commands into the session's verbs
// and draws what the session tells it. Its own workers (the settings sheet,
// Help, Min) ask it by message.
#pragma once
#include "app/Skin.h"
#include "app/SkinButtons.h"
#include "app/SweepSession.h"
#include "app/Workers.h"
#include "controls/LogEdit.h"
#include "controls/TrayNotifyIcon.h"
#include "framework/Dialog.h"

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

    void OnDestroy();
    void OnSkinButtonClicked(WPARAM wp);
    void OpenSettingsSheet();
    void RestoreWindow();

    CSkinButtons m_buttons;
    CTrayNotifyIcon m_trayIcon;
    CLogEdit m_editStatus;
    CLogEdit m_editLog;
    // After the panes it draws on: it goes first.
    CSweepSession m_session;
    CWorkers m_workers;
    CSkin m_skin;
    // Set for /tray until the window is first restored: the dialog manager's
    // own first showing is refused.
    bool m_bKeepHidden = false;
    HICON m_hIcon = nullptr;
    HWND m_hTips = nullptr; // the skin buttons' tips
};
