#include "engine/DeleteWalk.h"

#include "engine/BootDelete.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"

#include <winternl.h>

#include <cstring>
#include <vector>

namespace {

const ULONG kNoRecord = 0xFFFFFFFF;
const ULONG kListingBytes = 8192;
const ULONG kNameBytes = 65536 + 16; // the longest name the system has, with its count
const LONG kStatusCannotDelete = static_cast<LONG>(0xC0000121); // read-only

// One entry that stayed, by its reason; a folder not empty is not counted.
void CountStay(WalkTally* tally, Undeleted why, bool readOnly)
{
    if (!tally || why == Undeleted::NotEmpty)
        return;
    if (why == Undeleted::HeldOpen)
        ++tally->inUse;
    else if (readOnly)
        ++tally->readOnly;
    else
        ++tally->denied;
}

bool IsDotEntry(const WCHAR* name, ULONG chars)
{
    return name[0] == L'.' && (chars == 1 || (chars == 2 && name[1] == L'.'));
}

// One open folder of the walk.
struct Frame {
    HANDLE dir = nullptr;
    std::vector<LONGLONG> listing; // FILE_DIRECTORY_INFORMATION records, 8-byte aligned
    ULONG next = kNoRecord;        // offset of the next unread record
    bool first = true;
    bool done = false;
    size_t pathChars = 0;   // m_path up to this folder
    std::wstring sysName;   // the system's name of dir, when names are checked
};

class CNativeWalk {
public:
    CNativeWalk(const CNtFiles& nt, const WalkOptions& options) : m_nt(nt), m_options(options) {}
    void Run(const std::string& folder, const char* pattern);

private:
    bool Stopped() const { return m_options.stop && *m_options.stop; }
    const FILE_DIRECTORY_INFORMATION* NextEntry(Frame& f);
    void Visit(const FILE_DIRECTORY_INFORMATION& entry);
    bool IsItself(const Frame& parent, HANDLE h, const WCHAR* leaf, ULONG chars);
    void Enter(HANDLE h, const WCHAR* leaf, ULONG chars);
    void Leave();
    // entry: the file's or link's listing record; null for a folder.
    void Delete(HANDLE h, size_t folderChars, const WCHAR* leaf, ULONG chars,
                const FILE_DIRECTORY_INFORMATION* entry);
    void Failed(LONG status, size_t folderChars, const WCHAR* leaf, ULONG chars, ULONG attributes);

