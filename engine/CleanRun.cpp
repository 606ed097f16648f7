// The clean run: the version check, then the categories in their fixed order.
#include "controls/LogEdit.h"
#include "engine/FolderTable.h"
#include "framework/MessageBox.h"
#include "framework/Thread.h"

OsVerdict ClassifyOs(BOOL versionOk, const OSVERSIONINFOA& version)
{
    if (!versionOk)
        return OsVerdict::KernelError;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return OsVerdict::Win31;
    case VER_PLATFORM_WIN32_WINDOWS:
        return OsVerdict::Run;
    case VER_PLATFORM_WIN32_NT:
        return version.dwMajorVersion >= 3 && version.dwMajorVersion <= 5 ? OsVerdict::Run
                                                                          : OsVerdict::Skip;
    default:
        return OsVerdict::Unsupported;
    }
}

BOOL CFolderTable::CheckOsAndRun()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    BOOL ok = ::GetVersionExA(&version);
    return CheckOsAndRunFor(ok, version);
}

BOOL CFolderTable::CheckOsAndRunFor(BOOL versionOk, const OSVERSIONINFOA& version)
{
    switch (ClassifyOs(versionOk, version)) {
    case OsVerdict::KernelError:
        AfxFatalExit("I'm sorry, A Kernal Error!");
    case OsVerdict::Win31:
        AfxFatalExit("I'am sorry, Current windows3.1 can't be supported!");
    case OsVerdict::Unsupported:
        AfxFatalExit("I'm sorry, Current your OS version can't be supported.");
    case OsVerdict::Skip:
        return TRUE;
    case OsVerdict::Run:
        break;
    }
    Run();
    return TRUE;
}

BOOL CFolderTable::Run()
{
    Append("Begin cleaning...");
    Append("\r\n");

    // Flags are read when the run reaches each step, not copied at its start.
    struct Step {
        const char* text;
        const BOOL* has; // null: always available
        const BOOL* enabled;
        void (*work)(CFolderTable&);
    } steps[] = {
        {"Cleaning Temp...", &m_bHasTemp, &m_bCleanTemp, [](CFolderTable& t) { t.CleanTemp(); }},
        {"Cleaning Cache...", &m_bHasCache, &m_bCleanCache, [](CFolderTable& t) { t.CleanCache(); }},
        {"Cleaning Cookies...", &m_bHasCookies, &m_bCleanCookies,
         [](CFolderTable& t) { t.CleanCookies(); }},
        {"Cleaning Favorites...", &m_bHasFavorites, &m_bCleanFavorites,
         [](CFolderTable& t) { t.CleanFavorites(); }},
        {"Cleaning History...", &m_bHasHistory, &m_bCleanHistory,
         [](CFolderTable& t) {
             t.CleanHistory();
             t.ClearUrlHistory();
         }},
        {"Cleaning TypedURLs...", nullptr, &m_bCleanTypedUrls,
         [](CFolderTable& t) { t.CleanTypedUrls(); }},
        {"Cleaning Recent...", &m_bHasRecent, &m_bCleanRecent, [](CFolderTable& t) { t.CleanRecent(); }},
        {"Cleaning Custom...", nullptr, &m_bCleanCustom, [](CFolderTable& t) { t.CleanCustom(); }},
    };
    for (const Step& step : steps) {
        if (StopRequested())
            return TRUE;
        if ((step.has && !*step.has) || !*step.enabled)
            continue;
        Append(step.text);
        step.work(*this);
        Append("OK\r\n");
    }

    Append("End cleaning...OK");
    Append("\r\n");
    return TRUE;
}

UINT CleanThreadProc(LPVOID param)
{
    auto* table = static_cast<CFolderTable*>(param);
    struct EndGuard {
        CFolderTable* table;
        ~EndGuard() { table->EndRun(); }
    } guard{table};
    table->CheckOsAndRun();
    return 0;
}

bool StartCleanRun(CFolderTable* table, CLogEdit* logPane)
{
    if (!table->TryBeginRun())
        return false;
    if (logPane)
        logPane->SetWindowText("");
    if (!AfxBeginThread(CleanThreadProc, table)) {
        table->EndRun();
        return false;
    }
    return true;
}

void StopCleanRunAndWait(CFolderTable* table)
{
    table->RequestStop();
    PumpMessagesUntil([table] { return !table->IsRunning(); });
}
