// Judging a folder by where it really lies: the protected folders by
// identity or long name, links on the way, and the verdict.
#include "engine/SafePath.h"

#include "engine/NtFiles.h"
#include "engine/PathText.h"
#include "framework/ProcAddress.h"

#include <windows.h>

using namespace pathtext;

namespace {

// The written path leads to another machine (a share, or a drive letter
// mapped to one).
bool IsNetworkPath(const std::string& folder)
{
    if (folder.compare(0, 2, "\\\\") == 0)
        return true;
    return folder.size() >= 3 && ::GetDriveTypeA(folder.substr(0, 3).c_str()) == DRIVE_REMOTE;
}

// A share whose machine is this one, by its name or by a volume of ours: its
// real place is a folder here, which a share's name does not reveal.
bool IsShareOfThisMachine(const std::string& folder)
{
    std::string server;
    if (folder.compare(0, 2, "\\\\") == 0) {
        size_t end = FindSeparator(folder, 2);
        server = folder.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    } else {
        typedef DWORD(APIENTRY * ConnectionFn)(LPCSTR, LPSTR, LPDWORD);
        static const auto connection = ProcAddress<ConnectionFn>(::LoadLibraryA("mpr.dll"), "WNetGetConnectionA");
        char remote[MAX_PATH] = "";
        DWORD size = MAX_PATH;
        if (!connection || connection(folder.substr(0, 2).c_str(), remote, &size) != NO_ERROR)
            return true; // unknown: taken as ours
        std::string share = remote;
        size_t end = share.compare(0, 2, "\\\\") == 0 ? FindSeparator(share, 2) : std::string::npos;
        server = end == std::string::npos ? std::string() : share.substr(2, end - 2);
    }
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof(computer);
    ::GetComputerNameA(computer, &size);
    const std::string name = Upper(server);
    if (name.empty() || name == Upper(computer) || name == "LOCALHOST" || name == "." ||
        name.compare(0, 4, "127.") == 0 || name == "::1")
        return true;
    DWORD serial = 0;
    std::string root = folder.compare(0, 2, "\\\\") == 0 ? folder.substr(0, FindSeparator(folder, FindSeparator(folder, 2) + 1)) + "\\"
                                                         : folder.substr(0, 3);
    if (!::GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return true;
    DWORD drives = ::GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char local[] = {letter, ':', '\\', '\0'};
        DWORD own = 0;
        if ((drives & (1u << (letter - 'A'))) && ::GetDriveTypeA(local) == DRIVE_FIXED &&
            ::GetVolumeInformationA(local, nullptr, 0, &own, nullptr, nullptr, nullptr, 0) && own == serial)
            return true;
    }
    return false;
}

// What an open gave.
enum class Opened { Ok, Missing, Failed };

// Opens what path names, following the system's own links (these are the
// system's own locations).
Opened OpenPath(const std::string& path, HANDLE& h)
{
    h = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        return Opened::Ok;
    h = nullptr;
    return IsMissingError(::GetLastError()) ? Opened::Missing : Opened::Failed;
}

// The identities of the folders from the root of a network path down to it,
// each opened by its written name: another machine's folders are judged as
// that machine names them.
Opened WrittenChain(const std::string& folder, std::vector<FileIdentity>& chain)
{
    chain.clear();
    std::string root;
    std::vector<std::string> names;
    if (!SplitAbsoluteFolder(folder, root, names))
        return Opened::Failed;
    std::string prefix = root;
    for (size_t n = 0;; ++n) {
        HANDLE h = nullptr;
        Opened opened = OpenPath(prefix, h);
        FileIdentity id;
        bool known = opened == Opened::Ok && IdentityOf(h, id);
        if (h)
            ::CloseHandle(h);
        if (opened != Opened::Ok)
            return opened;
        if (!known)
            return Opened::Failed;
        chain.push_back(id);
        if (n == names.size())
            return Opened::Ok;
        if (!AnsiEndsWith(prefix, '\\'))
            prefix += '\\';
        prefix += names[n];
    }
}

// Where a protected folder really lies: every folder from its volume's root
// down to it, links on the way followed.
Opened RealChainOfPath(const CNtFiles& nt, const std::string& folder, std::vector<FileIdentity>& chain,
                       const std::vector<FileIdentity>* known = nullptr)
{
    if (IsNetworkPath(folder))
        return IsShareOfThisMachine(folder) ? Opened::Failed : WrittenChain(folder, chain);
    HANDLE h = nullptr;
    Opened opened = OpenPath(folder, h);
    if (opened != Opened::Ok)
        return opened;
    bool ok = nt.RealChain(h, chain, known);
    ::CloseHandle(h);
    return ok ? Opened::Ok : Opened::Failed;
}

// The protected folders in the form each kind of identity compares.
struct Protections {
    // Handles: every protected folder and every folder really above it; the
    // folders nothing inside of which is emptied; the Windows folder; the
    // current user's trace folders below it.
    std::vector<FileIdentity> containedIds;
    std::vector<FileIdentity> subtreeIds;
    FileIdentity windowsId;
    std::vector<std::string> traceFolders;
    // Names: upper-case long forms.
    std::vector<std::string> protectedNames;
    std::vector<std::string> subtreeNames;
    std::string windowsName;
    std::vector<std::string> traceNames;
};

void AddOnce(std::vector<FileIdentity>& ids, const FileIdentity& id)
{
    for (const FileIdentity& i : ids)
        if (i == id)
            return;
    ids.push_back(id);
}

bool Contains(const std::vector<FileIdentity>& ids, const FileIdentity& id)
{
    for (const FileIdentity& i : ids)
        if (i == id)
            return true;
    return false;
}

bool CollectProtections(Identity by, Protections& p)
{
    ProtectedSet set;
    if (!ReadProtectedSet(set))
        return false;
    p.traceFolders = set.traces;
    if (by == Identity::Names) {
        std::string name;
        if (!LongFolderName(set.windows, name))
            return false;
        p.windowsName = Upper(name);
        p.protectedNames.push_back(p.windowsName);
        for (const std::string& f : set.folders) {
            if (!LongFolderName(f, name))
                return false;
            p.protectedNames.push_back(Upper(name));
        }
        for (const std::string& f : set.subtrees) {
            if (!LongFolderName(f, name))
                return false;
            p.protectedNames.push_back(Upper(name));
            p.subtreeNames.push_back(Upper(name));
        }
        for (const std::string& t : set.traces)
            if (LongFolderName(t, name))
                p.traceNames.push_back(Upper(name));
        return true;
    }
    const CNtFiles* nt = CNtFiles::Get();
    if (!nt)
        return false;
    std::vector<FileIdentity> chain;
    // The Windows and system folders exist, or nothing is safe; another
    // folder that is not there holds nothing to protect.
    if (RealChainOfPath(*nt, set.windows, chain) != Opened::Ok)
        return false;
    p.windowsId = chain.back();
    for (const FileIdentity& id : chain)
        AddOnce(p.containedIds, id);
    for (size_t i = 0; i < set.folders.size() + set.subtrees.size(); ++i) {
        const bool subtree = i >= set.folders.size();
        const std::string& f = subtree ? set.subtrees[i - set.folders.size()] : set.folders[i];
        Opened opened = RealChainOfPath(*nt, f, chain, &p.containedIds);
        if (opened == Opened::Failed || (i == set.folders.size() && opened != Opened::Ok))
            return false;
        if (opened == Opened::Missing)
            continue;
        for (const FileIdentity& id : chain)
            AddOnce(p.containedIds, id);
        if (subtree)
            AddOnce(p.subtreeIds, chain.back());
    }
    return true;
}

// The folders from the volume's root down to the candidate, where they really
// lie, the candidate last (or, when complete is false, the deepest folder
// above it that exists).
bool CleanableByHandles(const std::vector<FileIdentity>& chain, bool complete, const Protections& p)
{
    if (chain.empty() || (complete && Contains(p.containedIds, chain.back())))
        return false;
    size_t windows = chain.size();
    for (size_t i = 0; i < chain.size(); ++i) {
        if (Contains(p.subtreeIds, chain[i]))
            return false;
        if (chain[i] == p.windowsId && windows == chain.size())
            windows = i;
    }
    if (windows == chain.size())
        return true;
    // Below the Windows folder: only inside one of the user's trace folders,
    // each opened with no link on the way.
    const CNtFiles* nt = CNtFiles::Get();
    std::vector<FileIdentity> traceIds;
    for (const std::string& t : p.traceFolders) {
        HANDLE h = nullptr;
        std::string folder;
        FileIdentity id;
        if (nt && AbsoluteFolder(t, folder) && nt->OpenFolderNoLinks(folder, h, nullptr) >= 0 && h &&
            IdentityOf(h, id))
            traceIds.push_back(id);
        if (h)
            ::CloseHandle(h);
    }
    for (size_t i = windows + 1; i < chain.size(); ++i)
        if (Contains(traceIds, chain[i]))
            return true;
    return false;
}

bool CleanableByNames(const std::string& longName, const Protections& p)
{
    const std::string c = Upper(longName);
    for (const std::string& f : p.protectedNames)
        if (PathIsSameOrAbove(c, f))
            return false;
    for (const std::string& f : p.subtreeNames)
        if (PathIsSameOrAbove(f, c))
            return false;
    if (!PathIsSameOrAbove(p.windowsName, c))
        return true;
    for (const std::string& t : p.traceNames)
        if (PathIsSameOrAbove(t, c))
            return true;
    return false;
}

// The deepest folder of the written path that exists, opened with no link on
// the way: a folder not there yet is judged by where it would be.
LONG OpenDeepest(const CNtFiles& nt, const std::string& folder, HANDLE& h, std::vector<FileIdentity>& written,
                 bool& complete)
{
    LONG status = nt.OpenFolderNoLinks(folder, h, &written);
    complete = status >= 0;
    if (complete || !IsNotFound(status) || written.empty())
        return status;
    std::string root;
    std::vector<std::string> names;
    if (!SplitAbsoluteFolder(folder, root, names))
        return status;
    // Only the root there: no folder below it to judge by.
    if (written.size() < 2)
        return status;
    std::string deepest = root;
    for (size_t n = 0; n + 1 < written.size() && n < names.size(); ++n)
        deepest += (AnsiEndsWith(deepest, '\\') ? "" : "\\") + names[n];
    std::vector<FileIdentity> again;
    return nt.OpenFolderNoLinks(deepest, h, &again);
}

} // namespace

