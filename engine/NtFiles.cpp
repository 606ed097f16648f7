#include "engine/NtFiles.h"

#include "engine/SafePath.h"
#include "framework/ProcAddress.h"

#include <winternl.h>

#include <cstring>

namespace {
const int kObjectNameInformation = 1;
const int kFileDirectoryInformation = 1;
const int kFileBasicInformation = 4;
const int kFileDispositionInformation = 13;
const int kFileIdInformation = 59;

// NtCreateFile's disposition and options.
const ULONG kFileOpen = 1;
const ULONG kDirectoryFile = 0x00000001;
const ULONG kSynchronousIoNonAlert = 0x00000020;
const ULONG kNonDirectoryFile = 0x00000040;
const ULONG kOpenForBackupIntent = 0x00004000;
const ULONG kOpenReparsePoint = 0x00200000;
const ULONG kObjCaseInsensitive = 0x00000040;
const LONG kStatusNameTooLong = static_cast<LONG>(0xC0000106);
const LONG kStatusInvalidParameter = static_cast<LONG>(0xC000000D);
const LONG kStatusObjectNameInvalid = static_cast<LONG>(0xC0000033);
const LONG kStatusObjectNameNotFound = static_cast<LONG>(0xC0000034);
const LONG kStatusObjectPathNotFound = static_cast<LONG>(0xC000003A);
const LONG kStatusNoSuchFile = static_cast<LONG>(0xC000000F);
const LONG kStatusNotADirectory = static_cast<LONG>(0xC0000103);

struct IoStatus {
    LONG status;
    ULONG_PTR information;
};

struct CountedString {
    USHORT length; // in bytes
    USHORT maximumLength;
    const WCHAR* buffer;
};

struct ObjectAttributes {
    ULONG length;
    HANDLE rootDirectory;
    CountedString* objectName;
    ULONG attributes;
    PVOID securityDescriptor;
    PVOID securityQualityOfService;
};

struct BasicInformation {
    LARGE_INTEGER times[4];
    ULONG attributes;
};
} // namespace

const CNtFiles* CNtFiles::Get()
{
    static const CNtFiles* instance = [] {
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        if (!ntdll)
            return static_cast<CNtFiles*>(nullptr);
        auto* nt = new CNtFiles;
        nt->m_bWine = ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
        nt->m_pQueryObject = ProcAddress<QueryObjectFn>(ntdll, "NtQueryObject");
        nt->m_pSetInformationFile = ProcAddress<InformationFileFn>(ntdll, "NtSetInformationFile");
        nt->m_pQueryInformationFile = ProcAddress<InformationFileFn>(ntdll, "NtQueryInformationFile");
        nt->m_pCreateFile = ProcAddress<CreateFileFn>(ntdll, "NtCreateFile");
        nt->m_pQueryDirectoryFile = ProcAddress<QueryDirectoryFileFn>(ntdll, "NtQueryDirectoryFile");
        if (!nt->m_pQueryObject || !nt->m_pSetInformationFile || !nt->m_pQueryInformationFile ||
            !nt->m_pCreateFile || !nt->m_pQueryDirectoryFile) {
            delete nt;
            return static_cast<CNtFiles*>(nullptr);
        }
        // NT 3.x and 4 refuse an option they do not know; the Windows folder
        // is there to try it on.
        char windows[MAX_PATH];
        UINT n = ::GetWindowsDirectoryA(windows, MAX_PATH);
        WCHAR wide[MAX_PATH + 16] = L"\\DosDevices\\";
        int prefix = static_cast<int>(std::wcslen(wide));
        int chars = n > 0 && n < MAX_PATH ? ::MultiByteToWideChar(CP_ACP, 0, windows, n, wide + prefix, MAX_PATH) : 0;
        HANDLE h = nullptr;
        LONG status = chars > 0 ? nt->OpenFolder(wide, prefix + chars, true, h) : kStatusInvalidParameter;
        if (h)
            ::CloseHandle(h);
        nt->m_bReparse = status != kStatusInvalidParameter;
        return nt;
    }();
    return instance;
}

