// Wine follows a symbolic link to a file when it deletes it (the target goes,
// the link stays), and reports such a link like a plain file. Under Wine every
// entry is therefore opened and deleted through its own handle, and only when
// the handle's name shows that it is the entry itself and not a link target.
// Folders are listed through their own checked handles and entries opened
// relative to them, so no path is composed or resolved twice.
// Real Windows reports links as reparse points and deletes the link itself, so
// there this guard is absent and costs nothing.
#pragma once
#include <windows.h>

class CWineLinks {
public:
    // Null when the process does not run under Wine.
    static const CWineLinks* Get();

    // Opens the folder at path for listing (never for deletion);
    // INVALID_HANDLE_VALUE on failure.
    HANDLE OpenFolder(const char* path) const;
    // Opens the entry leaf (chars long) of the folder behind dir for deletion
    // without following it where the system can avoid that, a folder also for
    // listing. Fails when the entry is not of the kind given. Null on failure.
    HANDLE OpenEntry(HANDLE dir, const WCHAR* leaf, ULONG chars, bool isFolder) const;
    // Reads the next entries of the folder behind dir into buffer, as a chain
    // of FILE_DIRECTORY_INFORMATION records. mask (chars long) limits the
    // names on the first read; null means all. False at the end or on failure.
    bool ReadEntries(HANDLE dir, void* buffer, ULONG size, bool first, const WCHAR* mask,
                     ULONG maskChars) const;
    // The system's name of the object behind h ("\??\C:\dir\name") in out and
    // its length in chars; false when it cannot be had or does not fit.
    bool NameOf(HANDLE h, WCHAR (&out)[MAX_PATH], ULONG& chars) const;
    // Marks the object behind h for deletion when h is closed.
    bool MarkForDeletion(HANDLE h) const;

private:
    CWineLinks() = default;
    typedef LONG(NTAPI* QueryObjectFn)(HANDLE, int, PVOID, ULONG, PULONG);
    typedef LONG(NTAPI* SetInformationFileFn)(HANDLE, PVOID, PVOID, ULONG, int);
    typedef LONG(NTAPI* CreateFileFn)(PHANDLE, ACCESS_MASK, PVOID, PVOID, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                      ULONG, PVOID, ULONG);
    typedef LONG(NTAPI* QueryDirectoryFileFn)(HANDLE, HANDLE, PVOID, PVOID, PVOID, PVOID, ULONG, int, BOOLEAN,
                                              PVOID, BOOLEAN);
    QueryObjectFn m_pQueryObject = nullptr;
    SetInformationFileFn m_pSetInformationFile = nullptr;
    CreateFileFn m_pCreateFile = nullptr;
    QueryDirectoryFileFn m_pQueryDirectoryFile = nullptr;
};

// True when name is exactly parent + "\" + leaf (all counted in chars): the
// system names an entry by the names it was listed under, a link by its target.
bool IsNameOfChild(const WCHAR* name, ULONG nameChars, const WCHAR* parent, ULONG parentChars,
                   const WCHAR* leaf, ULONG leafChars);
