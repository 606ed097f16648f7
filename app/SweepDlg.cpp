#include "app/SweepDlg.h"

#include "app/AboutDlg.h"
#include "app/ButtonTips.h"
#include "app/HelpPage.h"
#include "app/OsStatus.h"
#include "app/RunTip.h"
#include "app/SkinRegion.h"
#include "app/TaskbarButton.h"
#include "app/WindowPos.h"
#include "controls/Messages.h"
#include "controls/SkinButton.h"
#include "engine/FolderTable.h"
#include "framework/MessageBox.h"
#include "hook/Keywatch.h"
#include "res/resource.h"
#include "res/resource_menu.h"
#include "res/SkinLayout.h"
#include "settings/SettingsStore.h"
#include "settings/pages/SettingsSheet.h"

CSweepDlg::CSweepDlg(HWND hParent) : CDialog(IDD_BRIGHTSWEEP, hParent), m_hotKey(InstallLaunchEv, UnInstallLaunchEv)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_BRIGHTSWEEP));
    m_hTrayIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_BRIGHTSWEEP));
}

CSweepDlg::~CSweepDlg()
{
    // Reached after the window ended through Enter; no worker may outlive
    // the object.
    EndWorkers();
    m_runner.StopAndWait();
    delete m_pFolderTable;
    if (m_brushPane)
        ::DeleteObject(m_brushPane);
}

int CSweepDlg::OnCreate()
{
    AfxSetMainWnd(m_hWnd);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hSkinBitmap = ::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SKIN));
    m_hSkinRgn = MakeSkinRegion(m_hSkinBitmap, RGB(0, 0, 0), 1);
    if (m_hSkinRgn)
        ::SetWindowRgn(m_hWnd, m_hSkinRgn, TRUE); // the region now belongs to the window
    if (m_hSkinBitmap)
        ::GetObjectA(m_hSkinBitmap, sizeof(m_bmSkin), &m_bmSkin);
    m_hSkinDC = ::CreateCompatibleDC(nullptr);
    m_hOldBitmap = ::SelectObject(m_hSkinDC, m_hSkinBitmap);
    if (!m_trayIcon.AddToTray(this, IDR_TRAYMENU, kIdleTip, m_hTrayIcon, WM_TRAY_NOTIFY)) {
        AfxMessageBox("Failed to create tray icon", MB_ICONSTOP);
        return -1;
    }
    return 0;
}

void CSweepDlg::CreateButtons()
{
    // The members in the order of the layout table.
    static CSkinButton* CSweepDlg::*const members[] = {
        &CSweepDlg::m_pBtnStart,  &CSweepDlg::m_pBtnAuto,  &CSweepDlg::m_pBtnSet,
        &CSweepDlg::m_pBtnHelp,   &CSweepDlg::m_pBtnMin,   &CSweepDlg::m_pBtnBye,
        &CSweepDlg::m_pBtnHotKey, &CSweepDlg::m_pBtnClear, &CSweepDlg::m_pBtnAbout,
    };
    static_assert(sizeof(members) / sizeof(members[0]) == kSkinButtonCount, "one member per button");
    for (int i = 0; i < kSkinButtonCount; ++i) {
        const SkinButtonLayout& row = kSkinButtons[i];
        auto* button = new CSkinButton;
        button->CreateButton(row.caption, RECT{0, 0, row.width, row.height}, row.shape, row.overlay, row.normal,
                             row.hover, row.pressed, this);
        this->*members[i] = button;
        button->MoveWindow(row.x, row.y, row.width, row.height, TRUE);
        button->ShowWindow(SW_SHOW);
        ::UpdateWindow(button->m_hWnd);
    }
}

void CSweepDlg::PlacePane(CLogEdit& pane, UINT id, const RECT& rc)
{
    pane.SubclassDlgItem(id, m_hWnd);
    pane.SetFixedRect(rc);
    RECT client;
    ::GetClientRect(pane.m_hWnd, &client);
    // The pane then snaps itself to its fixed rectangle.
    pane.MoveWindow(rc.left, rc.top, client.right, client.bottom, TRUE);
    pane.ShowWindow(SW_SHOW);
    ::UpdateWindow(pane.m_hWnd);
}

