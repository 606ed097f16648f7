// The NT family's native file calls that the deletion walk needs, looked up in
// ntdll at run time (they exist there since NT 3.1). Every call returns the
// system's NTSTATUS: negative is a failure.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

enum class EntryKind { Folder, File, Link };

class CNtFiles {
public:
    // Null where ntdll lacks the calls (the Windows 95 family).
    static const CNtFiles* Get();
    // Wine reports a symbolic link like the entry it points to.
    bool UnderWine() const { return m_bWine; }
    // The system takes FILE_OPEN_REPARSE_POINT (NT 5; NT 3.x and 4, which
    // have no links, refuse the option). Probed, never taken from the
    // version the program is told.
    bool KnowsReparsePoints() const { return m_bReparse; }

    // Opens the folder with the full NT name ntName (chars long) for listing,
    // never for deletion; with openReparsePoint a link there is opened as
    // itself.
    LONG OpenFolder(const WCHAR* ntName, ULONG chars, bool openReparsePoint, HANDLE& h) const;
    // Opens the entry leaf (chars long) of the folder behind dir for deletion,
    // a folder also for listing. Fails when the entry is not of the kind given
    // (a link may be either).
    LONG OpenEntry(HANDLE dir, const WCHAR* leaf, ULONG chars, EntryKind kind, bool openReparsePoint,
                   HANDLE& h) const;
    // Reads the next entries of the folder behind dir into buffer, as a chain
    // of FILE_DIRECTORY_INFORMATION records. mask (maskChars long) limits the
    // names on the first read; null means all. Negative at the end.
    LONG ReadEntries(HANDLE dir, void* buffer, ULONG size, bool first, const WCHAR* mask, ULONG maskChars) const;
    LONG QueryAttributes(HANDLE h, ULONG& attributes) const;
    // The system's name of the object behind h, in buffer (size bytes); name
    // points into it and chars is its length.
    LONG NameOf(HANDLE h, void* buffer, ULONG size, const WCHAR*& name, ULONG& chars) const;
    // The same in a string, or a test's answer (AnswerNamesForTests); false
    // when there is none.
    bool SystemName(HANDLE h, std::wstring& name) const;
    // Marks the object behind h for deletion when h is closed.
    LONG MarkForDeletion(HANDLE h) const;

    // Opens folder (as AbsoluteFolder gives it) for listing one component at
    // a time from its drive or share, each relative to the handle of the one
    // before, and refuses a link, junction or mount point anywhere on the
    // way (with the option that opens it as itself where the system knows
    // it; under Wine, which names a link's handle by its target, by that
    // name). ids, when given, receives the identity of every folder on the
    // way, the drive's or share's root first and the folder last.
    // kStatusLinkOnPath for a link; a not-found status when a component is
    // missing.
    LONG OpenFolderNoLinks(const std::string& folder, HANDLE& h, std::vector<struct FileIdentity>* ids) const;

    // Where the folder behind h really lies, however its name reached it: the
    // identity of every folder from its volume's root down to it, the folder
    // last. From the system's name of the handle, the volume's device and the
    // path on it; under Wine, which names a handle by its most specific drive
    // letter, from the Unix folder it is. False when that cannot be
    // established: a name with no volume root above it (a redirector's, whose
    // share has no root of ours), a folder on the way that cannot be opened.
    // known: folders whose own place is known already; the chain stops at the
    // first of them (the folders above it are known as well).
    bool RealChain(HANDLE h, std::vector<struct FileIdentity>& chain,
                   const std::vector<struct FileIdentity>* known = nullptr) const;

    // The folder behind h named from its own volume's drive letter, as the
    // system's next start will find it ("C:\dir\sub"), in out. False where that
    // cannot be established: a volume with no letter of its own (a letter
    // made by subst or mapped to a share names another device), a drive that
    // is not fixed, or a name that, opened afresh from the drive, has a link
    // on the way or leads to another folder.
    bool LocalFolderName(HANDLE h, std::wstring& out) const;

    // Tests only: answers the system's name of a handle where RealChain or
    // LocalFolderName asks for it, and makes RealChain and IdentityOf go
    // Windows' way (each shorter name the folder above;
    // GetFileInformationByHandle), so that this way runs under Wine as well;
    // null restores.
    typedef bool (*NameAnswerFn)(HANDLE h, std::wstring& name);
    static void AnswerNamesForTests(NameAnswerFn answer);

private:
    friend bool IdentityOf(HANDLE h, struct FileIdentity& id);
    CNtFiles() = default;
    typedef LONG(NTAPI* QueryObjectFn)(HANDLE, int, PVOID, ULONG, PULONG);
    typedef LONG(NTAPI* InformationFileFn)(HANDLE, PVOID, PVOID, ULONG, int);
    typedef LONG(NTAPI* CreateFileFn)(PHANDLE, ACCESS_MASK, PVOID, PVOID, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                      ULONG, PVOID, ULONG);
    typedef LONG(NTAPI* QueryDirectoryFileFn)(HANDLE, HANDLE, PVOID, PVOID, PVOID, PVOID, ULONG, int, BOOLEAN,
                                              PVOID, BOOLEAN);
    LONG Create(HANDLE root, const WCHAR* name, ULONG chars, ACCESS_MASK access, ULONG options,
                HANDLE& h) const;

    bool m_bWine = false;
    bool m_bReparse = false;
    QueryObjectFn m_pQueryObject = nullptr;
    InformationFileFn m_pSetInformationFile = nullptr;
    InformationFileFn m_pQueryInformationFile = nullptr;
    CreateFileFn m_pCreateFile = nullptr;
    QueryDirectoryFileFn m_pQueryDirectoryFile = nullptr;
};

// What makes a file itself whatever it is called: its volume's serial number
// and its index there (GetFileInformationByHandle); under Wine the Unix
// device and inode, which Wine's serial (taken from the most specific drive
// letter) only stands for.
struct FileIdentity {
    ULONGLONG volume = 0;
    ULONGLONG index[2] = {0, 0};
    bool operator==(const FileIdentity& o) const
    {
        return volume == o.volume && index[0] == o.index[0] && index[1] == o.index[1];
    }
};
// The identity of the object behind h; false also for a file index of 0,
// which a volume without indexes reports for every file.
bool IdentityOf(HANDLE h, FileIdentity& id);

// A link on the way (STATUS_REPARSE_POINT_NOT_RESOLVED).
const LONG kStatusLinkOnPath = static_cast<LONG>(0xC0000280);
// A status that says a name on the way does not exist.
bool IsNotFound(LONG status);

// True when name is exactly parent + "\" + leaf (all counted in chars): the
// system names an entry by the names it was listed under, a link by its target.
bool IsNameOfChild(const WCHAR* name, ULONG nameChars, const WCHAR* parent, ULONG parentChars,
                   const WCHAR* leaf, ULONG leafChars);
