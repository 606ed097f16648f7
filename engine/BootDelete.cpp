#include "engine/BootDelete.h"

#include "engine/NtFiles.h"
#include "engine/SafePath.h"
#include "framework/ProcAddress.h"

#include <cstring>
#include <vector>

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";

const LONG kStatusSharingViolation = static_cast<LONG>(0xC0000043);
const LONG kStatusFileLockConflict = static_cast<LONG>(0xC0000054);
const LONG kStatusLockNotGranted = static_cast<LONG>(0xC0000055);
const LONG kStatusDirectoryNotEmpty = static_cast<LONG>(0xC0000101);

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// [begin, end) without the blanks around it.
void Trim(const std::string& s, size_t& begin, size_t& end)
{
    while (begin < end && IsSpace(s[begin]))
        ++begin;
    while (end > begin && IsSpace(s[end - 1]))
        --end;
}

bool EqualsNoCase(const std::string& s, size_t begin, size_t end, const std::string& word)
{
    return end - begin == word.size() && _stricmp(s.substr(begin, end - begin).c_str(), word.c_str()) == 0;
}

// The usual form of a path that the system names "\??\C:\dir",
// "\DosDevices\C:\dir" or with "UNC\server\share" after either prefix:
// "C:\dir", "\\server\share". Other paths as they are.
template <class Char> std::basic_string<Char> DosForm(const Char* s, size_t n)
{
    auto startsWith = [&](size_t at, const char* word) {
        for (size_t i = 0; word[i]; ++i) {
            Char c = at + i < n ? s[at + i] : 0;
            if (c >= 'A' && c <= 'Z')
                c = static_cast<Char>(c | 0x20);
            if (c != static_cast<Char>(word[i]))
                return false;
        }
        return true;
    };
    size_t skip = startsWith(0, "\\??\\") ? 4 : startsWith(0, "\\dosdevices\\") ? 12 : 0;
    if (skip == 0)
        return std::basic_string<Char>(s, n);
    if (startsWith(skip, "unc\\"))
        return std::basic_string<Char>(1, static_cast<Char>('\\')) +
               std::basic_string<Char>(s + skip + 3, n - skip - 3);
    return std::basic_string<Char>(s + skip, n - skip);
}

// The exact ANSI form of a Unicode path, or false: too long, or a character
// the code page does not hold (a best-fit stand-in would name another file).
bool ToAnsiExactly(const std::wstring& path, char (&out)[MAX_PATH])
{
    if (path.empty() || path.size() >= MAX_PATH)
        return false;
    const int chars = static_cast<int>(path.size());
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, path.data(), chars, out, MAX_PATH - 1, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    out[bytes] = '\0';
    WCHAR back[MAX_PATH];
    return ::MultiByteToWideChar(CP_ACP, 0, out, bytes, back, MAX_PATH) == chars &&
           std::memcmp(back, path.data(), chars * sizeof(WCHAR)) == 0;
}

// Compared exactly: the walk names every entry by the names it listed.
bool IsInside(const std::wstring& entry, const std::wstring& folder)
{
    return entry.size() > folder.size() && entry[folder.size()] == L'\\' &&
           entry.compare(0, folder.size(), folder) == 0;
}

std::string WinInitPath()
{
    char dir[MAX_PATH];
    UINT n = ::GetWindowsDirectoryA(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::string path(dir, n);
    if (!AnsiEndsWith(path, '\\'))
        path += '\\';
    return path + "WININIT.INI";
}

} // namespace

Undeleted UndeletedForError(DWORD win32Error)
{
    if (win32Error == ERROR_SHARING_VIOLATION || win32Error == ERROR_LOCK_VIOLATION)
        return Undeleted::HeldOpen;
    return win32Error == ERROR_DIR_NOT_EMPTY ? Undeleted::NotEmpty : Undeleted::Other;
}

Undeleted UndeletedForStatus(LONG ntStatus)
{
    if (ntStatus == kStatusSharingViolation || ntStatus == kStatusFileLockConflict ||
        ntStatus == kStatusLockNotGranted)
        return Undeleted::HeldOpen;
    return ntStatus == kStatusDirectoryNotEmpty ? Undeleted::NotEmpty : Undeleted::Other;
}

