// The clean run's working object: per category (engine/Categories.def) whether
// its folder is available and whether the user enabled it, the resolved
// folders, the user's folders and the sink of the run's text. The cleaners are
// its methods. The main window's thread owns the program's table; each run
// works on a copy of it taken when the run starts.
#pragma once
#include "engine/Categories.h"
#include "engine/DeleteWalk.h"
#include "engine/OsVersion.h"

#include <windows.h>
#include <string>
#include <vector>

class CLogSink;
class CBootDelete;

// How DeleteTree walks a folder: through handles (the NT family) or through
// FindFirstFileA and full paths (the Windows 95 family).
enum class DeleteWalk { Native, Win95 };

class CFolderTable {
public:
    // Resolves the folders.
    CFolderTable();
    CFolderTable(const CFolderTable&) = default;
    CFolderTable& operator=(const CFolderTable&) = default;

    // False when the Shell Folders key could not be opened: the program ends.
    bool ShellFoldersFound() const { return m_bShellFolders; }

    void SetLogPane(CLogSink* pLog) { m_pLog = pLog; }

    // Per category: its folder was found (always for one without a folder);
    // the user enabled it; its folder as read ("Error" for a Shell Folders
    // value that could not be read, empty for none).
    BOOL Has(Category c) const { return m_has[Index(c)]; }
    BOOL Enabled(Category c) const { return m_enabled[Index(c)]; }
    void SetEnabled(Category c, BOOL on) { m_enabled[Index(c)] = on ? TRUE : FALSE; }
    const std::string& Folder(Category c) const { return m_folder[Index(c)]; }

    // The user's folders for the Custom step.
    void SetCustomFolders(const std::vector<std::string>& folders) { m_customFolders = folders; }
    // The run's stop request, set by its starter; null: never stops.
    void SetStopFlag(const volatile LONG* stop) { m_pStop = stop; }
    bool StopRequested() const { return m_pStop && *m_pStop; }

    // The walk this system takes, with the list of files to delete at the
    // next start that goes with it; a test may choose the other one.
    void UseWalk(DeleteWalk walk) { m_walk = walk; }

    // From now on this table only counts, with no way back: Run goes through
    // exactly what a clean run would (categories, folder judgement, walks,
    // order) and writes what it would remove ("Begin preview..."), deleting
    // nothing, scheduling nothing for the next start, writing no registry
    // value and clearing no history.
    void MakePreview() { m_mode = WalkMode::Count; }
    bool IsPreview() const { return m_mode == WalkMode::Count; }

    void ResolveFolders();
    static std::string QueryFolderValue(HKEY hKey, const char* valueName);

    // Clean run (worker thread): the version check, then Run when the system
    // is accepted. Returns the verdict; a fatal one is the caller's to show.
    OsVerdict CheckOsAndRun();
    // The same with a given answer of GetVersionExA: for platforms the test
    // machine cannot report.
    OsVerdict CheckOsAndRunFor(BOOL versionOk, const OSVERSIONINFOA& version);
    BOOL Run();
    // What the last Run removed and left, over every category.
    const WalkTally& RunTally() const { return m_run; }

    // Cleaners (worker thread): each category's is named in its row.
    void DeleteTree(const char* pattern, const char* folder);
    void CleanTemp();
    void CleanCache();
    void CleanCookies();
    void CleanFavorites();
    void CleanRecent();
    void CleanCustom();
    void CleanHistory();
    // The History category's work: CleanHistory and the URL history again.
    void CleanHistoryStep();
    HRESULT ClearUrlHistory();
    void CleanTypedUrls();

private:
    // The temporary-files folder into folder; false when there is none.
    static bool ResolveTemp(std::string& folder);
    void Append(const char* text);
    // A category's preview line after its name: what it would remove, or
    // "skipped as unsafe" when every folder it has would be refused.
    std::string PreviewEnding(Category c) const;
    // DeleteTree that hands what another program holds open to held (or not,
    // when null).
    void EmptyFolder(const char* pattern, const char* folder, CBootDelete* held);
    // The browser's folders, whose files in use go at the next start.
    void EmptyBrowserFolder(const std::string& folder);

    CLogSink* m_pLog = nullptr;
    BOOL m_has[kCategoryCount] = {};
    BOOL m_enabled[kCategoryCount] = {};
    std::string m_folder[kCategoryCount];
    std::vector<std::string> m_customFolders;
    WalkTally m_step;
    WalkTally m_run;
    DeleteWalk m_walk = DeleteWalk::Native;
    WalkMode m_mode = WalkMode::Delete;
    // The category at work: its folders refused and accepted, and for
    // TypedURLs the addresses it would remove.
    ULONG m_refused = 0;
    ULONG m_accepted = 0;
    ULONGLONG m_addresses = 0;
    const volatile LONG* m_pStop = nullptr;
    bool m_bShellFolders = false;
};
