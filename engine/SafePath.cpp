#include "engine/SafePath.h"

#include <windows.h>

namespace {

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

bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder)
{
    std::string a = Upper(NormalizeFolderPath(ancestor));
    std::string f = Upper(NormalizeFolderPath(folder));
    if (a.empty() || f.size() < a.size() || f.compare(0, a.size(), a) != 0)
        return false;
    return f.size() == a.size() || a.back() == '\\' || f[a.size()] == '\\';
}

bool IsProtectedFolder(const std::string& fullPath, const std::string& windowsDir,
                       const std::string& systemDir)
{
    std::string p = NormalizeFolderPath(fullPath);
    if (p.empty() || IsRoot(p))
        return true;
    return (!windowsDir.empty() && PathIsSameOrAbove(p, windowsDir)) ||
           (!systemDir.empty() && PathIsSameOrAbove(p, systemDir));
}

bool IsProtectedFolder(const char* path)
{
    if (!path || !*path)
        return true;
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return true;
    char windowsDir[MAX_PATH] = "";
    char systemDir[MAX_PATH] = "";
    UINT w = ::GetWindowsDirectoryA(windowsDir, MAX_PATH);
    UINT s = ::GetSystemDirectoryA(systemDir, MAX_PATH);
    // Without the system's folders nothing can be judged safe.
    if (w == 0 || w >= MAX_PATH || s == 0 || s >= MAX_PATH)
        return true;
    return IsProtectedFolder(std::string(full, n), windowsDir, systemDir);
}