LONG CNtFiles::Create(HANDLE root, const WCHAR* name, ULONG chars, ACCESS_MASK access, ULONG options,
                      HANDLE& h) const
{
    h = nullptr;
    if (chars == 0 || chars > 32767)
        return kStatusNameTooLong;
    CountedString counted = {static_cast<USHORT>(chars * sizeof(WCHAR)),
                             static_cast<USHORT>(chars * sizeof(WCHAR)), name};
    ObjectAttributes attributes = {sizeof(attributes), root, &counted, kObjCaseInsensitive, nullptr, nullptr};
    IoStatus io = {};
    LONG status = m_pCreateFile(&h, access, &attributes, &io, nullptr, 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kFileOpen,
                                options | kOpenForBackupIntent, nullptr, 0);
    if (status < 0)
        h = nullptr;
    return status;
}

LONG CNtFiles::OpenFolder(const WCHAR* ntName, ULONG chars, bool openReparsePoint, HANDLE& h) const
{
    // No DELETE access: the folder itself is never removed.
    return Create(nullptr, ntName, chars, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                  kDirectoryFile | kSynchronousIoNonAlert | (openReparsePoint ? kOpenReparsePoint : 0), h);
}

LONG CNtFiles::OpenEntry(HANDLE dir, const WCHAR* leaf, ULONG chars, EntryKind kind, bool openReparsePoint,
                         HANDLE& h) const
{
    ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES;
    ULONG options = openReparsePoint ? kOpenReparsePoint : 0;
    if (kind == EntryKind::Folder) {
        access |= FILE_LIST_DIRECTORY | SYNCHRONIZE;
        options |= kDirectoryFile | kSynchronousIoNonAlert;
    } else if (kind == EntryKind::File) {
        options |= kNonDirectoryFile;
    }
    return Create(dir, leaf, chars, access, options, h);
}

LONG CNtFiles::ReadEntries(HANDLE dir, void* buffer, ULONG size, bool first, const WCHAR* mask,
                           ULONG maskChars) const
{
    CountedString pattern = {static_cast<USHORT>(maskChars * sizeof(WCHAR)),
                             static_cast<USHORT>(maskChars * sizeof(WCHAR)), mask};
    IoStatus io = {};
    LONG status = m_pQueryDirectoryFile(dir, nullptr, nullptr, nullptr, &io, buffer, size,
                                        kFileDirectoryInformation, FALSE, mask && first ? &pattern : nullptr,
                                        first);
    // An empty answer ends the listing as well.
    return status >= 0 && io.information == 0 ? static_cast<LONG>(0x80000006) : status;
}

LONG CNtFiles::QueryAttributes(HANDLE h, ULONG& attributes) const
{
    BasicInformation info = {};
    IoStatus io = {};
    LONG status = m_pQueryInformationFile(h, &io, &info, sizeof(info), kFileBasicInformation);
    attributes = info.attributes;
    return status;
}

LONG CNtFiles::NameOf(HANDLE h, void* buffer, ULONG size, const WCHAR*& name, ULONG& chars) const
{
    // A counted string followed by its text.
    ULONG returned = 0;
    LONG status = m_pQueryObject(h, kObjectNameInformation, buffer, size, &returned);
    if (status < 0)
        return status;
    const auto* counted = static_cast<const CountedString*>(buffer);
    name = counted->buffer;
    chars = counted->length / sizeof(WCHAR);
    return status;
}

LONG CNtFiles::MarkForDeletion(HANDLE h) const
{
    IoStatus io = {};
    BOOLEAN deleteFile = TRUE;
    return m_pSetInformationFile(h, &io, &deleteFile, sizeof(deleteFile), kFileDispositionInformation);
}

namespace {
CNtFiles::NameAnswerFn g_nameAnswer = nullptr;
}

