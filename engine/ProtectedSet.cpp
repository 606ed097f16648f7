// The folders this system must never empty, read from the system's
// directories, the registry and the environment.
#include "engine/SafePath.h"

#include "engine/PathText.h"
#include "framework/ProcAddress.h"

#include <windows.h>

#include <cstring>

using namespace pathtext;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kProfileList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// The current user's trace folders, below the Windows folder or the profile.
const char* const kTraceNames[] = {"Temp", "Cookies", "History", "Recent", "Temporary Internet Files", "Favorites"};

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

bool IsNt3()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return ::GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion == 3;
}

// The registry's other view on a 64-bit Windows: the native one for a 32-bit
// program (which reads the 32-bit view), the 32-bit programs' one for a
// 64-bit build; 0 (the own view again) elsewhere.
REGSAM OtherRegistryView()
{
    if (sizeof(void*) == 8)
        return KEY_WOW64_32KEY;
    static const auto isWow64 = DECLARED_PROC(::GetModuleHandleA("kernel32.dll"), IsWow64Process);
    BOOL wow = FALSE;
    return isWow64 && isWow64(::GetCurrentProcess(), &wow) && wow ? KEY_WOW64_64KEY : 0;
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

} // namespace

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
    // both of them, and the common files of each, from both of the
    // registry's views.
    std::string text;
    Read programs = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", text);
    if (programs == Read::Bad || (programs == Read::Missing && !IsNt3()))
        return false;
    folders.push_back(text);
    const REGSAM views[] = {0, OtherRegistryView()};
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
