// The clean run: the version check, then the categories in their table's order.
#include "engine/CountText.h"
#include "engine/FolderTable.h"

#include <cstring>

namespace {

constexpr char kCleaning[] = "Cleaning ";

constexpr bool StartsWith(const char* text, const char* start)
{
    return !*start || (*text == *start && StartsWith(text + 1, start + 1));
}

// Every log text names its category after "Cleaning ": the preview's line
// starts with the name.
constexpr bool LogTextsNameTheirCategory()
{
    for (const CategoryRow& row : kCategories)
        if (!StartsWith(row.logText, kCleaning))
            return false;
    return true;
}
static_assert(LogTextsNameTheirCategory(), "each log text starts with \"Cleaning \"");

std::string CountsText(const WalkTally& tally)
{
    return CountText(LOCALE_USER_DEFAULT, tally.files, "file", "files") + ", " +
           SizeText(LOCALE_USER_DEFAULT, tally.bytes);
}

} // namespace

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

    const bool preview = IsPreview();
    m_run = WalkTally();
    Append(preview ? "Begin preview..." : "Begin cleaning...");
    Append("\r\n");
    for (const CategoryRow& row : kCategories) {
        if (StopRequested())
            return TRUE;
        if (!Has(row.id) || !Enabled(row.id))
            continue;
        Append(preview ? row.logText + std::strlen(kCleaning) : row.logText);
        m_step = WalkTally();
        m_refused = m_accepted = 0;
        m_addresses = 0;
        (this->*kCleaners[Index(row.id)])();
        m_run.Add(m_step);
        Append(preview ? PreviewEnding(row.id).c_str() : CategoryEnding(m_step).c_str());
    }

    if (preview) {
        Append(("End preview..." + CountsText(m_run) + " in all\r\n").c_str());
        return TRUE;
    }
    Append("End cleaning...OK");
    Append("\r\n");
    return TRUE;
}

std::string CFolderTable::PreviewEnding(Category c) const
{
    if (m_refused && !m_accepted)
        return "skipped as unsafe\r\n";
    std::string text = c == Category::TypedUrls
                           ? CountText(LOCALE_USER_DEFAULT, m_addresses, "address", "addresses")
                           : CountsText(m_step);
    if (c == Category::History)
        text += " and the browser's history list";
    // A user's folder among others that the run would skip.
    if (m_refused)
        text += "; " + CountText(LOCALE_USER_DEFAULT, m_refused, "folder", "folders") + " skipped as unsafe";
    return text + "\r\n";
}
