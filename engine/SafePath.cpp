#include "engine/SafePath.h"

#include "engine/NtFiles.h"

#include <windows.h>

#include <cstring>

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

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
Read RegistryText(HKEY root, const char* key, const char* value, std::string& out)
{
    out.clear();
    HKEY h = nullptr;
    LONG opened = ::RegOpenKeyExA(root, key, 0, KEY_READ, &h);
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

// A shell folder's location: Shell Folders, else User Shell Folders.
Read ShellFolder(const char* value, std::string& out)
{
    Read r = RegistryText(HKEY_CURRENT_USER, kShellFolders, value, out);
    return r == Read::Missing ? RegistryText(HKEY_CURRENT_USER, kUserShellFolders, value, out) : r;
}

bool IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_BAD_NETPATH ||
           error == ERROR_BAD_NET_NAME || error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY ||
           error == ERROR_NOT_READY;
}

// The identity of what path names, following the system's own links (these
// are the system's own locations).
enum class Opened { Ok, Missing, Failed };
Opened IdentityOfPath(const std::string& path, FileIdentity& id)
{
    HANDLE h = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return IsMissingError(::GetLastError()) ? Opened::Missing : Opened::Failed;
    bool ok = IdentityOf(h, id);
    ::CloseHandle(h);
    return ok ? Opened::Ok : Opened::Failed;
}

// The protected folders in the form each kind of identity compares.
struct Protections {
    // Handles: every protected folder and every folder above it; the Windows
    // and system folders; the trace folders below the Windows folder.
    std::vector<FileIdentity> containedIds;
    FileIdentity windowsId, systemId;
    std::vector<std::string> traceFolders;
    // Names: upper-case long forms.
    std::vector<std::string> protectedNames;
    std::string windowsName, systemName;
    std::vector<std::string> traceNames;
};

bool CollectProtections(Identity by, Protections& p)
{
    std::vector<std::string> folders;
    if (!ProtectedFolders(folders) || folders.size() < 2)
        return false;
    std::vector<std::string> traces = WindowsTraceFolders(folders[0]);
    if (by == Identity::Names) {
        for (const std::string& f : folders) {
            std::string name;
            if (!LongFolderName(f, name))
                return false;
            p.protectedNames.push_back(Upper(name));
        }
        p.windowsName = p.protectedNames[0];
        p.systemName = p.protectedNames[1];
        for (const std::string& t : traces) {
            std::string name;
            if (LongFolderName(t, name))
                p.traceNames.push_back(Upper(name));
        }
        return true;
    }
    // Each folder opened once, however many protected folders lie below it.
    std::vector<std::pair<std::string, std::pair<Opened, FileIdentity>>> seen;
    auto identityOf = [&seen](const std::string& path, FileIdentity& id) {
        const std::string key = Upper(path);
        for (const auto& s : seen)
            if (s.first == key) {
                id = s.second.second;
                return s.second.first;
            }
        Opened opened = IdentityOfPath(path, id);
        seen.push_back({key, {opened, id}});
        return opened;
    };
    for (size_t i = 0; i < folders.size(); ++i) {
        std::string root;
        std::vector<std::string> names;
        if (!SplitAbsoluteFolder(folders[i], root, names))
            return false;
        std::string prefix = root;
        FileIdentity id;
        Opened opened = identityOf(prefix, id);
        for (size_t n = 0; opened == Opened::Ok; ++n) {
            bool listed = false;
            for (const FileIdentity& c : p.containedIds)
                listed = listed || c == id;
            if (!listed)
                p.containedIds.push_back(id);
            if (n == names.size())
                break;
            if (!AnsiEndsWith(prefix, '\\'))
                prefix += '\\';
            prefix += names[n];
            opened = identityOf(prefix, id);
        }
        // The Windows and system folders exist, or nothing is safe; another
        // folder that is not there holds nothing to protect.
        if (opened == Opened::Failed || (i < 2 && opened != Opened::Ok))
            return false;
        if (i == 0)
            p.windowsId = id;
        else if (i == 1)
            p.systemId = id;
    }
    // The trace folders are opened only for a folder below the Windows folder.
    p.traceFolders = traces;
    return true;
}

bool Contains(const std::vector<FileIdentity>& ids, const FileIdentity& id)
{
    for (const FileIdentity& i : ids)
        if (i == id)
            return true;
    return false;
}

