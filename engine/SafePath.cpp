#include "engine/SafePath.h"

#include <windows.h>

#include <cstring>

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

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
        size_t server = p.find('\\', 2);
        if (server == std::string::npos)
            return true;
        return p.find('\\', server + 1) == std::string::npos;
    }
    return false;
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A folder name that means itself to every file API: no separator, wildcard,
// quote, pipe, colon or control character, not "." or "..", and no trailing
// dot or space (Win32 strips them, naming another folder).
bool IsPlainName(const std::string& name)
{
    if (name.empty() || name.back() == '.' || name.back() == ' ')
        return false;
    for (unsigned char c : name)
        if (c < 32 || std::strchr("\\/:*?\"<>|", c))
            return false;
    return true;
}

std::string ParentOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string RegistryText(HKEY root, const char* key, const char* value)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return "";
    char text[MAX_PATH] = "";
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        text[0] = '\0';
    ::RegCloseKey(h);
    return text;
}

std::string Environment(const char* name)
{
    char text[MAX_PATH] = "";
    DWORD n = ::GetEnvironmentVariableA(name, text, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(text, n) : std::string();
}

} // namespace

std::string NormalizeFolderPath(const std::string& path)
{
    std::string p = path;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    while (p.size() > 1 && p.back() == '\\' && !(p.size() == 3 && p[1] == ':'))
        p.pop_back();
    if (p.size() == 2 && p[1] == ':')
        p += '\\';
    return p;
}

bool AbsoluteFolder(const std::string& value, std::string& out)
{
    std::string p = value;
    for (char& c : p)
        if (c == '/')
            c = '\\';
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
        size_t end = p.find('\\', at);
        if (end == std::string::npos)
            end = p.size();
        if (end > at) {
            std::string name = p.substr(at, end - at);
            // "\\?\" and "\\.\" fail here: "?" and "." are no plain names.
            if (!IsPlainName(name))
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

bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder)
{
    std::string a = Upper(NormalizeFolderPath(ancestor));
    std::string f = Upper(NormalizeFolderPath(folder));
    if (a.empty() || f.size() < a.size() || f.compare(0, a.size(), a) != 0)
        return false;
    return f.size() == a.size() || a.back() == '\\' || f[a.size()] == '\\';
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

bool ProtectedFolders(std::vector<std::string>& out)
{
    out.clear();
    char windowsDir[MAX_PATH] = "";
    char systemDir[MAX_PATH] = "";
    UINT w = ::GetWindowsDirectoryA(windowsDir, MAX_PATH);
    UINT s = ::GetSystemDirectoryA(systemDir, MAX_PATH);
    if (w == 0 || w >= MAX_PATH || s == 0 || s >= MAX_PATH)
        return false;
    out.push_back(windowsDir);
    out.push_back(systemDir);

    char self[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        out.push_back(ParentOf(self));
    out.push_back(RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"));
    out.push_back(Environment("ProgramFiles"));
    std::string desktop = RegistryText(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    out.push_back(desktop);
    out.push_back(RegistryText(HKEY_CURRENT_USER, kShellFolders, "Personal"));
    // The profile and the folder of all profiles, from the profile variable
    // and from the Desktop's folder (the only source where the variable is
    // missing: the Windows 95 family, NT 3.x).
    for (std::string profile : {Environment("USERPROFILE"), ParentOf(NormalizeFolderPath(desktop))}) {
        profile = NormalizeFolderPath(profile);
        out.push_back(profile);
        out.push_back(ParentOf(profile));
    }
    for (std::string& folder : out) {
        std::string absolute;
        folder = AbsoluteFolder(folder, absolute) ? absolute : NormalizeFolderPath(folder);
    }
    return true;
}

FolderVerdict JudgeFolder(const std::string& value, std::string& out)
{
    if (!AbsoluteFolder(value, out))
        return FolderVerdict::NotAbsolute;
    std::vector<std::string> protectedFolders;
    if (!ProtectedFolders(protectedFolders) || IsProtectedFolder(out, protectedFolders))
        return FolderVerdict::Protected;
    return FolderVerdict::Cleanable;
}
