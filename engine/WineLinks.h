// Wine follows a symbolic link to a file when it deletes it (the target goes,
// the link stays), and reports such a link like a plain file. Under Wine every
// entry is therefore opened and deleted through its own handle, and only when
// the handle's name shows that it is the entry itself and not a link target.
// Real Windows reports links as reparse points and deletes the link itself, so
// there this guard is absent and costs nothing.
#pragma once
#include <windows.h>

class CWineLinks {
public:
    // Null when the process does not run under Wine.
    static const CWineLinks* Get();

    // Opens a file or folder without following it where the system can avoid
    // that; INVALID_HANDLE_VALUE on failure. A folder about to be listed must
    // be opened without DELETE access: listing it shares no deletion.
    HANDLE Open(const char* path, bool forDeletion) const;
    // The system's name of the object behind h ("\??\C:\dir\name"), as ANSI
    // text in out; false when it cannot be had or does not fit.
    bool NameOf(HANDLE h, char (&out)[2 * MAX_PATH]) const;
    // Marks the object behind h for deletion when h is closed.
    bool MarkForDeletion(HANDLE h) const;

private:
    CWineLinks() = default;
    typedef LONG(NTAPI* QueryObjectFn)(HANDLE, int, PVOID, ULONG, PULONG);
    typedef LONG(NTAPI* SetInformationFileFn)(HANDLE, PVOID, PVOID, ULONG, int);
    QueryObjectFn m_pQueryObject = nullptr;
    SetInformationFileFn m_pSetInformationFile = nullptr;
};

// True when name is exactly parent + "\" + leaf, letter case ignored.
bool IsNameOfChild(const char* name, const char* parent, const char* leaf);
