#include "engine/WineLinks.h"

#include <cstring>

namespace {
const int kObjectNameInformation = 1;
const int kFileDirectoryInformation = 1;
const int kFileDispositionInformation = 13;

// NtCreateFile's disposition and options.
const ULONG kFileOpen = 1;
const ULONG kDirectoryFile = 0x00000001;
const ULONG kSynchronousIoNonAlert = 0x00000020;
const ULONG kNonDirectoryFile = 0x00000040;
const ULONG kOpenForBackupIntent = 0x00004000;
const ULONG kOpenReparsePoint = 0x00200000;
const ULONG kObjCaseInsensitive = 0x00000040;

template <class Fn>
Fn ProcAddress(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

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
} // namespace

const CWineLinks* CWineLinks::Get()
{
    static const CWineLinks* instance = [] {
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version"))
            return static_cast<CWineLinks*>(nullptr);
        auto* links = new CWineLinks;
        links->m_pQueryObject = ProcAddress<QueryObjectFn>(ntdll, "NtQueryObject");
        links->m_pSetInformationFile = ProcAddress<SetInformationFileFn>(ntdll, "NtSetInformationFile");
        links->m_pCreateFile = ProcAddress<CreateFileFn>(ntdll, "NtCreateFile");
        links->m_pQueryDirectoryFile = ProcAddress<QueryDirectoryFileFn>(ntdll, "NtQueryDirectoryFile");
        if (!links->m_pQueryObject || !links->m_pSetInformationFile || !links->m_pCreateFile ||
            !links->m_pQueryDirectoryFile) {
            delete links;
            return static_cast<CWineLinks*>(nullptr);
        }
        return links;
    }();
    return instance;
}

HANDLE CWineLinks::OpenFolder(const char* path) const
{
    // No DELETE access: the folder itself is never removed here.
    return ::CreateFileA(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

HANDLE CWineLinks::OpenEntry(HANDLE dir, const WCHAR* leaf, ULONG chars, bool isFolder) const
{
    if (chars == 0 || chars > MAX_PATH)
        return nullptr;
    CountedString name = {static_cast<USHORT>(chars * sizeof(WCHAR)),
                          static_cast<USHORT>(chars * sizeof(WCHAR)), leaf};
    ObjectAttributes attributes = {sizeof(attributes), dir, &name, kObjCaseInsensitive, nullptr, nullptr};
    IoStatus io = {};
    HANDLE h = nullptr;
    ACCESS_MASK access = DELETE | FILE_READ_ATTRIBUTES;
    ULONG options = kOpenForBackupIntent | kOpenReparsePoint;
    if (isFolder) {
        access |= FILE_LIST_DIRECTORY | SYNCHRONIZE;
        options |= kDirectoryFile | kSynchronousIoNonAlert;
    } else {
        options |= kNonDirectoryFile;
    }
    if (m_pCreateFile(&h, access, &attributes, &io, nullptr, 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kFileOpen, options, nullptr,
                      0) < 0)
        return nullptr;
    return h;
}

bool CWineLinks::ReadEntries(HANDLE dir, void* buffer, ULONG size, bool first, const WCHAR* mask,
                             ULONG maskChars) const
{
    CountedString pattern = {static_cast<USHORT>(maskChars * sizeof(WCHAR)),
                             static_cast<USHORT>(maskChars * sizeof(WCHAR)), mask};
    IoStatus io = {};
    // Warnings (end of the listing, a record too large for the buffer) are
    // negative too.
    return m_pQueryDirectoryFile(dir, nullptr, nullptr, nullptr, &io, buffer, size, kFileDirectoryInformation,
                                 FALSE, mask && first ? &pattern : nullptr, first) >= 0 &&
           io.information > 0;
}

bool CWineLinks::NameOf(HANDLE h, WCHAR (&out)[MAX_PATH], ULONG& chars) const
{
    // A counted string followed by its text.
    union {
        CountedString name;
        BYTE raw[sizeof(CountedString) + MAX_PATH * sizeof(WCHAR)];
    } info;
    ULONG returned = 0;
    if (m_pQueryObject(h, kObjectNameInformation, &info, sizeof(info), &returned) < 0)
        return false;
    chars = info.name.length / sizeof(WCHAR);
    if (chars >= MAX_PATH)
        return false;
    std::memcpy(out, info.name.buffer, chars * sizeof(WCHAR));
    out[chars] = L'\0';
    return true;
}

bool CWineLinks::MarkForDeletion(HANDLE h) const
{
    IoStatus io = {};
    BOOLEAN deleteFile = TRUE;
    return m_pSetInformationFile(h, &io, &deleteFile, sizeof(deleteFile), kFileDispositionInformation) >= 0;
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