Identity SystemIdentity()
{
    return CNtFiles::Get() ? Identity::Handles : Identity::Names;
}

FolderVerdict JudgeFolder(const std::string& value, std::string& out)
{
    return JudgeFolder(value, out, SystemIdentity());
}

FolderVerdict JudgeFolder(const std::string& value, std::string& out, Identity by)
{
    if (!AbsoluteFolder(value, out))
        return FolderVerdict::NotAbsolute;
    const CNtFiles* nt = CNtFiles::Get();
    if (by == Identity::Handles && !nt)
        return FolderVerdict::Protected;
    Protections p;
    if (!CollectProtections(by, p))
        return FolderVerdict::Protected;
    // Wherever the system has links, none may be on the way.
    if (nt) {
        HANDLE h = nullptr;
        std::vector<FileIdentity> written;
        bool complete = false;
        LONG status = OpenDeepest(*nt, out, h, written, complete);
        // Nothing there: nothing to delete, and it is judged again when
        // emptied; where the folders above it really lie still says whether
        // it may be.
        std::vector<FileIdentity> real;
        bool known = false;
        if (status >= 0 && h) {
            if (IsNetworkPath(out)) {
                known = !IsShareOfThisMachine(out);
                real = written;
            } else {
                known = nt->RealChain(h, real);
            }
        }
        if (h)
            ::CloseHandle(h);
        if (!known)
            return FolderVerdict::Protected;
        if (by == Identity::Handles)
            return CleanableByHandles(real, complete, p) ? FolderVerdict::Cleanable : FolderVerdict::Protected;
    }
    std::string longName;
    if (!LongFolderName(out, longName))
        return FolderVerdict::Protected;
    return CleanableByNames(longName, p) ? FolderVerdict::Cleanable : FolderVerdict::Protected;
}
