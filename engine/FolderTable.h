// The clean run's working object: per category whether its folder is available
// and whether the user enabled it, the resolved folders, the user's folders
// and the sink of the run's text. The cleaners are its methods. The main
// window's thread owns the program's table; each run works on a copy of it
// taken when the run starts.
#pragma once
#include "engine/DeleteWalk.h"

#include <windows.h>
#include <string>
#include <vector>

class CLogSink;
class CBootDelete;

// What the clean run does on a given answer of GetVersionExA; the last three
// end the program, which the caller does.
enum class OsVerdict { Run, Skip, KernelError, Win31, Unsupported };
OsVerdict ClassifyOs(BOOL versionOk, const OSVERSIONINFOA& version);

// How DeleteTree walks a folder: through handles (the NT family) or through
// FindFirstFileA and full paths (the Windows 95 family).
enum class DeleteWalk { Native, Win95 };

class CFolderTable {
public:
    // Resolves the folders.
    CFolderTable();
    virtual ~CFolderTable();
    CFolderTable(const CFolderTable&) = default;
    CFolderTable& operator=(const CFolderTable&) = default;

    // False when the Shell Folders key could not be opened: the program ends.
    bool ShellFoldersFound() const { return m_bShellFolders; }

    void SetLogPane(CLogSink* pLog) { m_pLog = pLog; }
    // The user's folders for the Custom step.
    void SetCustomFolders(const std::vector<std::string>& folders) { m_customFolders = folders; }
    // The run's stop request, set by its starter; null: never stops.
    void SetStopFlag(const volatile LONG* stop) { m_pStop = stop; }
    bool StopRequested() const { return m_pStop && *m_pStop; }

    // The walk this system takes, with the list of files to delete at the
    // next start that goes with it; a test may choose the other one.
    void UseWalk(DeleteWalk walk) { m_walk = walk; }

    void ResolveFolders();
    static std::string QueryFolderValue(HKEY hKey, const char* valueName);

    // Clean run (worker thread): the version check, then Run when the system
    // is accepted. Returns the verdict; a fatal one is the caller's to show.
    OsVerdict CheckOsAndRun();
    // The same with a given answer of GetVersionExA: for platforms the test
    // machine cannot report.
    OsVerdict CheckOsAndRunFor(BOOL versionOk, const OSVERSIONINFOA& version);
    BOOL Run();
    // What the last Run removed and left, over every category; what the
    // cleaners did since the last category began (or the table was made).
    const WalkTally& RunTally() const { return m_run; }
    const WalkTally& StepTally() const { return m_step; }

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

    CLogSink* m_pLog = nullptr;
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

    std::vector<std::string> m_customFolders;
    WalkTally m_step;
    WalkTally m_run;
    DeleteWalk m_walk = DeleteWalk::Native;
    const volatile LONG* m_pStop = nullptr;
    bool m_bShellFolders = false;
};