BOOL CSweepDlg::OnInitDialog()
{
    // The window is a borderless pop-up at the screen's origin: client
    // coordinates are the table's.
    CreateButtons();
    m_brushPane = ::CreateSolidBrush(m_crPaneBack);
    PlacePane(m_editLog, IDC_LOG, kLogPaneRect);
    PlacePane(m_editStatus, IDC_STATUS, kStatusPaneRect);
    OrderTabStops(m_hWnd);
    ShowOnTaskbar(m_hWnd, IDI_BRIGHTSWEEP);

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    BOOL ok = ::GetVersionExA(&version);
    switch (CheckStartupOs(ok, version, &m_strOsText)) {
    case StartupOs::Win31:
        AfxFatalExit("I'am sorry, Current windows3.1 can't be supported!");
    case StartupOs::Unsupported:
        AfxFatalExit("I'm sorry, Current your OS version can't be supported.");
    case StartupOs::Supported:
        break;
    }

    m_pFolderTable = NewFolderTableOrEnd();
    LoadSettings(m_settings);
    ApplyContentFlags();
    ApplyHotKeyState();
    UpdateAutoTimer();
    RefreshStatus();
    m_bPlaced = RestoreWindowPos(m_hWnd, SIZE{kSkinWidth, kSkinHeight});
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void CSweepDlg::OnDestroy()
{
    m_runner.StopAndWait();
    // The counts of a run that ended after the last pump go with the window.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_CLEAN_RUN_DONE, WM_CLEAN_RUN_DONE, PM_REMOVE))
        delete reinterpret_cast<WalkTally*>(msg.lParam);
    ::SelectObject(m_hSkinDC, m_hOldBitmap);
    if (m_hSkinBitmap)
        ::DeleteObject(m_hSkinBitmap);
    ::DeleteDC(m_hSkinDC);
    FreeButtons();
    m_hotKey.Remove();
    AfxSetMainWnd(nullptr);
}

void CSweepDlg::FreeButtons()
{
    for (CSkinButton** button : {&m_pBtnAbout, &m_pBtnClear, &m_pBtnHotKey, &m_pBtnMin, &m_pBtnHelp, &m_pBtnSet,
                                 &m_pBtnAuto, &m_pBtnStart, &m_pBtnBye}) {
        delete *button;
        *button = nullptr;
    }
}

void CSweepDlg::StartCleanRun()
{
    // One run at a time: a request meanwhile is ignored.
    if (m_bEnding || m_runner.IsRunning())
        return;
    ::SetDlgItemTextA(m_hWnd, IDC_LOG, "");
    // The run works on what is in force now: later changes reach the next run.
    CFolderTable snapshot = *m_pFolderTable;
    snapshot.SetCustomFolders(m_settings.customFolders.Snapshot());
    m_runner.Start(snapshot, &m_editLog, m_hWnd);
}

void CSweepDlg::OnSkinButtonClicked(WPARAM wp, LPARAM)
{
    auto* button = reinterpret_cast<CSkinButton*>(wp);
    if (!button)
        return;
    CSkinButton* const buttons[] = {m_pBtnStart, m_pBtnAuto, m_pBtnSet, m_pBtnHelp, m_pBtnMin,
                                    m_pBtnBye,   m_pBtnHotKey, m_pBtnClear, m_pBtnAbout};
    bool known = false;
    for (CSkinButton* b : buttons)
        known = known || b == button;
    if (!known)
        return;
    ::SetFocus(button->m_hWnd);
    if (button == m_pBtnStart) {
        StartCleanRun();
    } else if (button == m_pBtnAuto) {
        SetAutoClean(m_settings.applied.autoClean ? 0 : 1);
    } else if (button == m_pBtnSet) {
        OpenSettingsSheet();
    } else if (button == m_pBtnHelp) {
        StartWorker(HelpThreadProc, m_hWnd);
    } else if (button == m_pBtnMin) {
        StartWorker(MinimizeThreadProc, m_hWnd);
    } else if (button == m_pBtnBye) {
        ExitProgram();
    } else if (button == m_pBtnHotKey) {
        SetHotKeyEnabled(m_settings.applied.hotKeyEnabled ? 0 : 1);
    } else if (button == m_pBtnClear) {
        ::SetDlgItemTextA(m_hWnd, IDC_LOG, "");
    } else if (button == m_pBtnAbout) {
        ShowAboutBox(m_hWnd);
    }
}

bool CSweepDlg::SheetOpen() const
{
    return m_hSheetThread && ::WaitForSingleObject(m_hSheetThread, 0) == WAIT_TIMEOUT;
}

void CSweepDlg::OpenSettingsSheet()
{
    // One sheet at a time: the window is disabled only once the sheet shows.
    if (SheetOpen())
        return;
    auto* context = new SettingsSheetContext;
    context->owner = m_hWnd;
    context->settings = m_settings;
    if (!StartWorker(SettingsSheetThread, context, &m_hSheetThread))
        delete context;
}

void CSweepDlg::OnSettingsSheetClosed(bool ok, const CleanSettings& sheet)
{
    if (!ok) {
        m_settings.RevertSheet(sheet);
        SaveSettings();
        return;
    }
    m_settings.CommitSheet(sheet);
    CommitPendingSettings();
}

void CSweepDlg::CommitPendingSettings()
{
    SaveSettings();
    ApplyContentFlags();
    ApplyHotKeyState();
    RefreshStatus();
    UpdateAutoTimer();
}

void CSweepDlg::SaveSettings()
{
    ::SaveSettings(m_settings);
}

void CSweepDlg::ApplyContentFlags()
{
    ::ApplyContentFlags(m_settings, *m_pFolderTable);
}

void CSweepDlg::ApplyHotKeyState()
{
    m_hotKey.Apply(m_settings);
}

void CSweepDlg::RefreshStatus()
{
    m_strModeText = m_settings.applied.autoClean ? "Mode: Auto" : "Mode: Normal";
    m_strHotKeyText = m_settings.applied.hotKeyEnabled ? "HotKey: On" : "HotKey: Off";
    ::SetDlgItemTextA(m_hWnd, IDC_STATUS, "");
    m_editStatus.AppendText(m_strOsText);
    m_editStatus.AppendText("\r\n");
    m_editStatus.AppendText(m_strModeText);
    m_editStatus.AppendText("   ");
    m_editStatus.AppendText(m_strHotKeyText);
    m_editStatus.AppendText("\r\n");
    m_hTips = UpdateButtonTips(m_hWnd, m_hTips, m_settings.applied.autoClean != 0,
                               m_settings.applied.hotKeyEnabled != 0);
}

HBRUSH CSweepDlg::OnCtlColor(HDC hdc, HWND hCtl)
{
    int id = ::GetDlgCtrlID(hCtl);
    if (id != IDC_LOG && id != IDC_STATUS)
        return nullptr;
    ::SetBkColor(hdc, m_crPaneBack);
    ::SetTextColor(hdc, m_crPaneText);
    return m_brushPane;
}

// The skin's messages.
bool CSweepDlg::OnSkinMessage(UINT msg, WPARAM wp, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        // The about-box command is the only one of the window's own; the
        // screen saver and everything else take the default handling.
        if ((wp & 0xFFF0) != 0x0010)
            return false;
        ShowAboutBox(m_hWnd);
        *result = 0;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        *result = 0;
        return true;
    }
    case WM_QUERYDRAGICON:
        *result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    case WM_ERASEBKGND:
        ::BitBlt(reinterpret_cast<HDC>(wp), 0, 0, m_bmSkin.bmWidth, m_bmSkin.bmHeight, m_hSkinDC, 0, 0, SRCCOPY);
        *result = TRUE;
        return true;
    case WM_NCHITTEST:
        *result = HTCAPTION; // the whole skin drags the window
        return true;
    default:
        return false;
    }
}

bool CSweepDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
        if (HBRUSH brush = OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) {
            *result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        return false;
    case WM_TIMER:
        OnTimer(wp);
        return false;
    case WM_EXITSIZEMOVE:
        StoreWindowPos(m_hWnd);
        return false;
    case WM_TRAY_NOTIFY:
        *result = m_trayIcon.HandleTrayMessage(wp, lp);
        return true;
    case WM_SKINBUTTON_CLICKED:
        OnSkinButtonClicked(wp, lp);
        *result = 0;
        return true;
    case WM_SETTINGS_SHEET_CLOSED:
        OnSettingsSheetClosed(wp == IDOK, *reinterpret_cast<const CleanSettings*>(lp));
        *result = 0;
        return true;
    case WM_CLEAN_RUN_DONE: {
        auto* tally = reinterpret_cast<WalkTally*>(lp);
        OnCleanRunDone(*tally);
        delete tally;
        *result = 0;
        return true;
    }
    case WM_SWEEP_HIDDEN:
        m_trayIcon.m_bWindowShown = FALSE;
        *result = 0;
        return true;
    default:
        return OnSkinMessage(msg, wp, lp, result);
    }
}