bool IdentityOf(HANDLE h, FileIdentity& id)
{
    id = FileIdentity();
    const CNtFiles* nt = CNtFiles::Get();
    if (nt && nt->UnderWine() && !g_nameAnswer) {
        // FILE_ID_INFORMATION: Wine answers from the file's own status,
        // without asking the mount manager for a serial each time.
        struct {
            ULONGLONG volume;
            ULONGLONG index[2];
        } info = {};
        IoStatus io = {};
        if (nt->m_pQueryInformationFile(h, &io, &info, sizeof(info), kFileIdInformation) < 0)
            return false;
        id.volume = info.volume;
        id.index[0] = info.index[0];
        id.index[1] = info.index[1];
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (!::GetFileInformationByHandle(h, &info))
            return false;
        id.volume = info.dwVolumeSerialNumber;
        id.index[0] = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    return id.index[0] != 0 || id.index[1] != 0;
}

bool IsNotFound(LONG status)
{
    return status == kStatusObjectNameNotFound || status == kStatusObjectPathNotFound ||
           status == kStatusNoSuchFile || status == kStatusObjectNameInvalid || status == kStatusNotADirectory;
}

namespace {
std::wstring Wide(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int chars = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(chars > 0 ? chars : 0, L'\0');
    if (chars > 0)
        ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], chars);
    return w;
}

// Closes its handle unless it was taken.
struct Held {
    HANDLE h = nullptr;
    ~Held()
    {
        if (h)
            ::CloseHandle(h);
    }
};
} // namespace

LONG CNtFiles::OpenFolderNoLinks(const std::string& folder, HANDLE& h, std::vector<FileIdentity>* ids) const
{
    h = nullptr;
    if (ids)
        ids->clear();
    std::string root;
    std::vector<std::string> names;
    if (!SplitAbsoluteFolder(folder, root, names))
        return kStatusObjectNameInvalid;
    // "C:\" is "\DosDevices\C:\", "\\server\share" "\DosDevices\UNC\server\share\".
    std::wstring rootName = L"\\DosDevices\\" +
                            Wide(root.compare(0, 2, "\\\\") == 0 ? "UNC" + root.substr(1) + "\\" : root);
    const ACCESS_MASK access = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    const ULONG options = kDirectoryFile | kSynchronousIoNonAlert | (m_bReparse ? kOpenReparsePoint : 0);
    Held parent;
    LONG status = Create(nullptr, rootName.c_str(), static_cast<ULONG>(rootName.size()), access, options, parent.h);
    if (status < 0)
        return status;
    FileIdentity id;
    if (ids) {
        if (!IdentityOf(parent.h, id))
            return kStatusInvalidParameter;
        ids->push_back(id);
    }
    std::vector<LONGLONG> buffer;
    std::wstring parentName;
    if (m_bWine) {
        buffer.resize((65536 + 16) / sizeof(LONGLONG));
        const WCHAR* name = nullptr;
        ULONG chars = 0;
        if ((status = NameOf(parent.h, buffer.data(), 65536 + 16, name, chars)) < 0)
            return status;
        parentName.assign(name, chars);
        if (!parentName.empty() && parentName.back() == L'\\')
            parentName.pop_back();
    }
    for (const std::string& ansi : names) {
        const std::wstring name = Wide(ansi);
        std::wstring listed;
        if (m_bWine) {
            // The name the folder lists for it (its long name), which Wine's
            // name of the handle must repeat.
            status = ReadEntries(parent.h, buffer.data(), 8192, true, name.c_str(), static_cast<ULONG>(name.size()));
            if (status < 0)
                return IsNotFound(status) || status == static_cast<LONG>(0x80000006) ? kStatusObjectNameNotFound
                                                                                     : status;
            const auto* entry = reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(buffer.data());
            listed.assign(entry->FileName, entry->FileNameLength / sizeof(WCHAR));
        }
        Held child;
        if ((status = Create(parent.h, name.c_str(), static_cast<ULONG>(name.size()), access, options, child.h)) < 0)
            return status;
        ULONG attributes = 0;
        if ((status = QueryAttributes(child.h, attributes)) < 0)
            return status;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return kStatusLinkOnPath;
        if (m_bWine) {
            const WCHAR* own = nullptr;
            ULONG chars = 0;
            if ((status = NameOf(child.h, buffer.data(), 65536 + 16, own, chars)) < 0)
                return status;
            if (!IsNameOfChild(own, chars, parentName.c_str(), static_cast<ULONG>(parentName.size()), listed.c_str(),
                               static_cast<ULONG>(listed.size())))
                return kStatusLinkOnPath;
            parentName.assign(own, chars);
        }
        if (ids) {
            if (!IdentityOf(child.h, id))
                return kStatusInvalidParameter;
            ids->push_back(id);
        }
        ::CloseHandle(parent.h);
        parent.h = child.h;
        child.h = nullptr;
    }
    h = parent.h;
    parent.h = nullptr;
    return 0;
}

