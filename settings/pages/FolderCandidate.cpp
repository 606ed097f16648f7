#include "settings/pages/FolderCandidate.h"

#include "engine/SafePath.h"

#include <objbase.h>
#include <shlobj.h>
#include <sys/stat.h>

#include <vector>

std::string FirstDroppedName(HDROP drop)
{
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        std::vector<char> name(length + 1, '\0');
        if (::DragQueryFileA(drop, i, name.data(), length + 1) > 0)
            return std::string(name.data());
    }
    return "";
}

std::string ResolveShortcut(const char* path)
{
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return "";
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        link->Release();
        return "";
    }
    std::string result;
    WCHAR wide[MAX_PATH] = L"";
    if (::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) > 0 &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = "";
        if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
            result = target;
    }
    file->Release();
    link->Release();
    return result;
}

std::string ResolveCandidate(const std::string& path)
{
    std::string target = ResolveShortcut(path.c_str());
    return target.empty() ? path : target;
}

PathKind KindOfPath(const std::string& path)
{
    struct _stat st;
    if (path.empty() || ::_stat(path.c_str(), &st) != 0)
        return PathKind::Missing;
    if (st.st_mode & _S_IFDIR)
        return PathKind::Folder;
    if (st.st_mode & _S_IFREG)
        return PathKind::File;
    return PathKind::Missing;
}

bool IsAddableFolder(const std::string& path)
{
    return KindOfPath(path) == PathKind::Folder && !IsProtectedFolder(path.c_str());
}

std::string AddCandidate(const std::string& boxText, const std::string& droppedPath)
{
    size_t first = boxText.find_first_not_of(" \t");
    if (first == std::string::npos)
        return droppedPath;
    size_t last = boxText.find_last_not_of(" \t");
    std::string typed = ResolveCandidate(boxText.substr(first, last - first + 1));
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(typed.c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return "";
    std::string path = NormalizeFolderPath(std::string(full, n));
    return IsAddableFolder(path) ? path : "";
}
