#include "engine/SafePath.h"

#include "engine/NtFiles.h"
#include "framework/ProcAddress.h"

#include <windows.h>

#include <cstring>

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kProfileList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// The current user's trace folders, below the Windows folder or the profile.
const char* const kTraceNames[] = {"Temp", "Cookies", "History", "Recent", "Temporary Internet Files", "Favorites"};

// The step to the next character of s at i; never 0, so that a stray NUL
// inside a string cannot stop a loop.
size_t Step(const std::string& s, size_t i)
{
    size_t n = AnsiCharBytes(s.c_str() + i);
    return n == 0 ? 1 : n;
}

// The first single-byte "\" of s at or after from, or npos.
size_t FindSeparator(const std::string& s, size_t from)
{
    for (size_t i = from; i < s.size(); i += Step(s, i))
        if (s[i] == '\\')
            return i;
    return std::string::npos;
}

// The last single-byte "\" of s, or npos.
size_t FindLastSeparator(const std::string& s)
{
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size(); i += Step(s, i))
        if (s[i] == '\\')
            last = i;
    return last;
}

std::string Upper(std::string s)
{
    if (!s.empty())
        ::CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

bool IsRoot(const std::string& p)
{
    // "C:" or "C:\"
    if (p.size() >= 2 && p[1] == ':' && (p.size() == 2 || (p.size() == 3 && p[2] == '\\')))
        return true;
    if (p.compare(0, 2, "\\\\") == 0) {
        // Device namespaces are never cleaned.
        if (p.compare(0, 4, "\\\\?\\") == 0 || p.compare(0, 4, "\\\\.\\") == 0)
            return true;
        // "\\server" or "\\server\share": fewer than three backslashes after the prefix.
        size_t server = FindSeparator(p, 2);
        if (server == std::string::npos)
            return true;
        return FindSeparator(p, server + 1) == std::string::npos;
    }
    return false;
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string ParentOf(const std::string& path)
{
    size_t slash = FindLastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Slashes(std::string p)
{
    for (size_t i = 0; i < p.size(); i += Step(p, i))
        if (p[i] == '/')
            p[i] = '\\';
    return p;
}

// What reading a location gave.
enum class Read { Ok, Missing, Bad };

// A value's text, REG_EXPAND_SZ expanded. Bad for any other type, a text of
// MAX_PATH or more, or a variable left unexpanded.
Read RegistryText(HKEY root, const char* key, const char* value, std::string& out, REGSAM view = 0)
{
    out.clear();
    HKEY h = nullptr;
    LONG opened = ::RegOpenKeyExA(root, key, 0, KEY_READ | view, &h);
    if (opened != ERROR_SUCCESS)
        return opened == ERROR_FILE_NOT_FOUND ? Read::Missing : Read::Bad;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(h, value, nullptr, &type, nullptr, &size);
    std::vector<char> data(size + 2, '\0');
    if (result == ERROR_SUCCESS)
        result = ::RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    ::RegCloseKey(h);
    if (result == ERROR_FILE_NOT_FOUND)
        return Read::Missing;
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return Read::Bad;
    std::string text(data.data());
    if (type == REG_EXPAND_SZ) {
        char expanded[MAX_PATH];
        DWORD n = ::ExpandEnvironmentStringsA(text.c_str(), expanded, MAX_PATH);
        if (n == 0 || n > MAX_PATH)
            return Read::Bad;
        text = expanded;
        if (text.find('%') != std::string::npos)
            return Read::Bad;
    }
    if (text.size() >= MAX_PATH)
        return Read::Bad;
    out = text;
    return text.empty() ? Read::Missing : Read::Ok;
}

Read Environment(const char* name, std::string& out)
{
    out.clear();
    char text[MAX_PATH] = "";
    DWORD n = ::GetEnvironmentVariableA(name, text, MAX_PATH);
    if (n == 0)
        return Read::Missing;
    if (n >= MAX_PATH)
        return Read::Bad;
    out.assign(text, n);
    return Read::Ok;
}


// Each of a pair of shell folder values: Shell Folders and User Shell
// Folders may name different folders (one of them stale), and both are
// protected. Missing in both, or unreadable in either, fails.
bool ShellFolderBoth(HKEY root, const char* value, std::vector<std::string>& out)
{
    std::string text;
    Read shell = RegistryText(root, kShellFolders, value, text);
    if (shell == Read::Ok)
        out.push_back(text);
    Read user = RegistryText(root, kUserShellFolders, value, text);
    if (user == Read::Ok)
        out.push_back(text);
    return shell != Read::Bad && user != Read::Bad && (shell == Read::Ok || user == Read::Ok);
}

// A drive or share that is offline is no absent folder: what it holds is
// unknown, not nothing.
bool IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_DIRECTORY;
}

bool IsNt3()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return ::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion == 3;
}

// A 32-bit program on a 64-bit Windows, which reads the registry's 32-bit view.
bool IsWow64()
{
    static const auto isWow64 = DECLARED_PROC(::GetModuleHandleA("kernel32.dll"), IsWow64Process);
    BOOL wow = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow) && wow;
}

