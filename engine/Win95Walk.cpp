// The Windows 95 family's walk, through FindFirstFileA and full paths within
// MAX_PATH; under Wine each entry is checked to be itself and no link.
#include "engine/DeleteWalk.h"

#include "engine/BootDelete.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"
#include "engine/WalkShared.h"

#include <cstring>
#include <vector>

using namespace walkshared;

namespace {

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

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

// The walk's deletions, which count what they removed and tell onFailure of
// what they could not; counting, they delete nothing and answer as the
// deletion would.
struct Win95Failures {
    DeleteFailedWin95Fn onFailure;
    void* context;
    WalkTally* tally;
    WalkMode mode;
    // False when the entry stays.
    bool Remove(const char* path, const WIN32_FIND_DATAA& entry, bool isFolder, bool keptInside) const
    {
        if (mode == WalkMode::Delete)
            return Check(isFolder ? ::RemoveDirectoryA(path) : ::DeleteFileA(path), path, entry, isFolder);
        DWORD error = keptInside ? ERROR_DIR_NOT_EMPTY
                      : (!isFolder && (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
                          ? ERROR_ACCESS_DENIED
                          : ERROR_SUCCESS;
        ::SetLastError(error);
        return Check(error == ERROR_SUCCESS, path, entry, isFolder);
    }
    void Skipped() const
    {
        if (tally)
            ++tally->unsafe;
    }

private:
    bool Check(BOOL deleted, const char* path, const WIN32_FIND_DATAA& entry, bool isFolder) const
    {
        if (deleted) {
            if (!tally)
                return true;
            if (isFolder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                ++tally->folders;
            } else {
                ++tally->files;
                tally->bytes += (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            }
            return true;
        }
        DWORD error = ::GetLastError();
        CountStay(tally, UndeletedForError(error), (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0);
        if (onFailure && mode == WalkMode::Delete)
            onFailure(context, error, path, isFolder);
        return false;
    }
};

// Under Wine the Windows 95 walk lists a link like its target, and a
// deletion through it reaches the target: each entry counts only when the
// handle of its name carries that name (Wine names a link's handle by its
// target). Elsewhere (the Windows 95 family) there are no links.
class CWineNames {
public:
    explicit CWineNames(const CNtFiles* nt) : m_nt(nt)
    {
        if (m_nt)
            m_buffer.resize(kNameBytes / sizeof(LONGLONG));
    }
    bool Active() const { return m_nt != nullptr; }
    // The system's name of the folder at path, in out; false when it has none.
    bool FolderName(const char* path, std::wstring& out)
    {
        HANDLE h = Open(path);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const WCHAR* name = nullptr;
        ULONG chars = 0;
        bool ok = m_nt->NameOf(h, m_buffer.data(), kNameBytes, name, chars) >= 0;
        ::CloseHandle(h);
        if (ok) {
            out.assign(name, chars);
            if (!out.empty() && out.back() == L'\\')
                out.pop_back();
        }
        return ok;
    }
    // True when the entry leaf at path, in the folder named folderName, is
    // itself and no link.
    bool IsItself(const char* path, const std::wstring& folderName, const char* leaf)
    {
        WCHAR wide[MAX_PATH];
        int chars = ::MultiByteToWideChar(CP_ACP, 0, leaf, -1, wide, MAX_PATH);
        HANDLE h = chars > 1 ? Open(path) : INVALID_HANDLE_VALUE;
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const WCHAR* name = nullptr;
        ULONG nameChars = 0;
        bool ok = m_nt->NameOf(h, m_buffer.data(), kNameBytes, name, nameChars) >= 0 &&
                  IsNameOfChild(name, nameChars, folderName.c_str(), static_cast<ULONG>(folderName.size()),
                                wide, static_cast<ULONG>(chars - 1));
        ::CloseHandle(h);
        return ok;
    }

private:
    HANDLE Open(const char* path) const
    {
        return ::CreateFileA(path, FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    }
    const CNtFiles* m_nt;
    std::vector<LONGLONG> m_buffer;
};

// One MAX_PATH buffer and one find record per level; the depth is bounded by
// MAX_PATH. True when something inside stays.
bool DeleteLevel(const char* pattern, const char* folder, const volatile LONG* stop,
                 const Win95Failures& failures, CWineNames& wine)
{
    char path[MAX_PATH];
    if (!JoinPath(path, folder, pattern))
        return true;
    std::wstring folderName; // once per folder, under Wine only
    if (wine.Active() && !wine.FolderName(folder, folderName))
        return true;
    WIN32_FIND_DATAA entry;
    HANDLE hFind = ::FindFirstFileA(path, &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    bool kept = false;
    do {
        if (stop && *stop)
            break;
        const bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir && IsDotEntry(entry.cFileName))
            continue;
        // By characters: a double-byte name whose second byte is that of "\"
        // or "|" is a plain name.
        if (!IsPlainName(entry.cFileName) || !JoinPath(path, folder, entry.cFileName)) {
            failures.Skipped(); // never reinterpreted or truncated
            kept = true;
            continue;
        }
        if (wine.Active() && !wine.IsItself(path, folderName, entry.cFileName)) {
            failures.Skipped(); // a link, left as it is with what it points to
            kept = true;
            continue;
        }
        // A link is removed itself (these calls remove the link), never entered.
        const bool keptInside = isDir && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                                DeleteLevel("*.*", path, stop, failures, wine);
        if (!failures.Remove(path, entry, isDir, keptInside))
            kept = true;
    } while (::FindNextFileA(hFind, &entry));
    ::FindClose(hFind);
    return kept;
}

} // namespace

void DeleteTreeWin95(const std::string& folder, const char* pattern, const volatile LONG* stop,
                     DeleteFailedWin95Fn onFailure, void* context, WalkTally* tally, WalkMode mode)
{
    const CNtFiles* nt = CNtFiles::Get();
    CWineNames wine(nt && nt->UnderWine() ? nt : nullptr);
    DeleteLevel(pattern, folder.c_str(), stop, Win95Failures{onFailure, context, tally, mode}, wine);
}
