// Emptying folders, and clearing the browser's history and typed addresses.
#include "engine/FolderList.h"
#include "engine/FolderTable.h"
#include "engine/SafePath.h"
#include "engine/WineLinks.h"

#include <objbase.h>
#include <urlhist.h>
#include <winternl.h>

#include <cstring>

namespace {

const char kUrlHistory[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";
const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

const CLSID kClsidUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

// out = dir + "\" + name; false (out untouched) when it would not fit in MAX_PATH.
bool JoinPath(char (&out)[MAX_PATH], const char* dir, const char* name)
{
    size_t d = std::strlen(dir);
    size_t n = std::strlen(name);
    if (d + 1 + n >= MAX_PATH)
        return false;
    std::memcpy(out, dir, d);
    out[d] = '\\';
    std::memcpy(out + d + 1, name, n + 1);
    return true;
}

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

namespace {

// Depth first, in enumeration order: each file is deleted, each subfolder is
// emptied and removed when it is met. Paths are composed in full, so the
// process's current directory never moves. Links are never followed. One
// MAX_PATH buffer and one find record per level; nothing is allocated.
void DeleteLevel(const CFolderTable& table, const char* pattern, const char* folder)
{
    char path[MAX_PATH];
    if (!JoinPath(path, folder, pattern))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE hFind = ::FindFirstFileA(path, &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (table.StopRequested())
            break;
        const bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir && IsDotEntry(entry.cFileName))
            continue;
        if (!JoinPath(path, folder, entry.cFileName))
            continue; // would not fit: skipped, never truncated
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A junction or symbolic link: these calls remove the link itself.
            if (isDir)
                ::RemoveDirectoryA(path);
            else
                ::DeleteFileA(path);
        } else if (isDir) {
            DeleteLevel(table, "*.*", path);
            ::RemoveDirectoryA(path);
        } else {
            ::DeleteFileA(path);
        }
    } while (::FindNextFileA(hFind, &entry));
    ::FindClose(hFind);
}

bool IsDotEntry(const WCHAR* name, ULONG chars)
{
    return name[0] == L'.' && (chars == 1 || (chars == 2 && name[1] == L'.'));
}

// The same under Wine, through handles. dir is the folder, already checked to
// be itself; dirName (dirChars long) is its system name. The folder is listed
// through dir, and every entry is opened relative to dir, checked to be itself
// rather than a link's target, and deleted through its handle. One listing
// buffer and one name per level; the depth is bounded by the MAX_PATH limit on
// the names.
void DeleteLevelOnWine(const CFolderTable& table, const CWineLinks& links, HANDLE dir, const WCHAR* dirName,
                       ULONG dirChars, const WCHAR* mask, ULONG maskChars)
{
    LONGLONG listing[256]; // 2 KB of FILE_DIRECTORY_INFORMATION records, 8-byte aligned
    WCHAR name[MAX_PATH];
    for (bool first = true; links.ReadEntries(dir, listing, sizeof(listing), first, mask, maskChars);
         first = false) {
        const BYTE* record = reinterpret_cast<const BYTE*>(listing);
        for (;;) {
            if (table.StopRequested())
                return;
            const auto* entry = reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(record);
            const WCHAR* leaf = entry->FileName;
            const ULONG leafChars = entry->FileNameLength / sizeof(WCHAR);
            const bool isDir = (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (leafChars > 0 && !(isDir && IsDotEntry(leaf, leafChars))) {
                HANDLE h = links.OpenEntry(dir, leaf, leafChars, isDir);
                if (h) {
                    ULONG nameChars = 0;
                    // A link resolves to another name: leave it and what it points to.
                    if (links.NameOf(h, name, nameChars) &&
                        IsNameOfChild(name, nameChars, dirName, dirChars, leaf, leafChars)) {
                        if (isDir)
                            DeleteLevelOnWine(table, links, h, name, nameChars, nullptr, 0);
                        links.MarkForDeletion(h);
                    }
                    ::CloseHandle(h);
                }
            }
            if (entry->NextEntryOffset == 0)
                break;
            record += entry->NextEntryOffset;
        }
    }
}

} // namespace

BOOL CFolderTable::DeleteTree(const char* pattern, const char* folder)
{
    // The last guard: whatever the caller was given, never empty these.
    if (IsProtectedFolder(folder))
        return TRUE;
    const CWineLinks* links = CWineLinks::Get();
    if (!links) {
        DeleteLevel(*this, pattern, folder);
        return TRUE;
    }
    HANDLE h = links->OpenFolder(folder);
    if (h == INVALID_HANDLE_VALUE)
        return TRUE;
    // The listing's own "*.*" and "*" mean every name; any other pattern
    // limits the names of the top level, as FindFirstFileA does.
    const bool everyName = std::strcmp(pattern, "*.*") == 0 || std::strcmp(pattern, "*") == 0;
    WCHAR mask[MAX_PATH];
    int maskChars = everyName ? 0 : ::MultiByteToWideChar(CP_ACP, 0, pattern, -1, mask, MAX_PATH) - 1;
    WCHAR name[MAX_PATH];
    ULONG chars = 0;
    if ((everyName || maskChars > 0) && links->NameOf(h, name, chars))
        DeleteLevelOnWine(*this, *links, h, name, chars, everyName ? nullptr : mask,
                          static_cast<ULONG>(maskChars));
    ::CloseHandle(h);
    return TRUE;
}

BOOL CFolderTable::CleanTemp()
{
    if (!m_strTemp.empty())
        DeleteTree("*.*", m_strTemp.c_str());
    return TRUE;
}

BOOL CFolderTable::CleanCache()
{
    if (!m_strCache.empty())
        DeleteTree("*.*", m_strCache.c_str());
    return TRUE;
}

BOOL CFolderTable::CleanCookies()
{
    if (m_strCookies.empty())
        return FALSE;
    DeleteTree("*.*", m_strCookies.c_str());
    return TRUE;
}

BOOL CFolderTable::CleanFavorites()
{
    DeleteTree("*.*", m_strFavorites.c_str());
    return TRUE;
}

BOOL CFolderTable::CleanRecent()
{
    if (m_strRecent.empty())
        return FALSE;
    DeleteTree("*.*", m_strRecent.c_str());
    return TRUE;
}

void CFolderTable::CleanCustom()
{
    if (!m_pCustomFolders)
        return;
    // A copy: the settings thread may edit the list meanwhile.
    for (const std::string& folder : m_pCustomFolders->Snapshot()) {
        if (StopRequested())
            return;
        if (folder.empty() || folder == "Error")
            continue;
        DWORD attributes = ::GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue; // gone, or not a folder: skipped silently
        DeleteTree("*.*", folder.c_str());
    }
}

BOOL CFolderTable::CleanHistory()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kUrlHistory, 0, KEY_READ | KEY_WRITE, &hKey) ==
        ERROR_SUCCESS) {
        DWORD days = 0;
        ::RegSetValueExA(hKey, "DaysToKeep", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&days),
                         sizeof(days));
        ::RegCloseKey(hKey);
    }
    DeleteTree("*.*", m_strHistory.c_str());
    ClearUrlHistory();
    return TRUE;
}

HRESULT CFolderTable::ClearUrlHistory()
{
    // Uninitialise only what this call initialised.
    HRESULT init = ::CoInitialize(nullptr);
    IUrlHistoryStg2* history = nullptr;
    HRESULT hr = ::CoCreateInstance(kClsidUrlHistory, nullptr,
                                    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    kIidUrlHistoryStg2, reinterpret_cast<void**>(&history));
    if (SUCCEEDED(hr)) {
        hr = history->ClearHistory();
        history->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
    return hr;
}

BOOL CFolderTable::CleanTypedUrls()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTypedUrls, 0, KEY_READ | KEY_WRITE, &hKey) ==
        ERROR_SUCCESS) {
        ::RegCloseKey(hKey);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
    }
    return TRUE;
}