// The Windows folder that all users share: under Terminal Services
// GetWindowsDirectoryA of a program not marked for them names a folder of
// the user's own.
UINT SystemWindowsDirectory(char* buffer, UINT size)
{
    static const auto shared = DECLARED_PROC(::GetModuleHandleA("kernel32.dll"), GetSystemWindowsDirectoryA);
    return shared ? shared(buffer, size) : ::GetWindowsDirectoryA(buffer, size);
}

// The folders directly inside folder.
std::vector<std::string> Subfolders(const std::string& folder)
{
    std::vector<std::string> out;
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((NormalizeFolderPath(folder) + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(found.cFileName, ".") != 0 &&
            std::strcmp(found.cFileName, "..") != 0)
            out.push_back(NormalizeFolderPath(folder) + "\\" + found.cFileName);
    } while (::FindNextFileA(h, &found));
    ::FindClose(h);
    return out;
}

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
    if (!nt.UnderWine() && IsNetworkPath(folder))
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


size_t AnsiCharBytes(const char* s)
{
    if (!s[0])
        return 0;
    return ::IsDBCSLeadByte(static_cast<BYTE>(s[0])) && s[1] ? 2 : 1;
}

size_t AnsiLastChar(const std::string& s)
{
    size_t last = s.size();
    for (size_t i = 0; i < s.size(); i += Step(s, i))
        last = i;
    return last;
}

bool AnsiEndsWith(const std::string& s, char c)
{
    size_t last = AnsiLastChar(s);
    return last < s.size() && last + 1 == s.size() && s[last] == c;
}

bool IsPlainName(const char* name)
{
    if (!name[0])
        return false;
    char last = 0;
    size_t lastBytes = 0;
    for (const char* p = name; *p; p += lastBytes) {
        lastBytes = AnsiCharBytes(p);
        last = lastBytes == 1 ? *p : 0;
        unsigned char c = static_cast<unsigned char>(*p);
        if (lastBytes == 1 && (c < 32 || std::strchr("\\/:*?\"<>|", c)))
            return false;
    }
    return last != '.' && last != ' ';
}

std::string NormalizeFolderPath(const std::string& path)
{
    std::string p = Slashes(path);
    while (p.size() > 1 && AnsiEndsWith(p, '\\') && !(p.size() == 3 && p[1] == ':'))
        p.pop_back();
    if (p.size() == 2 && p[1] == ':')
        p += '\\';
    return p;
}

bool AbsoluteFolder(const std::string& value, std::string& out)
{
    std::string p = Slashes(value);
    std::string result;
    size_t at = 0;
    int namesNeeded = 1; // below the drive, or below the share
    if (p.size() >= 3 && IsDriveLetter(p[0]) && p[1] == ':' && p[2] == '\\') {
        result = p.substr(0, 2);
        at = 3;
    } else if (p.size() > 2 && p[0] == '\\' && p[1] == '\\' && p[2] != '\\') {
        result = "\\";
        at = 2;
        namesNeeded = 3; // server, share, folder
    } else {
        return false;
    }
    int names = 0;
    while (at < p.size()) {
        size_t end = FindSeparator(p, at);
        if (end == std::string::npos)
            end = p.size();
        if (end > at) {
            std::string name = p.substr(at, end - at);
            // "\\?\" and "\\.\" fail here: "?" and "." are no plain names.
            if (!IsPlainName(name.c_str()))
                return false;
            result += '\\';
            result += name;
            ++names;
        } else if (names < 2 && namesNeeded == 3) {
            return false; // "\\\server" or "\\server\\share"
        }
        at = end + 1;
    }
    if (names < namesNeeded || result.size() >= MAX_PATH)
        return false;
    out = result;
    return true;
}

