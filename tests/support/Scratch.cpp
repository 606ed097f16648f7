#include "tests/support/Scratch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

bool IsUnderScratch(const std::string& path)
{
    if (path.size() < 4 || (path[0] != 'S' && path[0] != 's') || path.compare(1, 2, ":\\") != 0)
        return false;
    return path.find("..") == std::string::npos && path.find('/') == std::string::npos;
}

static void RequireScratch(const std::string& path)
{
    if (!IsUnderScratch(path)) {
        std::fprintf(stderr, "refusing to touch %s: not under S:\\\n", path.c_str());
        std::abort();
    }
}

void RemoveScratchTree(const std::string& path)
{
    RequireScratch(path);
    WIN32_FIND_DATAA entry;
    HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveScratchTree(child);
            else if (!::DeleteFileA(child.c_str()))
                ::RemoveDirectoryA(child.c_str());
        } while (::FindNextFileA(h, &entry));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(path.c_str());
}

std::string FreshScratch(const std::string& name)
{
    std::string path = "S:\\" + name;
    RequireScratch(path);
    RemoveScratchTree(path);
    MakeDir(path);
    return path;
}

void MakeDir(const std::string& path)
{
    RequireScratch(path);
    ::CreateDirectoryA(path.c_str(), nullptr);
}

void WriteFile(const std::string& path, const std::string& content)
{
    RequireScratch(path);
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(h);
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ListDir(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(h, &entry));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}
