#include "app/SweepDlg.h"

#include "app/AboutDlg.h"
#include "app/OsStatus.h"
#include "app/SkinRegion.h"
#include "controls/Messages.h"
#include "controls/ShellOpen.h"
#include "controls/SkinButton.h"
#include "engine/FolderTable.h"
#include "framework/MessageBox.h"
#include "framework/Thread.h"
#include "hook/Keywatch.h"
#include "res/resource.h"
#include "res/resource_menu.h"
#include "res/SkinLayout.h"
#include "settings/SettingsStore.h"
#include "settings/pages/SettingsSheet.h"

#include <cstdlib>

namespace {

// Sent to the window from other threads: wParam = a CSweepDlg::Call.
const UINT WM_SWEEP_CALL = WM_USER + 1011;

} // namespace

CSweepDlg::CSweepDlg(HWND hParent) : CDialog(IDD_BRIGHTSWEEP, hParent), m_hotKey(InstallLaunchEv, UnInstallLaunchEv)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_BRIGHTSWEEP));
    m_hTrayIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_BRIGHTSWEEP));
}

CSweepDlg::~CSweepDlg()
{
    // Reached after the window ended through Enter; no run works any more,
    // and no worker may outlive the object.
    EndWorkers();
    delete m_pFolderTable;
    if (m_brushPane)
        ::DeleteObject(m_brushPane);
}

bool CSweepDlg::OnOwnThread() const
{
    return !m_hWnd || ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId();
}

void CSweepDlg::CallOnOwnThread(Call call)
{
    SendMessage(WM_SWEEP_CALL, static_cast<WPARAM>(call), 0);
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
    if (!m_trayIcon.AddToTray(this, IDR_TRAYMENU, "Brightsweep", m_hTrayIcon, WM_TRAY_NOTIFY)) {
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

    m_pFolderTable = new CFolderTable;
    LoadSettings(m_settings);
    m_hotKey.SetOwnerWindow(m_hWnd);
    ApplyContentFlags();
    ApplyHotKeyState();
    UpdateAutoTimer();
    RefreshStatus();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void CSweepDlg::OnDestroy()
{
    StopCleanRun();
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

void CSweepDlg::StopCleanRun()
{
    if (m_pFolderTable)
        StopCleanRunAndWait(m_pFolderTable);
}

void CSweepDlg::StartCleanRun()
{
    if (m_bEnding)
        return;
    m_pFolderTable->SetLogPane(&m_editLog);
    ::StartCleanRun(m_pFolderTable, &m_editLog);
}

void CSweepDlg::OnSkinButtonClicked(WPARAM wp, LPARAM)
{
    m_pFolderTable->SetLogPane(&m_editLog);
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
        StartWorker(HelpWorker);
    } else if (button == m_pBtnMin) {
        StartWorker(MinimizeThreadProc);
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

void CSweepDlg::OpenSettingsSheet()
{
    // One sheet at a time: the window is disabled only once the sheet shows.
    if (::InterlockedExchange(&m_bSheetOpen, 1))
        return;
    auto* context = new SettingsSheetContext;
    context->owner = this;
    if (!StartWorker(SettingsSheetThread, context, &m_nSheetThreadId)) {
        delete context;
        m_bSheetOpen = 0;
    }
}

void CSweepDlg::SettingsSheetEnded()
{
    m_bSheetOpen = 0;
    WorkerEnded();
}

void CSweepDlg::CommitPendingSettings()
{
    m_settings.CommitPending();
    SaveSettings();
    ApplyContentFlags();
    // The hook, the status and the timer are the window thread's: each hands
    // itself over, so they outlive the sheet's thread.
    ApplyHotKeyState();
    RefreshStatus();
    UpdateAutoTimer();
}

void CSweepDlg::RevertPendingSettings()
{
    m_settings.RevertPending();
    SaveSettings();
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
    if (!OnOwnThread())
        return CallOnOwnThread(kRefreshStatus);
    m_strModeText = m_settings.applied.autoClean ? "Mode: Auto" : "Mode: Normal";
    m_strHotKeyText = m_settings.applied.hotKeyEnabled ? "HotKey: On" : "HotKey: Off";
    ::SetDlgItemTextA(m_hWnd, IDC_STATUS, "");
    m_editStatus.AppendText(m_strOsText);
    m_editStatus.AppendText("\r\n");
    m_editStatus.AppendText(m_strModeText);
    m_editStatus.AppendText("   ");
    m_editStatus.AppendText(m_strHotKeyText);
    m_editStatus.AppendText("\r\n");
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

bool CSweepDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
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
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_ERASEBKGND:
        ::BitBlt(reinterpret_cast<HDC>(wp), 0, 0, m_bmSkin.bmWidth, m_bmSkin.bmHeight, m_hSkinDC, 0, 0, SRCCOPY);
        *result = TRUE;
        return true;
    case WM_NCHITTEST:
        *result = HTCAPTION; // the whole skin drags the window
        return true;
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
    case WM_TRAY_NOTIFY:
        *result = m_trayIcon.HandleTrayMessage(wp, lp);
        return true;
    case WM_SKINBUTTON_CLICKED:
        OnSkinButtonClicked(wp, lp);
        *result = 0;
        return true;
    case WM_APPLY_HOTKEY_STATE:
        *result = m_hotKey.OnApplyMessage(wp, lp);
        return true;
    case WM_SWEEP_CALL:
        if (wp == kRefreshStatus)
            RefreshStatus();
        else if (wp == kUpdateAutoTimer)
            UpdateAutoTimer();
        else if (wp == kRestoreWindow)
            RestoreWindow();
        *result = 0;
        return true;
    default:
        return false;
    }
}
