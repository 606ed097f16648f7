#include "engine/NtFiles.h"

#include "framework/ProcAddress.h"

#include <cstring>

namespace {
const int kObjectNameInformation = 1;
const int kFileDirectoryInformation = 1;
const int kFileBasicInformation = 4;
const int kFileDispositionInformation = 13;

// NtCreateFile's disposition and options.
const ULONG kFileOpen = 1;
const ULONG kDirectoryFile = 0x00000001;
const ULONG kSynchronousIoNonAlert = 0x00000020;
const ULONG kNonDirectoryFile = 0x00000040;
const ULONG kOpenForBackupIntent = 0x00004000;
const ULONG kOpenReparsePoint = 0x00200000;
const ULONG kObjCaseInsensitive = 0x00000040;
const LONG kStatusNameTooLong = static_cast<LONG>(0xC0000106);

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