WinInitEdit AddWinInitDeletion(std::string& text, const std::string& shortPath, size_t maxBytes)
{
    // Where the new line goes: after the last line of the first [rename]
    // section that is not blank, so that blank lines before the next section
    // stay where they are.
    size_t insertAt = std::string::npos;
    int renameSections = 0;
    bool inRename = false;
    bool inFirst = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t eol = text.find('\n', pos);
        size_t next = eol == std::string::npos ? text.size() : eol + 1;
        size_t begin = pos;
        size_t end = eol == std::string::npos ? text.size() : eol;
        pos = next;
        Trim(text, begin, end);
        if (begin == end)
            continue;
        size_t close = text[begin] == '[' ? text.find(']', begin) : std::string::npos;
        if (close < end) {
            size_t nameBegin = begin + 1;
            size_t nameEnd = close;
            Trim(text, nameBegin, nameEnd);
            inRename = EqualsNoCase(text, nameBegin, nameEnd, "rename");
            inFirst = inRename && renameSections++ == 0;
        } else if (inRename) {
            size_t eq = text.find('=', begin);
            if (eq < end) {
                size_t keyBegin = begin;
                size_t keyEnd = eq;
                size_t valueBegin = eq + 1;
                size_t valueEnd = end;
                Trim(text, keyBegin, keyEnd);
                Trim(text, valueBegin, valueEnd);
                if (EqualsNoCase(text, keyBegin, keyEnd, "NUL") &&
                    EqualsNoCase(text, valueBegin, valueEnd, shortPath))
                    return WinInitEdit::Listed;
            }
        }
        if (inFirst)
            insertAt = next;
    }
    std::string added;
    std::string line = "NUL=" + shortPath + "\r\n";
    if (insertAt == std::string::npos) {
        insertAt = text.size();
        line = "[rename]\r\n" + line;
    }
    if (insertAt > 0 && text[insertAt - 1] != '\n')
        added = "\r\n";
    added += line;
    if (text.size() + added.size() > maxBytes)
        return WinInitEdit::NoRoom;
    text.insert(insertAt, added);
    return WinInitEdit::Added;
}

namespace {
// Pairs of strings: what to move, and where to (empty: delete it). A failed
// read may leave data without its closing NULs: stop at the end. count is in
// characters.
template <class Char, class Same>
bool HasPending(const Char* data, size_t count, Same same)
{
    size_t pos = 0;
    while (pos < count && data[pos] != 0) {
        const Char* from = data + pos;
        size_t fromLen = 0;
        while (pos + fromLen < count && from[fromLen] != 0)
            ++fromLen;
        pos += fromLen + 1;
        if (pos > count)
            break;
        size_t toLen = 0;
        while (pos + toLen < count && data[pos + toLen] != 0)
            ++toLen;
        if (pos + toLen >= count)
            break; // the pair is cut off
        if (toLen == 0 && same(DosForm(from, fromLen)))
            return true;
        pos += toLen + 1;
    }
    return false;
}
} // namespace

bool HasPendingDeletion(const char* data, size_t bytes, const char* path)
{
    return HasPending(data, bytes, [path](const std::string& from) { return _stricmp(from.c_str(), path) == 0; });
}

void CBootDelete::SetFolder(const std::string& folder)
{
    WCHAR wide[MAX_PATH];
    int chars = ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
    m_folder.assign(wide, chars > 0 ? chars - 1 : 0);
}

bool CBootDelete::Schedule(const char* path, bool isFolder, Undeleted why)
{
    WCHAR wide[MAX_PATH];
    int chars = ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    return chars > 0 && Left(std::wstring(wide, chars - 1), path, nullptr, isFolder, why);
}

bool CBootDelete::Schedule(const WCHAR* path, size_t chars, HANDLE folder, bool isFolder, Undeleted why)
{
    const std::wstring entry = DosForm(path, chars);
    char ansi[MAX_PATH];
    return Left(entry, ToAnsiExactly(entry, ansi) ? ansi : nullptr, folder, isFolder, why);
}

bool CBootDelete::Left(const std::wstring& entry, const char* ansi, HANDLE folder, bool isFolder,
                       Undeleted why)
{
    // Reports come depth first: what was left unscheduled inside a folder is
    // at the end of the list when the folder's own report comes.
    if (isFolder)
        while (!m_unscheduled.empty() && IsInside(m_unscheduled.back(), entry))
            m_unscheduled.pop_back();
    bool scheduled = false;
    // Only what lies inside the folder being cleaned, which was judged no
    // protected folder: never anything else.
    const bool inside = !m_folder.empty() && IsInside(entry, m_folder);
    if (inside && !m_bRefused) {
        // Files only: a folder named at the next start may by then be a link
        // to somewhere else, and the start-up step would empty what it leads
        // to; the next clean run removes the emptied folder. The NT family
        // takes the exact Unicode name; the Windows 95 family's list holds
        // ANSI short names.
        std::wstring real;
        scheduled =
            !isFolder && why == Undeleted::HeldOpen &&
            (m_kind == BootDeleteKind::WinInit ? ansi && ScheduleWinInit(ansi)
                                               : RealPlace(entry, folder, real) && ScheduleMoveFile(real));
    }
    if (!scheduled)
        m_unscheduled.push_back(entry);
    return scheduled;
}

