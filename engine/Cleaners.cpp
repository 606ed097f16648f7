// Emptying folders, and clearing the browser's history and typed addresses.
#include "engine/FolderList.h"
#include "engine/FolderTable.h"
#include "engine/SafePath.h"
#include "engine/WineLinks.h"

#include <objbase.h>
#include <urlhist.h>

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

// The same under Wine: every entry is opened, checked to be itself rather than
// a link's target (folderName is the system's name of folder), and deleted
// through its handle.
void DeleteLevelOnWine(const CFolderTable& table, const CWineLinks& links, const char* pattern,
                       const char* folder, const char* folderName)
{
    char path[MAX_PATH];
    if (!JoinPath(path, folder, pattern))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE hFind = ::FindFirstFileA(path, &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    char name[2 * MAX_PATH];
    do {
        if (table.StopRequested())
            break;
        const bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir && IsDotEntry(entry.cFileName))
            continue;
        if (!JoinPath(path, folder, entry.cFileName))
            continue;
        // A link resolves to another name: leave it and what it points to.
        if (isDir) {
            HANDLE h = links.Open(path, false);
            if (h == INVALID_HANDLE_VALUE)
                continue;
            bool itself = links.NameOf(h, name) && IsNameOfChild(name, folderName, entry.cFileName);
            if (itself)
                DeleteLevelOnWine(table, links, "*.*", path, name);
            ::CloseHandle(h);
            if (!itself)
                continue;
        }
        HANDLE h = links.Open(path, true);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        if (links.NameOf(h, name) && IsNameOfChild(name, folderName, entry.cFileName))
            links.MarkForDeletion(h);
        ::CloseHandle(h);
    } while (::FindNextFileA(hFind, &entry));
    ::FindClose(hFind);
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
    HANDLE h = links->Open(folder, false);
    if (h == INVALID_HANDLE_VALUE)
        return TRUE;
    char name[2 * MAX_PATH];
    if (links->NameOf(h, name))
        DeleteLevelOnWine(*this, *links, pattern, folder, name);
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