bool IsNameOfChild(const WCHAR* name, ULONG nameChars, const WCHAR* parent, ULONG parentChars,
                   const WCHAR* leaf, ULONG leafChars)
{
    // Exact: both names come from the same disk entries through the same
    // conversion, and a link to a sibling that differs only in letter case
    // must not pass for the entry itself.
    return leafChars > 0 && nameChars == parentChars + 1 + leafChars && name[parentChars] == L'\\' &&
           std::memcmp(name, parent, parentChars * sizeof(WCHAR)) == 0 &&
           std::memcmp(name + parentChars + 1, leaf, leafChars * sizeof(WCHAR)) == 0;
}

void CNtFiles::AnswerNamesForTests(NameAnswerFn answer)
{
    g_nameAnswer = answer;
}

bool CNtFiles::SystemName(HANDLE h, std::wstring& name) const
{
    name.clear();
    if (g_nameAnswer)
        return g_nameAnswer(h, name) && !name.empty();
    std::vector<LONGLONG> buffer((65536 + 16) / sizeof(LONGLONG));
    const WCHAR* own = nullptr;
    ULONG chars = 0;
    if (NameOf(h, buffer.data(), 65536 + 16, own, chars) < 0)
        return false;
    name.assign(own, chars);
    return !name.empty();
}

