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

const char* RefusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NotAbsolute:
        return "Please type the full path of the folder, such as C:\\Temp\\Old or \\\\server\\share\\Old.";
    case Refusal::Protected:
        return "This folder is never emptied: it is a drive or a share, it holds Windows, Program Files, your "
               "profile, Desktop or My Documents, it is this program's own folder or lies in the system folder, "
               "or it is reached through a link. Choose another folder.";
    case Refusal::NoFolder:
        return "There is no folder at this path.";
    case Refusal::None:
        break;
    }
    return "";
}

Refusal AddCandidate(const std::string& boxText, const std::string& droppedPath, std::string& path)
{
    size_t first = boxText.find_first_not_of(" \t");
    if (first == std::string::npos) {
        path = droppedPath;
        return Refusal::None;
    }
    path.clear();
    size_t last = boxText.find_last_not_of(" \t");
    std::string text = boxText.substr(first, last - first + 1);
    std::string typed;
    if (!AbsoluteFolder(text, typed)) {
        // A drive or a share itself is a full path, just never emptied.
        std::string root = NormalizeFolderPath(text);
        bool isRoot = (root.size() == 3 && text.size() >= 3 && root[1] == ':' && root[2] == '\\') ||
                      (root.compare(0, 2, "\\\\") == 0 && root.find('\\', 2) != std::string::npos);
        return isRoot ? Refusal::Protected : Refusal::NotAbsolute;
    }
    std::string folder;
    switch (JudgeFolder(ResolveCandidate(typed), folder)) {
    case FolderVerdict::NotAbsolute:
        return Refusal::NotAbsolute;
    case FolderVerdict::Protected:
        return Refusal::Protected;
    case FolderVerdict::Cleanable:
        break;
    }
    if (KindOfPath(folder) != PathKind::Folder)
        return Refusal::NoFolder;
    path = folder;
    return Refusal::None;
}
