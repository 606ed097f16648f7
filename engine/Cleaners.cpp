// Emptying folders, and clearing the browser's history and typed addresses.
#include "engine/BootDelete.h"
#include "engine/DeleteWalk.h"
#include "engine/FolderTable.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"

#include <objbase.h>
#include <urlhist.h>

namespace {

const char kUrlHistory[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";
const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

const CLSID kClsidUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

// The list for the next start and the count of what it took.
struct Held {
    CBootDelete* list;
    WalkTally* tally;
    void Count(bool scheduled, Undeleted why) const
    {
        if (scheduled && why == Undeleted::HeldOpen)
            ++tally->scheduled;
    }
};

// What the walks could not delete, handed to the start of Windows.
void ScheduleNative(void* context, LONG status, const WCHAR* ntPath, size_t chars, HANDLE folder)
{
    const Held& held = *static_cast<const Held*>(context);
    Undeleted why = UndeletedForStatus(status);
    held.Count(held.list->Schedule(ntPath, chars, folder, why == Undeleted::NotEmpty, why), why);
}

void ScheduleWin95(void* context, DWORD error, const char* path, bool isFolder)
{
    const Held& held = *static_cast<const Held*>(context);
    Undeleted why = UndeletedForError(error);
    held.Count(held.list->Schedule(path, isFolder, why), why);
}

} // namespace

void CFolderTable::DeleteTree(const char* pattern, const char* folder)
{
    EmptyFolder(pattern, folder, nullptr);
}

void CFolderTable::EmptyBrowserFolder(const std::string& folder)
{
    // Each family's walk goes with its own list for the next start.
    CBootDelete held(m_walk == DeleteWalk::Win95 ? BootDeleteKind::WinInit : BootDeleteKind::MoveFileOnBoot);
    EmptyFolder("*.*", folder.c_str(), &held);
}

void CFolderTable::EmptyFolder(const char* pattern, const char* folder, CBootDelete* held)
{
    // The folder in its one form, judged once (not per entry) by the identity
    // that goes with the walk; the native walk opens it again without links.
    std::string path;
    const Identity by = m_walk == DeleteWalk::Native ? Identity::Handles : Identity::Names;
    std::string same;
    if (JudgeFolder(folder ? folder : "", path, by) != FolderVerdict::Cleanable ||
        // The Windows 95 walk on a system with handles (a test's choice): both.
        (by == Identity::Names && CNtFiles::Get() &&
         JudgeFolder(path, same, Identity::Handles) != FolderVerdict::Cleanable)) {
        ++m_refused;
        return;
    }
    ++m_accepted;
    if (IsPreview())
        held = nullptr; // nothing is scheduled
    if (held)
        held->SetFolder(path);
    Held context{held, &m_step};
    const CNtFiles* nt = CNtFiles::Get();
    if (m_walk == DeleteWalk::Native && nt) {
        WalkOptions options = NativeWalkOptions(*nt, m_pStop);
        options.onFailure = held ? ScheduleNative : nullptr;
        options.context = &context;
        options.tally = &m_step;
        options.mode = m_mode;
        DeleteTreeNative(*nt, path, pattern, options);
    } else {
        DeleteTreeWin95(path, pattern, m_pStop, held ? ScheduleWin95 : nullptr, &context, &m_step, m_mode);
    }
}

void CFolderTable::CleanTemp()
{
    const std::string& temp = Folder(Category::Temp);
    if (!temp.empty())
        DeleteTree("*.*", temp.c_str());
}

void CFolderTable::CleanCache()
{
    const std::string& cache = Folder(Category::Cache);
    if (!cache.empty())
        EmptyBrowserFolder(cache);
}

void CFolderTable::CleanCookies()
{
    const std::string& cookies = Folder(Category::Cookies);
    if (!cookies.empty())
        EmptyBrowserFolder(cookies);
}

void CFolderTable::CleanFavorites()
{
    DeleteTree("*.*", Folder(Category::Favorites).c_str());
}

void CFolderTable::CleanRecent()
{
    const std::string& recent = Folder(Category::Recent);
    if (!recent.empty())
        DeleteTree("*.*", recent.c_str());
}

void CFolderTable::CleanCustom()
{
    for (const std::string& folder : m_customFolders) {
        if (StopRequested())
            return;
        // A value that is no absolute path, a protected folder, one that is
        // gone or no folder at all: skipped silently.
        DeleteTree("*.*", folder.c_str());
    }
}

void CFolderTable::CleanHistory()
{
    HKEY hKey = nullptr;
    if (!IsPreview() &&
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kUrlHistory, 0, KEY_READ | KEY_WRITE, &hKey) == ERROR_SUCCESS) {
        DWORD days = 0;
        ::RegSetValueExA(hKey, "DaysToKeep", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&days),
                         sizeof(days));
        ::RegCloseKey(hKey);
    }
    EmptyBrowserFolder(Folder(Category::History));
    ClearUrlHistory();
}

void CFolderTable::CleanHistoryStep()
{
    CleanHistory();
    // Twice on purpose: CleanHistory has just cleared the URL history, and the
    // step clears it once more, as the program always has, so that what the
    // service noted again while the History folder was emptied goes too.
    ClearUrlHistory();
}

HRESULT CFolderTable::ClearUrlHistory()
{
    if (IsPreview())
        return S_FALSE;
    // Uninitialise only what this call initialised.
    HRESULT init = ::CoInitialize(nullptr);
    IUrlHistoryStg2* history = nullptr;
    HRESULT hr = ::CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    kIidUrlHistoryStg2, reinterpret_cast<void**>(&history));
    if (SUCCEEDED(hr)) {
        hr = history->ClearHistory();
        history->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
    return hr;
}

void CFolderTable::CleanTypedUrls()
{
    HKEY hKey = nullptr;
    if (IsPreview()) {
        // Each value of the key is an address; a name too long for the
        // buffer counts too.
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTypedUrls, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
            for (DWORD i = 0;; ++i) {
                char name[256];
                DWORD chars = sizeof(name);
                LONG rc = ::RegEnumValueA(hKey, i, name, &chars, nullptr, nullptr, nullptr, nullptr);
                if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
                    break;
                ++m_addresses;
            }
            ::RegCloseKey(hKey);
        }
        return;
    }
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTypedUrls, 0, KEY_READ | KEY_WRITE, &hKey) == ERROR_SUCCESS) {
        ::RegCloseKey(hKey);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
    }
}