// The folders on the way to the folder, root first and the folder last, all
// without a link: by handles.
// complete: the chain reaches the folder; else it ends above a missing name,
// and only the folders above it are judged.
bool CleanableByHandles(const std::vector<FileIdentity>& chain, bool complete, const Protections& p)
{
    if (chain.empty() || (complete && Contains(p.containedIds, chain.back())))
        return false;
    size_t windows = chain.size();
    for (size_t i = 0; i < chain.size(); ++i) {
        if (chain[i] == p.systemId)
            return false;
        if (chain[i] == p.windowsId && windows == chain.size())
            windows = i;
    }
    if (windows == chain.size())
        return true;
    // Below the Windows folder: only inside one of its trace folders.
    std::vector<FileIdentity> traceIds;
    for (const std::string& t : p.traceFolders) {
        FileIdentity id;
        if (IdentityOfPath(t, id) == Opened::Ok)
            traceIds.push_back(id);
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
    if (PathIsSameOrAbove(p.systemName, c))
        return false;
    if (!PathIsSameOrAbove(p.windowsName, c))
        return true;
    for (const std::string& t : p.traceNames)
        if (PathIsSameOrAbove(t, c))
            return true;
    return false;
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

bool ProtectedFolders(std::vector<std::string>& out)
{
    out.clear();
    char windowsDir[MAX_PATH] = "";
    char systemDir[MAX_PATH] = "";
    UINT w = ::GetWindowsDirectoryA(windowsDir, MAX_PATH);
    UINT s = ::GetSystemDirectoryA(systemDir, MAX_PATH);
    if (w == 0 || w >= MAX_PATH || s == 0 || s >= MAX_PATH)
        return false;
    std::vector<std::string> found = {windowsDir, systemDir};

    char self[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    found.push_back(ParentOf(self));

    // Program Files: NT 3.x has none, so a missing location is no failure;
    // one that cannot be read is.
    std::string text;
    if (RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", text) == Read::Bad)
        return false;
    found.push_back(text);
    if (Environment("ProgramFiles", text) == Read::Bad)
        return false;
    found.push_back(text);
    // Desktop and My Documents must be known.
    std::string desktop;
    if (ShellFolder("Desktop", desktop) != Read::Ok)
        return false;
    found.push_back(desktop);
    if (ShellFolder("Personal", text) != Read::Ok)
        return false;
    found.push_back(text);
    // The profile and the folder of all profiles, from the profile variable
    // and from the Desktop's folder (the only source where the variable is
    // missing: the Windows 95 family, NT 3.x).
    std::string profile;
    if (Environment("USERPROFILE", profile) == Read::Bad)
        return false;
    for (std::string p : {profile, ParentOf(NormalizeFolderPath(desktop))}) {
        p = NormalizeFolderPath(p);
        found.push_back(p);
        found.push_back(ParentOf(p));
    }
    for (const std::string& folder : found) {
        if (folder.empty() || IsRoot(NormalizeFolderPath(folder)))
            continue; // nothing, or a root: never cleaned anyway
        std::string absolute;
        // A location that names no folder cannot be protected.
        if (!AbsoluteFolder(folder, absolute))
            return false;
        out.push_back(absolute);
    }
    return out.size() >= 2;
}

std::vector<std::string> WindowsTraceFolders(const std::string& windowsDir)
{
    std::vector<std::string> out;
    std::string base = NormalizeFolderPath(windowsDir);
    if (!AnsiEndsWith(base, '\\'))
        base += '\\';
    for (const char* name :
         {"Temp", "Cookies", "History", "Recent", "Temporary Internet Files", "Favorites", "Profiles"})
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
    std::vector<FileIdentity> chain;
    if (nt) {
        HANDLE h = nullptr;
        LONG status = nt->OpenFolderNoLinks(out, h, by == Identity::Handles ? &chain : nullptr);
        if (h)
            ::CloseHandle(h);
        // Nothing there: nothing to delete, and it is judged again when
        // emptied; the folders above it still say whether it may be.
        if (status < 0 && !IsNotFound(status))
            return FolderVerdict::Protected;
        if (by == Identity::Handles)
            return CleanableByHandles(chain, status >= 0, p) ? FolderVerdict::Cleanable : FolderVerdict::Protected;
    }
    std::string longName;
    if (!LongFolderName(out, longName))
        return FolderVerdict::Protected;
    return CleanableByNames(longName, p) ? FolderVerdict::Cleanable : FolderVerdict::Protected;
}
