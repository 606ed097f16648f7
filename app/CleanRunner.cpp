#include "app/CleanRunner.h"

#include "framework/MessageBox.h"
#include "framework/Thread.h"

void ApplyContentFlags(const CleanSettings& settings, CFolderTable& table)
{
    for (const CategoryRow& row : kCategories)
        table.SetEnabled(row.id, CategoryFlag(settings.applied, row.id) == 1);
}

CFolderTable* NewFolderTableOrEnd()
{
    auto* table = new CFolderTable;
    if (!table->ShellFoldersFound())
        AfxFatalExit("I'am sorry, Can't Find Right Registry");
    return table;
}

void EndOnFatalVerdict(OsVerdict verdict)
{
    if (const char* text = FatalOsText(verdict))
        AfxFatalExit(text);
}

// What one worker owns for its run; freed by the runner once the worker has
// ended.
struct CCleanRunner::Job {
    CFolderTable table;
    LONG stop = 0; // written with InterlockedExchange by the runner
    HWND notify = nullptr;
};

CCleanRunner::~CCleanRunner()
{
    StopAndWait();
}

bool CCleanRunner::IsRunning() const
{
    return m_hThread && ::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

bool CCleanRunner::Start(const CFolderTable& snapshot, CLogSink* sink, HWND notify)
{
    if (m_bStopped || IsRunning())
        return false;
    Release();
    m_pJob = new Job{snapshot};
    m_pJob->notify = notify;
    m_pJob->table.SetLogPane(sink);
    m_pJob->table.SetStopFlag(&m_pJob->stop);
    if (!AfxBeginThread(ThreadProc, m_pJob, nullptr, &m_hThread)) {
        Release();
        return false;
    }
    return true;
}

UINT CCleanRunner::ThreadProc(LPVOID param)
{
    // The box and the end of the process come from this thread, as the run's
    // own text does.
    Job& job = *static_cast<Job*>(param);
    // One clean at a time across processes. A run left by a process that
    // died (abandoned) counts as ended; without a mutex the run goes ahead.
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, kCleanRunMutex);
    bool owned = false;
    while (mutex && !owned && !job.stop) {
        DWORD wait = ::WaitForSingleObject(mutex, 100);
        owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        if (wait == WAIT_FAILED)
            break;
    }
    if (!job.stop)
        EndOnFatalVerdict(job.table.CheckOsAndRun());
    if (owned)
        ::ReleaseMutex(mutex);
    if (mutex)
        ::CloseHandle(mutex);
    if (job.notify && !job.stop) {
        auto* tally = new WalkTally(job.table.RunTally());
        if (!::PostMessageA(job.notify, WM_CLEAN_RUN_DONE, 0, reinterpret_cast<LPARAM>(tally)))
            delete tally;
    }
    return 0;
}

void CCleanRunner::RequestStop()
{
    m_bStopped = true;
    StopCurrent();
}

void CCleanRunner::StopCurrent()
{
    if (m_pJob)
        ::InterlockedExchange(&m_pJob->stop, 1);
}

void CCleanRunner::StopAndWait()
{
    RequestStop();
    PumpMessagesUntil([this] { return !IsRunning(); });
    Release();
}

void CCleanRunner::Release()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    delete m_pJob;
    m_pJob = nullptr;
}

std::unique_ptr<WalkTally> TakeRunDone(LPARAM lp)
{
    return std::unique_ptr<WalkTally>(reinterpret_cast<WalkTally*>(lp));
}

void DiscardRunDone(HWND hWnd)
{
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, WM_CLEAN_RUN_DONE, WM_CLEAN_RUN_DONE, PM_REMOVE))
        TakeRunDone(msg.lParam);
}