bool SplitAbsoluteFolder(const std::string& folder, std::string& root, std::vector<std::string>& names)
{
    std::string form;
    if (!AbsoluteFolder(folder, form))
        return false;
    names.clear();
    size_t at = 0;
    if (form[1] == ':') {
        root = form.substr(0, 2) + "\\";
        at = 3;
    } else {
        size_t server = FindSeparator(form, 2);
        size_t share = FindSeparator(form, server + 1);
        root = form.substr(0, share);
        at = share + 1;
    }
    while (at <= form.size()) {
        size_t end = FindSeparator(form, at);
        if (end == std::string::npos)
            end = form.size();
        names.push_back(form.substr(at, end - at));
        at = end + 1;
    }
    return true;
}

bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder)
{
    std::string a = Upper(NormalizeFolderPath(ancestor));
    std::string f = Upper(NormalizeFolderPath(folder));
    if (a.empty() || f.size() < a.size() || f.compare(0, a.size(), a) != 0)
        return false;
    // a is whole characters of f, so f[a.size()] starts a character.
    return f.size() == a.size() || AnsiEndsWith(a, '\\') || f[a.size()] == '\\';
}

bool IsProtectedFolder(const std::string& path, const std::vector<std::string>& protectedFolders)
{
    std::string p = NormalizeFolderPath(path);
    if (p.empty() || IsRoot(p))
        return true;
    for (const std::string& folder : protectedFolders)
        if (!folder.empty() && PathIsSameOrAbove(p, folder))
            return true;
    return false;
}

bool IsProtectedFolder(const std::string& path, const std::string& windowsDir, const std::string& systemDir)
{
    return IsProtectedFolder(path, std::vector<std::string>{windowsDir, systemDir});
}

bool LongFolderName(const std::string& folder, std::string& out)
{
    std::string root;
    std::vector<std::string> names;
    if (!SplitAbsoluteFolder(folder, root, names))
        return false;
    if (root[1] == ':' && root[0] >= 'a' && root[0] <= 'z')
        root[0] = static_cast<char>(root[0] - 'a' + 'A');
    std::string path = root;
    bool missing = false;
    for (const std::string& name : names) {
        if (!AnsiEndsWith(path, '\\'))
            path += '\\';
        if (!missing) {
            WIN32_FIND_DATAA found;
            HANDLE h = ::FindFirstFileA((path + name).c_str(), &found);
            if (h != INVALID_HANDLE_VALUE) {
                ::FindClose(h);
                path += found.cFileName;
                continue;
            }
            if (!IsMissingError(::GetLastError()))
                return false;
            missing = true; // nothing below is there to expand
        }
        path += name;
    }
    out = path;
    return true;
}


