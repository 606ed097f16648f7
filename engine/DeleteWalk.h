// Emptying one folder without ever leaving it, depth first, in listing order:
// every file, and every subfolder once it is empty. The folder itself stays,
// and so does a read-only file with every folder above it.
#pragma once
#include <windows.h>

#include <string>

class CNtFiles;

// What a walk removed and what stayed, counted from the listing and the
// answers of the deletions (no call of its own). A folder that stays only for
// what stays inside it is not counted again.
struct WalkTally {
    ULONGLONG files = 0; // removed, links included
    ULONGLONG folders = 0;
    ULONGLONG bytes = 0; // the removed files' sizes as listed
    ULONG inUse = 0;     // held open by another program
    ULONG scheduled = 0; // of those, handed to the next start (counted by the caller)
    ULONG readOnly = 0;
    ULONG denied = 0;
    ULONG unsafe = 0; // skipped: a link, or a name a path would misread or not hold
    ULONG Left() const { return inUse + readOnly + denied + unsafe; }
    void Add(const WalkTally& other);
};

// The end of a category's line: "OK\r\n" when nothing stayed, else how many
// stayed and why, e.g. "3 left: 2 in use (deleted when Windows restarts),
// 1 read-only\r\n".
std::string CategoryEnding(const WalkTally& tally);

// Where an entry could not be deleted: status is the NTSTATUS of its opening
// or of its deletion (STATUS_SHARING_VIOLATION for a file another program
// holds open, STATUS_DIRECTORY_NOT_EMPTY for a folder above an entry that
// stayed), ntPath its full NT name ("\DosDevices\C:\dir\name", chars long,
// not terminated); folder the open handle of the folder it lies in, valid
// during the call.
typedef void (*DeleteFailedFn)(void* context, LONG status, const WCHAR* ntPath, size_t chars, HANDLE folder);

// Delete, or Count: the walk lists and judges every entry as it would to
// delete it (the native walk opens a file only for Wine's name check),
// deletes nothing, tells onFailure nothing, and counts what a deletion would
// have removed and left (a read-only file stays, and every folder above what
// stays).
enum class WalkMode { Delete, Count };

struct WalkOptions {
    const volatile LONG* stop = nullptr; // non-zero: stop at the next entry
    // Where the system knows FILE_OPEN_REPARSE_POINT (NT 5): open every entry
    // with it, so that a junction or symbolic link is opened, and removed, as
    // itself. An entry the listing flags as a link is opened so in any case.
    bool openReparsePoints = false;
    // Wine, which reports a link like its target: an entry counts only when
    // its handle carries the name it was listed under.
    bool checkNames = false;
    DeleteFailedFn onFailure = nullptr;
    void* context = nullptr;
    WalkTally* tally = nullptr; // added to when given
    WalkMode mode = WalkMode::Delete;
};

// The options this system needs, with stop.
WalkOptions NativeWalkOptions(const CNtFiles& nt, const volatile LONG* stop);

// The NT family: the folder (as AbsoluteFolder gives it) is opened once, one
// component at a time from its drive with no link on the way, and listed
// through its handle; each entry is opened relative to its folder's
// handle and deleted through its own. Names stay as the system lists them; a
// stack of open folders on the heap takes the place of recursion, so depth
// costs no call stack and has no MAX_PATH limit. pattern limits the names at
// the top ("*.*" or "*": all).
void DeleteTreeNative(const CNtFiles& nt, const std::string& folder, const char* pattern,
                      const WalkOptions& options);

// The Windows 95 family, through FindFirstFileA and full paths within
// MAX_PATH. A name that a path would read as something else (a separator,
// wildcard or other reserved character, a trailing dot or space, read by
// characters of the ANSI code page) is skipped, and so is a name that would
// not fit. Under Wine, which lists a link like its target, an entry whose
// handle does not carry its own name is left alone.
// onFailure hears of every file or folder that could not be deleted, with
// GetLastError's code and its full path.
typedef void (*DeleteFailedWin95Fn)(void* context, DWORD error, const char* path, bool isFolder);
void DeleteTreeWin95(const std::string& folder, const char* pattern, const volatile LONG* stop,
                     DeleteFailedWin95Fn onFailure = nullptr, void* context = nullptr,
                     WalkTally* tally = nullptr, WalkMode mode = WalkMode::Delete);
