#include "app/SweepSession.h"

#include "app/OsStatus.h"
#include "app/RunTip.h"
#include "framework/MessageBox.h"
#include "framework/Thread.h"
#include "settings/SettingsStore.h"
#include "settings/StartupEntry.h"

CSweepSession::CSweepSession(CSessionView& view, CHotKeyState::HookFunction install,
                             CHotKeyState::HookFunction uninstall)
    : m_view(view), m_hotKey(install, uninstall)
{
}

CSweepSession::~CSweepSession()
{
    Shutdown();
}

void CSweepSession::Load()
{
    OSVERSIONINFOA version;
    BOOL ok = CurrentOsVersion(&version);
    EndOnFatalVerdict(CheckStartupOs(ok, version, &m_strOsText));
    m_pTable.reset(NewFolderTableOrEnd());
    LoadSettings(m_settings);
    ApplyContentFlags(m_settings, *m_pTable);
}

void CSweepSession::Activate()
{
    m_hotKey.Apply(m_settings);
    UpdateAutoTimer();
    m_view.StatusChanged();
}

bool CSweepSession::StartClean()
{
    return StartRun(false);
}

bool CSweepSession::StartPreview()
{
    return StartRun(true);
}

bool CSweepSession::StartRun(bool preview)
{
    // One run at a time, a preview included: a request meanwhile is ignored.
    if (m_bEnding || !m_pTable || m_runner.IsRunning())
        return false;
    m_view.ClearLog();
    // The run works on what is in force now: later changes reach the next run.
    CFolderTable snapshot = *m_pTable;
    snapshot.SetCustomFolders(m_settings.customFolders.Snapshot());
    if (preview)
        snapshot.MakePreview();
    m_bPreviewing = preview;
    // A preview cleaned nothing: no tip tells of it.
    return m_runner.Start(snapshot, m_view.RunLog(), preview ? nullptr : m_view.RunDoneWindow());
}

void CSweepSession::SetAuto(int on)
{
    m_settings.applied.autoClean = on;
    Save();
    m_view.StatusChanged();
    UpdateAutoTimer();
}

void CSweepSession::SetHotKey(int on)
{
    m_settings.applied.hotKeyEnabled = on;
    Save();
    if (!m_bEnding) // the hook stays out once removed for the end
        m_hotKey.Apply(m_settings);
    m_view.StatusChanged();
}

const CleanSettings& CSweepSession::SettingsForSheet()
{
    m_settings.applied.startWithWindows = m_settings.pending.startWithWindows = StartsWithWindows() ? 1 : 0;
    return m_settings;
}

void CSweepSession::CommitSheet(bool ok, const CleanSettings& sheet)
{
    if (!ok) {
        m_settings.RevertSheet(sheet);
        Save();
        return;
    }
    m_settings.CommitSheet(sheet);
    Save();
    // A failure leaves the entry as it was; the box shows it at the next opening.
    if (sheet.pending.startWithWindows != sheet.applied.startWithWindows)
        SetStartWithWindows(m_settings.applied.startWithWindows != 0);
    if (m_pTable)
        ApplyContentFlags(m_settings, *m_pTable);
    if (!m_bEnding)
        m_hotKey.Apply(m_settings);
    m_view.StatusChanged();
    UpdateAutoTimer();
}

void CSweepSession::OnAutoTick()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_nextClean = AddMinutes(now, static_cast<UINT>(m_settings.applied.autoCleanMinutes));
    StartClean();
    m_view.TipChanged();
}

void CSweepSession::OnRunDone(const WalkTally& tally)
{
    m_bHaveRun = true;
    m_lastRun = tally;
    ::GetLocalTime(&m_lastRunAt);
    m_view.TipChanged();
}

bool CSweepSession::CleanForSessionEnd()
{
    if (!CleansAtSessionEnd() || m_bEnding)
        return false;
    if (m_bPreviewing && m_runner.IsRunning()) {
        m_runner.StopCurrent();
        PumpMessagesUntil([this] { return !m_runner.IsRunning(); });
    }
    if (!m_runner.IsRunning())
        StartClean();
    PumpMessagesUntil([this] { return !m_runner.IsRunning(); });
    Save();
    return true;
}

bool CSweepSession::BeginShutdown()
{
    if (m_bEnding)
        return false;
    m_bEnding = true;
    return true;
}

void CSweepSession::Shutdown()
{
    if (m_bShut)
        return;
    m_bShut = m_bEnding = true;
    // A working run stops at its next entry; it writes to the view's log.
    m_runner.StopAndWait();
    if (HWND hWnd = m_view.RunDoneWindow())
        DiscardRunDone(hWnd);
    m_pTable.reset();
    m_hotKey.Remove();
}

std::string CSweepSession::ModeText() const
{
    return m_settings.applied.autoClean ? "Mode: Auto" : "Mode: Normal";
}

std::string CSweepSession::HotKeyText() const
{
    return m_settings.applied.hotKeyEnabled ? "HotKey: On" : "HotKey: Off";
}

std::string CSweepSession::StatusText() const
{
    return m_strOsText + "\r\n" + ModeText() + "   " + HotKeyText() + "\r\n";
}

std::string CSweepSession::TrayTip() const
{
    if (!m_bHaveRun)
        return "";
    const bool autoOn = m_settings.applied.autoClean && m_bTimerRunning;
    return FormatRunTip(LOCALE_USER_DEFAULT, m_lastRunAt, m_lastRun.files, m_lastRun.bytes,
                        autoOn ? &m_nextClean : nullptr);
}

void CSweepSession::Save()
{
    SaveSettings(m_settings);
}

void CSweepSession::UpdateAutoTimer()
{
    const SettingValues& values = m_settings.applied;
    if (values.autoClean && values.autoCleanMinutes) {
        m_view.SetAutoTimer(static_cast<UINT>(values.autoCleanMinutes) * 60000u);
        m_bTimerRunning = true;
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        m_nextClean = AddMinutes(now, static_cast<UINT>(values.autoCleanMinutes));
    } else if (!values.autoClean && m_bTimerRunning) {
        m_view.SetAutoTimer(0);
        m_bTimerRunning = false;
    }
    m_view.TipChanged();
}
