// The NT family's walk: every entry opened relative to its folder's handle,
// with no link followed, and deleted through its own handle.
#include "engine/DeleteWalk.h"

#include "engine/BootDelete.h"
#include "engine/NtFiles.h"
#include "engine/WalkShared.h"

#include <winternl.h>

#include <cstring>
#include <vector>

using namespace walkshared;

namespace {

const ULONG kNoRecord = 0xFFFFFFFF;
const ULONG kListingBytes = 8192;
const LONG kStatusCannotDelete = static_cast<LONG>(0xC0000121); // read-only
const LONG kStatusDirectoryNotEmpty = static_cast<LONG>(0xC0000101);

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
    bool kept = false;      // something inside stays
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
    // entry: the file's or link's listing record; null for a folder. h: null
    // for a file counted by its listing alone.
    void Delete(HANDLE h, size_t folderChars, const WCHAR* leaf, ULONG chars,
                const FILE_DIRECTORY_INFORMATION* entry);
    // The walk's one deletion; counting, the answer it would give.
    LONG Remove(HANDLE h, ULONG attributes, bool keptInside) const;
    void Failed(LONG status, size_t folderChars, const WCHAR* leaf, ULONG chars, ULONG attributes);
    // An entry stays: so does the folder that holds it.
    void Kept();

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
    // Counting, a file or link needs no handle where the listing tells all a
    // deletion would go by (its kind and attributes): the preview reads each
    // folder once and opens folders only. Wine, which lists a link like its
    // target, still needs each entry's own name.
    if (m_options.mode == WalkMode::Count && !m_options.checkNames && kind != EntryKind::Folder) {
        Delete(nullptr, parent.pathChars, leaf, chars, &entry);
        return;
    }
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
        Kept();
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
    f.kept = false;
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
    const bool keptInside = !entry && m_frames[m_depth].kept; // a folder: the frame just left
    LONG status = Remove(h, entry ? entry->FileAttributes : 0, keptInside);
    if (h)
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

LONG CNativeWalk::Remove(HANDLE h, ULONG attributes, bool keptInside) const
{
    if (m_options.mode == WalkMode::Delete)
        return m_nt.MarkForDeletion(h);
    if (keptInside)
        return kStatusDirectoryNotEmpty;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? kStatusCannotDelete : 0;
}

void CNativeWalk::Kept()
{
    if (m_depth > 0)
        m_frames[m_depth - 1].kept = true;
}

// Every entry that stays passes here, with the reason and its full name.
void CNativeWalk::Failed(LONG status, size_t folderChars, const WCHAR* leaf, ULONG chars, ULONG attributes)
{
    Kept();
    CountStay(m_options.tally, UndeletedForStatus(status),
              status == kStatusCannotDelete || (attributes & FILE_ATTRIBUTE_READONLY));
    if (!m_options.onFailure || m_options.mode == WalkMode::Count)
        return;
    m_path.resize(folderChars);
    if (leaf) {
        m_path += L'\\';
        m_path.append(leaf, chars);
    }
    m_options.onFailure(m_options.context, status, m_path.c_str(), m_path.size(), m_frames[m_depth - 1].dir);
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