bool CBootDelete::RealPlace(const std::wstring& entry, HANDLE folder, std::wstring& real)
{
    const CNtFiles* nt = CNtFiles::Get();
    size_t slash = entry.rfind(L'\\');
    std::wstring dir;
    if (!nt || !folder || slash == std::wstring::npos || !nt->LocalFolderName(folder, dir))
        return false;
    real = dir + (dir.back() == L'\\' ? L"" : L"\\") + entry.substr(slash + 1);
    return true;
}

bool CBootDelete::IsPendingMove(const std::wstring& path)
{
    // Looked up: the Windows 95 family has no Unicode registry calls.
    static const auto queryValue = DECLARED_PROC(::GetModuleHandleA("advapi32.dll"), RegQueryValueExW);
    HKEY key = nullptr;
    if (!queryValue ||
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    std::vector<WCHAR> data;
    LONG result = queryValue(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS && size > 0) {
        data.resize(size / sizeof(WCHAR) + 1);
        result = queryValue(key, L"PendingFileRenameOperations", nullptr, nullptr,
                            reinterpret_cast<BYTE*>(data.data()), &size);
    }
    ::RegCloseKey(key);
    // Exact: the name as the walk saw it is the name scheduled.
    return result == ERROR_SUCCESS && !data.empty() &&
           HasPending(data.data(), size / sizeof(WCHAR), [&path](const std::wstring& from) { return from == path; });
}

bool CBootDelete::ScheduleMoveFile(const std::wstring& path)
{
    if (IsPendingMove(path))
        return true;
    // Looked up: the Windows 95 family has no such call to import.
    static const auto moveFileEx = DECLARED_PROC(::GetModuleHandleA("kernel32.dll"), MoveFileExW);
    if (!moveFileEx)
        return false;
    // The "\\?\" form keeps the name exact: no trailing dot or space
    // stripped, no device name read into it.
    std::wstring exact = path.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC" + path.substr(1) : L"\\\\?\\" + path;
    if (moveFileEx(exact.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return true;
    // The list lies in the local machine's part of the registry, which only
    // administrators may change: then nothing is scheduled in this run.
    if (::GetLastError() == ERROR_ACCESS_DENIED)
        m_bRefused = true;
    return false;
}

bool CBootDelete::ScheduleWinInit(const char* path)
{
    // The start-up step finds neither a network drive nor a share.
    const char root[] = {path[0], ':', '\\', '\0'};
    if (path[0] == '\\' || path[1] != ':' || ::GetDriveTypeA(root) != DRIVE_FIXED)
        return false;
    // The start-up step runs before long names exist: it takes short names only.
    char shortPath[MAX_PATH];
    DWORD n = ::GetShortPathNameA(path, shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    std::string file = WinInitPath();
    if (file.empty())
        return false;
    // The system caches profile files: another program's pending edit of
    // WININIT.INI is written now, not over ours later.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    // No sharing: nobody writes the file between the read and the write.
    HANDLE h = ::CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_ACCESS_DENIED)
            m_bRefused = true;
        return false;
    }
    bool listed = false;
    DWORD size = ::GetFileSize(h, nullptr);
    if (size != INVALID_FILE_SIZE && size <= kWinInitMaxBytes) {
        std::string text(size, '\0');
        DWORD read = 0;
        if (size == 0 || (::ReadFile(h, &text[0], size, &read, nullptr) && read == size)) {
            const std::string before = text;
            WinInitEdit edit = AddWinInitDeletion(text, shortPath, kWinInitMaxBytes);
            listed = edit == WinInitEdit::Listed;
            if (edit == WinInitEdit::Added) {
                // Only what follows the new line's place is written, so the
                // lines before it stay on disk whatever happens.
                size_t same = 0;
                while (same < before.size() && before[same] == text[same])
                    ++same;
                DWORD written = 0;
                listed = ::SetFilePointer(h, static_cast<LONG>(same), nullptr, FILE_BEGIN) == same &&
                         ::WriteFile(h, text.data() + same, static_cast<DWORD>(text.size() - same), &written,
                                     nullptr) &&
                         written == text.size() - same && ::SetEndOfFile(h);
            }
        }
    }
    ::CloseHandle(h);
    return listed;
}
