// The clean run: the version check, then the categories in their table's order.
#include "engine/FolderTable.h"

OsVerdict CFolderTable::CheckOsAndRun()
{
    OSVERSIONINFOA version;
    BOOL ok = CurrentOsVersion(&version);
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
    // Each category's cleaner, from its row.
    static void (CFolderTable::*const kCleaners[])() = {
#define CATEGORY(id, name, log, on, content, field, box, folder, value, cleaner, ...) &CFolderTable::cleaner,
#include "engine/Categories.def"
#undef CATEGORY
    };
    static_assert(sizeof(kCleaners) / sizeof(kCleaners[0]) == kCategoryCount, "a cleaner per category");

    m_run = WalkTally();
    Append("Begin cleaning...");
    Append("\r\n");
    for (const CategoryRow& row : kCategories) {
        if (StopRequested())
            return TRUE;
        if (!Has(row.id) || !Enabled(row.id))
            continue;
        Append(row.logText);
        m_step = WalkTally();
        (this->*kCleaners[Index(row.id)])();
        m_run.Add(m_step);
        Append(CategoryEnding(m_step).c_str());
    }

    Append("End cleaning...OK");
    Append("\r\n");
    return TRUE;
}
