#include "app/SweepDlg.h"

#include "app/AboutDlg.h"
#include "app/ButtonTips.h"
#include "app/HelpPage.h"
#include "app/RunTip.h"
#include "app/TaskbarButton.h"
#include "app/WindowPos.h"
#include "controls/Messages.h"
#include "framework/MessageBox.h"
#include "hook/Keywatch.h"
#include "res/resource.h"
#include "res/resource_menu.h"

CSweepDlg::CSweepDlg(HWND hParent, bool startInTray)
    : CDialog(IDD_BRIGHTSWEEP, hParent), m_session(*this, InstallLaunchEv, UnInstallLaunchEv),
      m_bKeepHidden(startInTray)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BRIGHTSWEEP));
}

CSweepDlg::~CSweepDlg()
{
    // Reached after the window ended through Enter, or when it could not be
    // made; no worker or run may outlive the object.
    m_workers.EndAll();
    m_session.Shutdown();
}

int CSweepDlg::OnCreate()
{
    AfxSetMainWnd(m_hWnd);
    m_skin.Apply(m_hWnd, IDB_SKIN);
    if (!m_trayIcon.AddToTray(this, IDR_TRAYMENU, kIdleTip, m_hIcon, WM_TRAY_NOTIFY)) {
        AfxMessageBox("Failed to create tray icon", MB_ICONSTOP);
        return -1;
    }
    return 0;
}

BOOL CSweepDlg::OnInitDialog()
{
    // The window is a borderless pop-up at the screen's origin: client
    // coordinates are the table's.
    m_buttons.Create(this);
    m_editLog.Place(m_hWnd, IDC_LOG, kLogPaneRect);
    m_editStatus.Place(m_hWnd, IDC_STATUS, kStatusPaneRect);
    m_skin.AddPane(m_editLog.m_hWnd);
    m_skin.AddPane(m_editStatus.m_hWnd);
    OrderTabStops(m_hWnd);
    ShowOnTaskbar(m_hWnd, IDI_BRIGHTSWEEP);
    m_session.Load();
    m_session.Activate();
    m_bPlaced = RestoreWindowPos(m_hWnd, SIZE{kSkinWidth, kSkinHeight});
    if (m_bKeepHidden)
        m_trayIcon.m_bWindowShown = FALSE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void CSweepDlg::OnDestroy()
{
    m_session.Shutdown();
    m_skin.Release();
    m_buttons.Free();
    AfxSetMainWnd(nullptr);
}

void CSweepDlg::OnSkinButtonClicked(WPARAM wp)
{
    SkinButtonId id;
    if (!m_buttons.Find(wp, &id))
        return;
    ::SetFocus(m_buttons.Window(id));
    const SettingValues& applied = m_session.Settings().applied;
    switch (id) {
    case kButtonStart:
        m_session.StartClean();
        break;
    case kButtonAuto:
        m_session.SetAuto(applied.autoClean ? 0 : 1);
        break;
    case kButtonSet:
        OpenSettingsSheet();
        break;
    case kButtonHelp:
        m_workers.Start(HelpThreadProc, m_hWnd);
        break;
    case kButtonMin:
        m_workers.Start(HideToTrayThreadProc, m_hWnd);
        break;
    case kButtonBye:
        Shutdown(Way::EndProcess);
        break; // reached only while an earlier request ends the program
    case kButtonHotKey:
        m_session.SetHotKey(applied.hotKeyEnabled ? 0 : 1);
        break;
    case kButtonClear:
        ClearLog();
        break;
    case kButtonAbout:
        ShowAboutBox(m_hWnd);
        break;
    }
}

void CSweepDlg::ClearLog()
{
    ::SetDlgItemTextA(m_hWnd, IDC_LOG, "");
}

void CSweepDlg::StatusChanged()
{
    ::SetDlgItemTextA(m_hWnd, IDC_STATUS, "");
    m_editStatus.AppendText(m_session.StatusText());
    const SettingValues& applied = m_session.Settings().applied;
    m_hTips = UpdateButtonTips(m_hWnd, m_hTips, applied.autoClean != 0, applied.hotKeyEnabled != 0);
}

void CSweepDlg::TipChanged()
{
    std::string tip = m_session.TrayTip();
    if (!tip.empty()) // before any run the tip stays the program's name
        m_trayIcon.SetTip(tip.c_str());
}
