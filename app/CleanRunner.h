// What the program's folder table takes from the settings, and the start of
// clean runs on workers, one at a time, each over a copy of the table taken at
// its start; a run's fatal verdict. Used on the main window's thread only.
#pragma once
#include "engine/FolderTable.h"
#include "settings/CleanSettings.h"

#include <memory>

class CLogSink;

// Posted by a run that ended without being stopped to the window its starter
// named: lParam = a WalkTally* of the run, the receiver's to delete (also
// when it takes the message from its queue unread).
const UINT WM_CLEAN_RUN_DONE = WM_APP + 4;
// The tally a WM_CLEAN_RUN_DONE carries, now the caller's.
std::unique_ptr<WalkTally> TakeRunDone(LPARAM lp);
// Deletes the tallies of runs that ended after hWnd's last pump.
void DiscardRunDone(HWND hWnd);

// Held by the worker of every clean run of every copy of the program while it
// cleans: a later run waits for the earlier one to end.
constexpr char kCleanRunMutex[] = "Brightsweep1.0 clean run";

// Sets each enabled flag of the table to 1 exactly where the applied flag is 1.
void ApplyContentFlags(const CleanSettings& settings, CFolderTable& table);

// The fatal verdicts' texts, shown before the process ends with exit code 0.
// Returns for Run and Skip.
void EndOnFatalVerdict(OsVerdict verdict);

// The program's folder table; when the Shell Folders key is missing, shows
// that and ends the process with exit code 0.
CFolderTable* NewFolderTableOrEnd();

class CCleanRunner {
public:
    CCleanRunner() = default;
    ~CCleanRunner();
    CCleanRunner(const CCleanRunner&) = delete;
    CCleanRunner& operator=(const CCleanRunner&) = delete;

    bool IsRunning() const;
    // Starts a run over a copy of snapshot that writes to sink and, when it
    // ends, tells notify (if any) by WM_CLEAN_RUN_DONE. The worker first waits
    // for kCleanRunMutex (a stop request ends the wait). Refused (false) while
    // a run works or waits and after Stop.
    bool Start(const CFolderTable& snapshot, CLogSink* sink, HWND notify = nullptr);
    // Asks a working run to stop at its next entry or category; no run starts
    // afterwards.
    void RequestStop();
    // Asks the working run alone to stop: later runs start as usual.
    void StopCurrent();
    // RequestStop, then waits for the run while pumping this thread's messages.
    void StopAndWait();

private:
    struct Job;
    static UINT ThreadProc(LPVOID param);
    void Release();

    Job* m_pJob = nullptr;
    HANDLE m_hThread = nullptr;
    bool m_bStopped = false;
};
