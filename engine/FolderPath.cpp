// Absolute folder paths in the system's code page: their one form, their root
// and names, comparisons by letters, and the long form of each component.
#include "engine/SafePath.h"

#include "engine/PathText.h"

#include <windows.h>

#include <cstring>

namespace {

// The step to the next character of s at i; never 0, so that a stray NUL
// inside a string cannot stop a loop.
size_t Step(const std::string& s, size_t i)
{
    size_t n = AnsiCharBytes(s.c_str() + i);
    return n == 0 ? 1 : n;
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

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string Slashes(std::string p)
{
    for (size_t i = 0; i < p.size(); i += Step(p, i))
        if (p[i] == '/')
            p[i] = '\\';
    return p;
}

} // namespace

namespace pathtext {

// The first single-byte "\" of s at or after from, or npos.
size_t FindSeparator(const std::string& s, size_t from)
{
    for (size_t i = from; i < s.size(); i += Step(s, i))
        if (s[i] == '\\')
            return i;
    return std::string::npos;
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

// A drive or share that is offline is no absent folder: what it holds is
// unknown, not nothing.
bool IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_DIRECTORY;
}

} // namespace pathtext

using namespace pathtext;

std::string ParentOf(const std::string& path)
{
    size_t slash = FindLastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

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
