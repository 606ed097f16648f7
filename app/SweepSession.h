// The program's state and its verbs, on the user-interface thread: the
// settings, the folder table, the hot-key switch, the clean runner, the auto
// schedule and the last run's counts. It knows no window; it tells its view
// what changed through CSessionView, and the view turns clicks, keys and
// commands into its verbs. A /clean run is the same session with a view that
// writes a file.
#pragma once
#include "app/CleanRunner.h"
#include "settings/CleanSettings.h"
#include "settings/HotKeyState.h"

#include <memory>
#include <string>

class CLogSink;

class CSessionView {
public:
    // Where a run writes its text, and the window its end is posted to
    // (WM_CLEAN_RUN_DONE, for OnRunDone); null: none.
    virtual CLogSink* RunLog() = 0;
    virtual HWND RunDoneWindow() = 0;
    // A run starts: the log empties.
    virtual void ClearLog() = 0;
    // The mode or the hot key's state changed.
    virtual void StatusChanged() = 0;
    // The last run or the next clean changed (TrayTip).
    virtual void TipChanged() = 0;
    // The auto-clean timer: (re)started with this period, or stopped for 0.
    virtual void SetAutoTimer(UINT periodMs) = 0;

protected:
    ~CSessionView() = default;
};

class CSweepSession {
public:
    CSweepSession(CSessionView& view, CHotKeyState::HookFunction install,
                  CHotKeyState::HookFunction uninstall);
    ~CSweepSession();
    CSweepSession(const CSweepSession&) = delete;
    CSweepSession& operator=(const CSweepSession&) = delete;

    // Start-up: the operating system, the folder table and the settings; an
    // unsupported system, a missing Shell Folders key or a registry failure
    // ends the program.
    void Load();
    // What a window adds to a loaded session: the hook and the schedule, then
    // the status.
    void Activate();

    // Starts a run over the table and folders in force now. Ignored (false)
    // while a run works and once the session shuts down.
    bool StartClean();
    // The same run as a preview: it writes what StartClean would remove and
    // removes nothing; its end changes no tip. Ignored as StartClean is.
    bool StartPreview();
    void SetAuto(int on);
    void SetHotKey(int on);
    // The settings for a sheet that opens, with the Run key's entry read now.
    const CleanSettings& SettingsForSheet();
    // The sheet's end: OK takes over what its pages changed and puts it in
    // force (a changed "Start with Windows" writes or removes the Run key's
    // entry), Cancel keeps only its folder list; both save.
    void CommitSheet(bool ok, const CleanSettings& sheet);
    // The auto timer's tick: the next clean moves on, and a run starts.
    void OnAutoTick();
    void OnRunDone(const WalkTally& tally);
    // Windows asks whether the session may end: true when it cleans then.
    bool CleansAtSessionEnd() const { return m_settings.applied.endSessionClean != 0; }
    // Windows ends the session: with CleansAtSessionEnd, and unless shutting
    // down, one clean run to its end (or the one working; a preview working
    // is stopped first), pumping meanwhile, then the settings saved, and
    // true: Shutdown follows.
    bool CleanForSessionEnd();
    // The way out begins: nothing starts from now on. False when it had begun.
    bool BeginShutdown();
    // The one way out: a working run stops and is waited for (pumping), the
    // tallies of runs that ended unread go, then the folder table and the hook.
    // Nothing starts afterwards; again, nothing happens.
    void Shutdown();

    const CleanSettings& Settings() const { return m_settings; }
    bool IsRunning() const { return m_runner.IsRunning(); }
    bool HookInstalled() const { return m_hotKey.IsInstalled(); }
    // The status pane's parts: "OS: ..." (or empty), "Mode: ...", "HotKey: ...",
    // and its text: the system's line, then the mode and the hot key's state.
    std::string ModeText() const;
    std::string HotKeyText() const;
    std::string StatusText() const;
    // After a run: when, what it removed and, with Auto on, the next clean;
    // empty before any run.
    std::string TrayTip() const;

private:
    void Save();
    void UpdateAutoTimer();
    bool StartRun(bool preview);

    CSessionView& m_view;
    CleanSettings m_settings;
    std::unique_ptr<CFolderTable> m_pTable;
    CHotKeyState m_hotKey;
    CCleanRunner m_runner;
    std::string m_strOsText;
    bool m_bTimerRunning = false;
    SYSTEMTIME m_nextClean = {};
    bool m_bHaveRun = false;
    SYSTEMTIME m_lastRunAt = {};
    WalkTally m_lastRun;
    bool m_bEnding = false;
    bool m_bShut = false;
    bool m_bPreviewing = false; // the run started last is a preview
};
