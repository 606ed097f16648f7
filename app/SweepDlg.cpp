#include "app/SweepDlg.h"

#include "app/AboutDlg.h"
#include "app/ButtonTips.h"
#include "app/HelpPage.h"
#include "app/RunTip.h"
#include "app/TaskbarButton.h"
#include "app/WindowPos.h"
#include "controls/Messages.h"
#include "controls/SkinButton.h"
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
    if (m_brushPane)
        ::DeleteObject(m_brushPane);
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

void CSweepDlg::CreateButtons()
{
    for (int i = 0; i < kSkinButtonCount; ++i) {
        const SkinButtonLayout& row = kSkinButtons[i];
        auto* button = new CSkinButton;
        button->CreateButton(row.caption, RECT{0, 0, row.width, row.height}, row.shape, row.overlay, row.normal,
                             row.hover, row.pressed, this);
        m_buttons[i] = button;
        button->MoveWindow(row.x, row.y, row.width, row.height, TRUE);
        button->ShowWindow(SW_SHOW);
        ::UpdateWindow(button->m_hWnd);
    }
}

void CSweepDlg::FreeButtons()
{
    // "About" first, then the others from "Clear" back to "Start"; "Bye" last.
    static const SkinButtonId order[] = {kButtonAbout, kButtonClear, kButtonHotKey, kButtonMin, kButtonHelp,
                                         kButtonSet,   kButtonAuto,  kButtonStart,  kButtonBye};
    static_assert(sizeof(order) / sizeof(order[0]) == kSkinButtonCount, "every button");
    for (SkinButtonId id : order) {
        delete m_buttons[id];
        m_buttons[id] = nullptr;
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
    // The counts of a run that ended after the last pump go with the window.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_CLEAN_RUN_DONE, WM_CLEAN_RUN_DONE, PM_REMOVE))
        delete reinterpret_cast<WalkTally*>(msg.lParam);
    m_skin.Release();
    FreeButtons();
    AfxSetMainWnd(nullptr);
}

void CSweepDlg::OnSkinButtonClicked(WPARAM wp)
{
    int id = 0;
    while (id < kSkinButtonCount && (!wp || reinterpret_cast<WPARAM>(m_buttons[id]) != wp))
        ++id;
    if (id == kSkinButtonCount)
        return;
    ::SetFocus(m_buttons[id]->m_hWnd);
    const SettingValues& applied = m_session.Settings().applied;
    switch (static_cast<SkinButtonId>(id)) {
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
        m_workers.Start(MinimizeThreadProc, m_hWnd);
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
    for (const std::string& text : {m_session.OsText(), std::string("\r\n"), m_session.ModeText(),
                                    std::string("   "), m_session.HotKeyText(), std::string("\r\n")})
        m_editStatus.AppendText(text);
    const SettingValues& applied = m_session.Settings().applied;
    m_hTips = UpdateButtonTips(m_hWnd, m_hTips, applied.autoClean != 0, applied.hotKeyEnabled != 0);
}

void CSweepDlg::TipChanged()
{
    std::string tip = m_session.TrayTip();
    if (!tip.empty()) // before any run the tip stays the program's name
        m_trayIcon.SetTip(tip.c_str());
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
bool CSweepDlg::OnSkinMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
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
        m_skin.Paint(reinterpret_cast<HDC>(wp));
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
    default:
        return false;
    }
}