bool ReadProtectedSet(ProtectedSet& out)
{
    out = ProtectedSet();
    char windowsDir[MAX_PATH] = "";
    char systemDir[MAX_PATH] = "";
    UINT w = SystemWindowsDirectory(windowsDir, MAX_PATH);
    UINT s = ::GetSystemDirectoryA(systemDir, MAX_PATH);
    if (w == 0 || w >= MAX_PATH || s == 0 || s >= MAX_PATH)
        return false;
    std::vector<std::string> folders;
    std::vector<std::string> subtrees = {systemDir};

    char self[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    folders.push_back(ParentOf(self));

    // Program Files: every version after NT 3.x has it. On a 64-bit Windows
    // both of them, and the common files of each; a 32-bit program reads
    // the native ones from the registry's 64-bit view.
    std::string text;
    Read programs = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", text);
    if (programs == Read::Bad || (programs == Read::Missing && !IsNt3()))
        return false;
    folders.push_back(text);
    const REGSAM views[] = {0, static_cast<REGSAM>(IsWow64() ? KEY_WOW64_64KEY : 0)};
    for (REGSAM view : views)
        for (const char* value : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir", "CommonFilesDir",
                                  "CommonFilesDir (x86)", "CommonW6432Dir"}) {
            if (RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, value, text, view) == Read::Bad)
                return false;
            folders.push_back(text);
        }
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "CommonProgramFiles",
                             "CommonProgramFiles(x86)", "CommonProgramW6432"}) {
        if (Environment(name, text) == Read::Bad)
            return false;
        folders.push_back(text);
    }
    // Desktop and My Documents as both keys name them, and the folders all
    // users share.
    std::vector<std::string> desktops;
    if (!ShellFolderBoth(HKEY_CURRENT_USER, "Desktop", desktops) ||
        !ShellFolderBoth(HKEY_CURRENT_USER, "Personal", folders))
        return false;
    folders.insert(folders.end(), desktops.begin(), desktops.end());
    for (const char* value : {"Common Desktop", "Common Start Menu", "Common Documents"}) {
        if (RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, value, text) == Read::Bad)
            return false;
        folders.push_back(text);
    }
    // The profile, from the profile variable and from the Desktop's folder
    // (the only source where the variable is missing: the Windows 95 family,
    // NT 3.x); the folders that hold profiles, and every other profile in
    // them, All Users' among them, with all it holds.
    std::string profile;
    if (Environment("USERPROFILE", profile) == Read::Bad)
        return false;
    std::vector<std::string> profiles = {profile};
    for (const std::string& d : desktops)
        profiles.push_back(ParentOf(NormalizeFolderPath(d)));
    std::vector<std::string> holders;
    for (const std::string& p : profiles) {
        folders.push_back(NormalizeFolderPath(p));
        holders.push_back(ParentOf(NormalizeFolderPath(p)));
    }
    if (RegistryText(HKEY_LOCAL_MACHINE, kProfileList, "ProfilesDirectory", text) == Read::Bad)
        return false;
    holders.push_back(text);
    holders.push_back(NormalizeFolderPath(windowsDir) + "\\Profiles");
    if (Environment("ALLUSERSPROFILE", text) == Read::Bad)
        return false;
    subtrees.push_back(text);
    // The user's own profile by the names the system gives it (another name
    // for it only makes it protected as a whole).
    std::vector<std::string> ownNames;
    for (const std::string& p : profiles) {
        std::string absolute;
        if (AbsoluteFolder(p, absolute))
            ownNames.push_back(Upper(absolute));
    }
    std::vector<std::string> listed;
    for (const std::string& holder : holders) {
        std::string absolute;
        if (holder.empty() || !AbsoluteFolder(holder, absolute))
            continue;
        bool again = false;
        for (const std::string& l : listed)
            again = again || l == Upper(absolute);
        if (again)
            continue;
        listed.push_back(Upper(absolute));
        folders.push_back(absolute);
        for (const std::string& other : Subfolders(absolute)) {
            bool own = false;
            for (const std::string& o : ownNames)
                own = own || Upper(other) == o;
            (own ? folders : subtrees).push_back(other);
        }
    }
    // Each in its one form; a location that names no folder cannot be
    // protected.
    std::vector<std::string> seen;
    auto add = [&seen](const std::vector<std::string>& from, std::vector<std::string>& to) {
        for (const std::string& folder : from) {
            if (folder.empty() || IsRoot(NormalizeFolderPath(folder)))
                continue; // nothing, or a root: never cleaned anyway
            std::string absolute;
            if (!AbsoluteFolder(folder, absolute))
                return false;
            const std::string key = Upper(absolute);
            bool listed = false;
            for (const std::string& s : seen)
                listed = listed || s == key;
            if (!listed) {
                seen.push_back(key);
                to.push_back(absolute);
            }
        }
        return true;
    };
    std::string windows, system;
    if (!AbsoluteFolder(windowsDir, windows) || !AbsoluteFolder(systemDir, system))
        return false;
    out.windows = windows;
    out.system = system;
    if (!add(subtrees, out.subtrees) || !add(folders, out.folders))
        return false;
    // The user's trace folders below the Windows folder, and below the profile
    // where the profile lies there (the Windows 95 family's and NT 4's).
    out.traces = WindowsTraceFolders(windows);
    for (const std::string& p : profiles) {
        std::string absolute;
        if (AbsoluteFolder(p, absolute))
            for (const std::string& t : WindowsTraceFolders(absolute))
                out.traces.push_back(t);
    }
    return true;
}

std::vector<std::string> WindowsTraceFolders(const std::string& windowsDir)
{
    std::vector<std::string> out;
    std::string base = NormalizeFolderPath(windowsDir);
    if (!AnsiEndsWith(base, '\\'))
        base += '\\';
    for (const char* name : kTraceNames)
        out.push_back(base + name);
    return out;
}

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
            if (!nt->UnderWine() && IsNetworkPath(out)) {
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
