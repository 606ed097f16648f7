// The clean run's working object: per category whether its folder is available
// and whether the user enabled it, the resolved folders, and the log pane of
// the next run. The cleaners are its methods.
#pragma once
#include <windows.h>
#include <string>

class CLogEdit;
class CFolderList;
class CBootDelete;

// How DeleteTree walks a folder: through handles (the NT family) or through
// FindFirstFileA and full paths (the Windows 95 family).
enum class DeleteWalk { Native, Win95 };

class CFolderTable {
public:
    // Resolves the folders; ends the process when the Shell Folders key is missing.
    CFolderTable();
    virtual ~CFolderTable();
    CFolderTable(const CFolderTable&) = delete;
    CFolderTable& operator=(const CFolderTable&) = delete;

    void SetLogPane(CLogEdit* pLog) { m_pLog = pLog; }
    // The user's folders for the Custom step; not owned. Null means none.
    void SetCustomFolders(const CFolderList* pFolders) { m_pCustomFolders = pFolders; }

    // The walk this system takes, with the list of files to delete at the
    // next start that goes with it; a test may choose the other one.
    void UseWalk(DeleteWalk walk) { m_walk = walk; }

    void ResolveFolders();
    static std::string QueryFolderValue(HKEY hKey, const char* valueName);

    // Clean run (worker thread).
    BOOL CheckOsAndRun();
    // The same with a given answer of GetVersionExA: for platforms the test
    // machine cannot report.
    BOOL CheckOsAndRunFor(BOOL versionOk, const OSVERSIONINFOA& version);
    BOOL Run();

    // Cleaners (worker thread).
    BOOL DeleteTree(const char* pattern, const char* folder);
    BOOL CleanTemp();
    BOOL CleanCache();
    BOOL CleanCookies();
    BOOL CleanFavorites();
    BOOL CleanRecent();
    void CleanCustom();
    BOOL CleanHistory();
    HRESULT ClearUrlHistory();
    BOOL CleanTypedUrls();

    // One run at a time. TryBeginRun marks the table busy and returns false when
    // a run already works or a stop was requested; EndRun is the run's very last
    // touch of the table.
    bool TryBeginRun();
    void EndRun();
    bool IsRunning() const { return m_lRunning != 0; }
    // Asks a working run to stop at its next directory entry or category, and
    // refuses every later run: for shutting down.
    void RequestStop() { ::InterlockedExchange(&m_lStop, 1); }
    bool StopRequested() const { return m_lStop != 0; }

    CLogEdit* m_pLog = nullptr;
    BOOL m_bHasTemp = FALSE;
    BOOL m_bCleanTemp = FALSE;
    BOOL m_bHasCache = FALSE;
    BOOL m_bCleanCache = FALSE;
    BOOL m_bHasCookies = FALSE;
    BOOL m_bCleanCookies = FALSE;
    BOOL m_bHasFavorites = FALSE;
    BOOL m_bCleanFavorites = FALSE;
    BOOL m_bHasHistory = FALSE;
    BOOL m_bCleanHistory = FALSE;
    BOOL m_bCleanTypedUrls = FALSE;
    BOOL m_bHasRecent = FALSE;
    BOOL m_bCleanRecent = FALSE;
    BOOL m_bCleanCustom = FALSE;
    std::string m_strCache;
    std::string m_strCookies;
    std::string m_strFavorites;
    std::string m_strHistory;
    std::string m_strRecent;
    std::string m_strTemp;

private:
    void Append(const char* text);
    // DeleteTree that hands what another program holds open to held (or not,
    // when null).
    void EmptyFolder(const char* pattern, const char* folder, CBootDelete* held);
    // The browser's folders, whose files in use go at the next start.
    void EmptyBrowserFolder(const std::string& folder);

    const CFolderList* m_pCustomFolders = nullptr;
    DeleteWalk m_walk = DeleteWalk::Native;
    volatile LONG m_lRunning = 0;
    volatile LONG m_lStop = 0;
};

// What the clean run does on a given answer of GetVersionExA.
enum class OsVerdict { Run, Skip, KernelError, Win31, Unsupported };
OsVerdict ClassifyOs(BOOL versionOk, const OSVERSIONINFOA& version);

// The worker's procedure: param is the table. Returns 0.
UINT CleanThreadProc(LPVOID param);

// Starts a clean run on a worker: empties the log pane, then runs over table.
// Ignored (returns false, the pane untouched) while another run works.
bool StartCleanRun(CFolderTable* table, CLogEdit* logPane);

// Asks a working run to stop and waits for it while pumping this thread's
// messages. Afterwards the table may be freed.
void StopCleanRunAndWait(CFolderTable* table);
