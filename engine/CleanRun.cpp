// The clean run: the version check, then the categories in their fixed order.
#include "engine/FolderTable.h"

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

OsVerdict CFolderTable::CheckOsAndRun()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    BOOL ok = ::GetVersionExA(&version);
    return CheckOsAndRunFor(ok, version);
}

OsVerdict CFolderTable::CheckOsAndRunFor(BOOL versionOk, const OSVERSIONINFOA& version)
{
    OsVerdict verdict = ClassifyOs(versionOk, version);
    if (verdict == OsVerdict::Run)
        Run();
    return verdict;
}

BOOL CFolderTable::Run()
{
    m_run = WalkTally();
    Append("Begin cleaning...");
    Append("\r\n");

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
        m_step = WalkTally();
        step.work(*this);
        m_run.Add(m_step);
        Append(CategoryEnding(m_step).c_str());
    }

    Append("End cleaning...OK");
    Append("\r\n");
    return TRUE;
}
