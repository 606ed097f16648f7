// The NT family's native file calls that the deletion walk needs, looked up in
// ntdll at run time (they exist there since NT 3.1). Every call returns the
// system's NTSTATUS: negative is a failure.
#pragma once
#include <windows.h>

enum class EntryKind { Folder, File, Link };

class CNtFiles {
public:
    // Null where ntdll lacks the calls (the Windows 95 family).
    static const CNtFiles* Get();
    // Wine reports a symbolic link like the entry it points to.
    bool UnderWine() const { return m_bWine; }

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
    // Marks the object behind h for deletion when h is closed.
    LONG MarkForDeletion(HANDLE h) const;

private:
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
    QueryObjectFn m_pQueryObject = nullptr;
    InformationFileFn m_pSetInformationFile = nullptr;
    InformationFileFn m_pQueryInformationFile = nullptr;
    CreateFileFn m_pCreateFile = nullptr;
    QueryDirectoryFileFn m_pQueryDirectoryFile = nullptr;
};

// True when name is exactly parent + "\" + leaf (all counted in chars): the
// system names an entry by the names it was listed under, a link by its target.
bool IsNameOfChild(const WCHAR* name, ULONG nameChars, const WCHAR* parent, ULONG parentChars,
                   const WCHAR* leaf, ULONG leafChars);