bool CNtFiles::RealChain(HANDLE h, std::vector<FileIdentity>& chain, const std::vector<FileIdentity>* known) const
{
    chain.clear();
    FileIdentity id;
    if (!IdentityOf(h, id))
        return false;
    std::wstring own;
    if (!SystemName(h, own))
        return false;
    std::vector<FileIdentity> up{id}; // the folder, then each one above it
    // A folder already known: the ones above it are known as well.
    auto isKnown = [known](const FileIdentity& f) {
        if (known)
            for (const FileIdentity& k : *known)
                if (k == f)
                    return true;
        return false;
    };
    const ACCESS_MASK access = FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    const ULONG options = kDirectoryFile | kSynchronousIoNonAlert;
    if (m_bWine && !g_nameAnswer) {
        // "\??\X:\dir" names the folder by a drive letter, "\??\unix\..." by
        // its Unix name; the Unix name's ".." is the real parent, whatever
        // links led here.
        typedef char*(CDECL * UnixNameFn)(LPCWSTR);
        static const auto unixName =
            ProcAddress<UnixNameFn>(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
        if (own.compare(0, 4, L"\\??\\") != 0)
            return false;
        std::wstring wide;
        if (own.compare(4, 5, L"unix\\") == 0) {
            wide = own.substr(8);
            for (WCHAR& c : wide)
                c = c == L'\\' ? L'/' : c;
        } else {
            char* unix = unixName ? unixName(own.c_str() + 4) : nullptr;
            if (!unix)
                return false;
            int n = ::MultiByteToWideChar(CP_UTF8, 0, unix, -1, nullptr, 0);
            wide.assign(n > 0 ? n - 1 : 0, L'\0');
            if (n > 1)
                ::MultiByteToWideChar(CP_UTF8, 0, unix, -1, &wide[0], n);
            ::HeapFree(::GetProcessHeap(), 0, unix);
        }
        if (wide.empty() || wide[0] != L'/')
            return false;
        std::wstring path = L"\\??\\unix" + wide;
        // Up to the Unix root, whose ".." is itself.
        for (int level = 0; level < 256; ++level) {
            path += L"/..";
            Held parent;
            if (Create(nullptr, path.c_str(), static_cast<ULONG>(path.size()), access, options, parent.h) < 0 ||
                !IdentityOf(parent.h, id))
                return false;
            if (id == up.back())
                break;
            up.push_back(id);
            if (isKnown(id))
                break;
        }
    } else {
        // "\Device\HarddiskVolume1\dir\sub": each shorter name is the folder
        // above, until the volume's root, which opens only with its "\".
        bool root = isKnown(id);
        while (!root) {
            size_t slash = own.rfind(L'\\');
            if (slash == std::wstring::npos || slash == 0)
                return false;
            own.erase(slash);
            Held parent;
            if (Create(nullptr, own.c_str(), static_cast<ULONG>(own.size()), access, options, parent.h) < 0 ||
                !IdentityOf(parent.h, id)) {
                const std::wstring rootName = own + L"\\";
                if (Create(nullptr, rootName.c_str(), static_cast<ULONG>(rootName.size()), access, options,
                           parent.h) < 0 ||
                    !IdentityOf(parent.h, id))
                    return false;
                root = true;
            }
            up.push_back(id);
            root = root || isKnown(id);
        }
    }
    chain.assign(up.rbegin(), up.rend());
    return true;
}

namespace {
// The device behind a drive letter ("\Device\HarddiskVolume1"; a letter made
// by subst names a folder, one mapped to a share a redirector's path).
std::wstring DeviceOfLetter(WCHAR letter)
{
    static const auto query = DECLARED_PROC(::GetModuleHandleA("kernel32.dll"), QueryDosDeviceW);
    const WCHAR drive[] = {letter, L':', L'\0'};
    WCHAR target[MAX_PATH] = L"";
    return query && query(drive, target, MAX_PATH) ? std::wstring(target) : std::wstring();
}
} // namespace

bool CNtFiles::LocalFolderName(HANDLE h, std::wstring& out) const
{
    out.clear();
    std::wstring own, device, rest;
    if (!SystemName(h, own))
        return false;
    // "\Device\HarddiskVolume1\dir"; Wine names the folder by a letter,
    // "\??\C:\dir", which stands for that letter's device.
    if (own.size() >= 6 && own.compare(0, 4, L"\\??\\") == 0 && own[5] == L':') {
        device = DeviceOfLetter(own[4]);
        rest = own.substr(6);
    } else {
        size_t end = own.size() > 8 && own.compare(0, 8, L"\\Device\\") == 0 ? own.find(L'\\', 8) : 0;
        device = own.substr(0, end == std::wstring::npos ? own.size() : end);
        rest = end == std::wstring::npos ? std::wstring() : own.substr(end);
    }
    if (device.compare(0, 8, L"\\Device\\") != 0)
        return false;
    for (WCHAR letter = L'A'; letter <= L'Z' && out.empty(); ++letter) {
        const char root[] = {static_cast<char>(letter), ':', '\\', '\0'};
        if (DeviceOfLetter(letter) == device && ::GetDriveTypeA(root) == DRIVE_FIXED)
            out = std::wstring(1, letter) + L":" + (rest.empty() ? L"\\" : rest);
    }
    // Opened again by that name with no link on the way: the same folder.
    char ansi[MAX_PATH];
    int bytes = out.empty() || out.size() >= MAX_PATH
                    ? 0
                    : ::WideCharToMultiByte(CP_ACP, 0, out.c_str(), static_cast<int>(out.size()), ansi,
                                            MAX_PATH - 1, nullptr, nullptr);
    std::string folder;
    FileIdentity id, again;
    Held opened;
    bool same = bytes > 0 && Wide(std::string(ansi, bytes)) == out &&
                AbsoluteFolder(std::string(ansi, bytes), folder) &&
                OpenFolderNoLinks(folder, opened.h, nullptr) >= 0 && IdentityOf(h, id) &&
                IdentityOf(opened.h, again) && id == again;
    if (!same)
        out.clear();
    return same;
}