    const CNtFiles& m_nt;
    const WalkOptions& m_options;
    std::vector<Frame> m_frames; // [0, m_depth) are open; deeper ones keep their buffers
    size_t m_depth = 0;
    std::wstring m_path;          // NT name of the deepest open folder, and more
    std::vector<LONGLONG> m_name; // answer of NameOf
    const WCHAR* m_mask = nullptr;
    ULONG m_maskChars = 0;
    std::wstring m_itselfName; // the last name IsItself accepted
};

void CNativeWalk::Run(const std::string& folder, const char* pattern)
{
    // "C:\dir" is "\DosDevices\C:\dir", "\\server\share\dir" is
    // "\DosDevices\UNC\server\share\dir": the same on every NT version.
    std::string dos = folder.compare(0, 2, "\\\\") == 0 ? "UNC" + folder.substr(1) : folder;
    int chars = ::MultiByteToWideChar(CP_ACP, 0, dos.c_str(), static_cast<int>(dos.size()), nullptr, 0);
    if (chars <= 0)
        return;
    m_path = L"\\DosDevices\\";
    size_t prefix = m_path.size();
    m_path.resize(prefix + chars);
    ::MultiByteToWideChar(CP_ACP, 0, dos.c_str(), static_cast<int>(dos.size()), &m_path[prefix], chars);

    std::wstring mask;
    if (std::strcmp(pattern, "*.*") != 0 && std::strcmp(pattern, "*") != 0) {
        int maskChars = ::MultiByteToWideChar(CP_ACP, 0, pattern, -1, nullptr, 0) - 1;
        if (maskChars <= 0)
            return;
        mask.resize(maskChars + 1);
        ::MultiByteToWideChar(CP_ACP, 0, pattern, -1, &mask[0], maskChars + 1);
        m_mask = mask.c_str();
        m_maskChars = static_cast<ULONG>(maskChars);
    }

    // One component at a time from the drive down: no link on the way.
    HANDLE top = nullptr;
    if (m_nt.OpenFolderNoLinks(folder, top, nullptr) < 0)
        return;
    m_frames.resize(1);
    Frame& f = m_frames[0];
    f.dir = top;
    f.pathChars = m_path.size();
    if (m_options.checkNames) {
        m_name.resize(kNameBytes / sizeof(LONGLONG));
        const WCHAR* name = nullptr;
        ULONG nameChars = 0;
        if (m_nt.NameOf(top, m_name.data(), kNameBytes, name, nameChars) < 0) {
            ::CloseHandle(top);
            return;
        }
        f.sysName.assign(name, nameChars);
    }
    m_depth = 1;

    while (m_depth > 0 && !Stopped()) {
        const FILE_DIRECTORY_INFORMATION* entry = NextEntry(m_frames[m_depth - 1]);
        if (entry)
            Visit(*entry);
        else
            Leave();
    }
    // Stopped: close what is open and delete nothing more.
    while (m_depth > 0)
        ::CloseHandle(m_frames[--m_depth].dir);
}

const FILE_DIRECTORY_INFORMATION* CNativeWalk::NextEntry(Frame& f)
{
    for (;;) {
        if (f.next != kNoRecord) {
            const auto* entry = reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(
                reinterpret_cast<const BYTE*>(f.listing.data()) + f.next);
            f.next = entry->NextEntryOffset ? f.next + entry->NextEntryOffset : kNoRecord;
            return entry;
        }
        if (f.done)
            return nullptr;
        if (f.listing.empty())
            f.listing.resize(kListingBytes / sizeof(LONGLONG));
        const bool top = &f == &m_frames[0];
        if (m_nt.ReadEntries(f.dir, f.listing.data(), kListingBytes, f.first, top ? m_mask : nullptr,
                             m_maskChars) < 0) {
            f.done = true;
            return nullptr;
        }
        f.first = false;
        f.next = 0;
    }
}

void CNativeWalk::Visit(const FILE_DIRECTORY_INFORMATION& entry)
{
    const WCHAR* leaf = entry.FileName;
    const ULONG chars = entry.FileNameLength / sizeof(WCHAR);
    const bool isDir = (entry.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (chars == 0 || (isDir && IsDotEntry(leaf, chars)))
        return;
    EntryKind kind = (entry.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::Link
                     : isDir                                                 ? EntryKind::Folder
                                                                             : EntryKind::File;
    const Frame& parent = m_frames[m_depth - 1];
    HANDLE h = nullptr;
    // An entry the listing calls a link is opened as itself, whatever version
    // the system reports (NT 3.x and 4 never list one).
    LONG status =
        m_nt.OpenEntry(parent.dir, leaf, chars, kind, m_options.openReparsePoints || kind == EntryKind::Link, h);
    if (status < 0) {
        Failed(status, parent.pathChars, leaf, chars, entry.FileAttributes);
        return;
    }
    if (m_options.checkNames && !IsItself(parent, h, leaf, chars)) {
        ::CloseHandle(h); // a link, left as it is with what it points to
        if (m_options.tally)
            ++m_options.tally->unsafe;
        return;
    }
    ULONG attributes = 0;
    // A folder swapped for a link since it was listed is removed as a link.
    if (kind == EntryKind::Folder && m_options.openReparsePoints &&
        m_nt.QueryAttributes(h, attributes) >= 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        kind = EntryKind::Link;
    if (kind == EntryKind::Folder)
        Enter(h, leaf, chars);
    else
        Delete(h, parent.pathChars, leaf, chars, &entry);
}

bool CNativeWalk::IsItself(const Frame& parent, HANDLE h, const WCHAR* leaf, ULONG chars)
{
    const WCHAR* name = nullptr;
    ULONG nameChars = 0;
    if (m_nt.NameOf(h, m_name.data(), kNameBytes, name, nameChars) < 0 ||
        !IsNameOfChild(name, nameChars, parent.sysName.c_str(), static_cast<ULONG>(parent.sysName.size()), leaf,
                       chars))
        return false;
    m_itselfName.assign(name, nameChars);
    return true;
}

void CNativeWalk::Enter(HANDLE h, const WCHAR* leaf, ULONG chars)
{
    size_t parentChars = m_frames[m_depth - 1].pathChars;
    if (m_depth == m_frames.size())
        m_frames.emplace_back();
    Frame& f = m_frames[m_depth++];
    f.dir = h;
    f.next = kNoRecord;
    f.first = true;
    f.done = false;
    m_path.resize(parentChars);
    m_path += L'\\';
    m_path.append(leaf, chars);
    f.pathChars = m_path.size();
    if (m_options.checkNames)
        f.sysName.swap(m_itselfName);
}

void CNativeWalk::Leave()
{
    Frame& f = m_frames[--m_depth];
    if (m_depth == 0) {
        ::CloseHandle(f.dir); // the folder given stays
        return;
    }
    Delete(f.dir, f.pathChars, nullptr, 0, nullptr);
}

void CNativeWalk::Delete(HANDLE h, size_t folderChars, const WCHAR* leaf, ULONG chars,
                         const FILE_DIRECTORY_INFORMATION* entry)
{
    LONG status = m_nt.MarkForDeletion(h);
    ::CloseHandle(h);
    if (status < 0) {
        Failed(status, folderChars, leaf, chars, entry ? entry->FileAttributes : 0);
    } else if (WalkTally* tally = m_options.tally) {
        if (entry) {
            ++tally->files;
            tally->bytes += static_cast<ULONGLONG>(entry->EndOfFile.QuadPart);
        } else {
            ++tally->folders;
        }
    }
}

// Every entry that stays passes here, with the reason and its full name.
void CNativeWalk::Failed(LONG status, size_t folderChars, const WCHAR* leaf, ULONG chars, ULONG attributes)
{
    CountStay(m_options.tally, UndeletedForStatus(status),
              status == kStatusCannotDelete || (attributes & FILE_ATTRIBUTE_READONLY));
    if (!m_options.onFailure)
        return;
    m_path.resize(folderChars);
    if (leaf) {
        m_path += L'\\';
        m_path.append(leaf, chars);
    }
    m_options.onFailure(m_options.context, status, m_path.c_str(), m_path.size());
}

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

// Counts what was deleted and tells onFailure of what could not be.
struct Win95Failures {
    DeleteFailedWin95Fn onFailure;
    void* context;
    WalkTally* tally;
    void Check(BOOL deleted, const char* path, const WIN32_FIND_DATAA& entry, bool isFolder) const
    {
        if (deleted) {
            if (!tally)
                return;
            if (isFolder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                ++tally->folders;
            } else {
                ++tally->files;
                tally->bytes += (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            }
            return;
        }
        DWORD error = ::GetLastError();
        CountStay(tally, UndeletedForError(error), (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0);
        if (onFailure)
            onFailure(context, error, path, isFolder);
    }
    void Skipped() const
    {
        if (tally)
            ++tally->unsafe;
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
                  IsNameOfChild(name, nameChars, folderName.c_str(), static_cast<ULONG>(folderName.size()), wide,
                                static_cast<ULONG>(chars - 1));
        ::CloseHandle(h);
        return ok;
    }

private:
    HANDLE Open(const char* path) const
    {
        return ::CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                             nullptr);
    }
    const CNtFiles* m_nt;
    std::vector<LONGLONG> m_buffer;
};

// One MAX_PATH buffer and one find record per level; the depth is bounded by
// MAX_PATH.
void DeleteLevel(const char* pattern, const char* folder, const volatile LONG* stop,
                 const Win95Failures& failures, CWineNames& wine)
{
    char path[MAX_PATH];
    if (!JoinPath(path, folder, pattern))
        return;
    std::wstring folderName; // once per folder, under Wine only
    if (wine.Active() && !wine.FolderName(folder, folderName))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE hFind = ::FindFirstFileA(path, &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
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
            continue;
        }
        if (wine.Active() && !wine.IsItself(path, folderName, entry.cFileName)) {
            failures.Skipped(); // a link, left as it is with what it points to
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A link: these calls remove the link itself.
            failures.Check(isDir ? ::RemoveDirectoryA(path) : ::DeleteFileA(path), path, entry, isDir);
        } else if (isDir) {
            DeleteLevel("*.*", path, stop, failures, wine);
            failures.Check(::RemoveDirectoryA(path), path, entry, true);
        } else {
            failures.Check(::DeleteFileA(path), path, entry, false);
        }
    } while (::FindNextFileA(hFind, &entry));
    ::FindClose(hFind);
}

} // namespace

WalkOptions NativeWalkOptions(const CNtFiles& nt, const volatile LONG* stop)
{
    WalkOptions options;
    options.stop = stop;
    // Links exist, and the option that opens them as themselves, from NT 5
    // on: asked of the system, not of the version it reports.
    options.openReparsePoints = nt.KnowsReparsePoints();
    options.checkNames = nt.UnderWine();
    return options;
}

void DeleteTreeNative(const CNtFiles& nt, const std::string& folder, const char* pattern,
                      const WalkOptions& options)
{
    CNativeWalk(nt, options).Run(folder, pattern);
}

void DeleteTreeWin95(const std::string& folder, const char* pattern, const volatile LONG* stop,
                     DeleteFailedWin95Fn onFailure, void* context, WalkTally* tally)
{
    const CNtFiles* nt = CNtFiles::Get();
    CWineNames wine(nt && nt->UnderWine() ? nt : nullptr);
    DeleteLevel(pattern, folder.c_str(), stop, Win95Failures{onFailure, context, tally}, wine);
}

void WalkTally::Add(const WalkTally& other)
{
    files += other.files;
    folders += other.folders;
    bytes += other.bytes;
    inUse += other.inUse;
    scheduled += other.scheduled;
    readOnly += other.readOnly;
    denied += other.denied;
    unsafe += other.unsafe;
}

std::string CategoryEnding(const WalkTally& tally)
{
    if (tally.Left() == 0)
        return "OK\r\n";
    std::string text = std::to_string(tally.Left()) + " left: ";
    const char* separator = "";
    auto part = [&](ULONG count, const char* why) {
        if (!count)
            return;
        text += separator;
        text += std::to_string(count);
        text += why;
        separator = ", ";
    };
    part(tally.inUse, " in use");
    if (tally.scheduled && tally.scheduled >= tally.inUse)
        text += " (deleted when Windows restarts)";
    else if (tally.scheduled)
        text += " (" + std::to_string(tally.scheduled) + " deleted when Windows restarts)";
    part(tally.readOnly, " read-only");
    part(tally.denied, " access denied");
    part(tally.unsafe, " skipped as unsafe");
    return text + "\r\n";
}
