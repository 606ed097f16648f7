#include "engine/WineLinks.h"

#include <cstring>

namespace {
const int kObjectNameInformation = 1;
const int kFileDispositionInformation = 13;

template <class Fn>
Fn ProcAddress(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct IoStatus {
    LONG status;
    ULONG_PTR information;
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
        if (!links->m_pQueryObject || !links->m_pSetInformationFile) {
            delete links;
            return static_cast<CWineLinks*>(nullptr);
        }
        return links;
    }();
    return instance;
}

HANDLE CWineLinks::Open(const char* path, bool forDeletion) const
{
    return ::CreateFileA(path, forDeletion ? DELETE | FILE_READ_ATTRIBUTES : FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr);
}

bool CWineLinks::NameOf(HANDLE h, char (&out)[2 * MAX_PATH]) const
{
    // UNICODE_STRING header followed by the text.
    union {
        struct {
            USHORT length;
            USHORT maximumLength;
            WCHAR* buffer;
        } name;
        BYTE raw[sizeof(void*) * 2 + 2 * MAX_PATH * sizeof(WCHAR)];
    } info;
    ULONG returned = 0;
    if (m_pQueryObject(h, kObjectNameInformation, &info, sizeof(info), &returned) < 0)
        return false;
    int chars = info.name.length / sizeof(WCHAR);
    int n = ::WideCharToMultiByte(CP_ACP, 0, info.name.buffer, chars, out, sizeof(out) - 1, nullptr,
                                  nullptr);
    if (n <= 0 && chars > 0)
        return false;
    out[n] = '\0';
    return true;
}

bool CWineLinks::MarkForDeletion(HANDLE h) const
{
    IoStatus io = {};
    BOOLEAN deleteFile = TRUE;
    return m_pSetInformationFile(h, &io, &deleteFile, sizeof(deleteFile),
                                 kFileDispositionInformation) >= 0;
}

bool IsNameOfChild(const char* name, const char* parent, const char* leaf)
{
    size_t p = std::strlen(parent);
    size_t l = std::strlen(leaf);
    if (std::strlen(name) != p + 1 + l || name[p] != '\\')
        return false;
    return ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name, static_cast<int>(p), parent,
                            static_cast<int>(p)) == CSTR_EQUAL &&
           ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name + p + 1, static_cast<int>(l),
                            leaf, static_cast<int>(l)) == CSTR_EQUAL;
}
