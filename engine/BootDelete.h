// Files that another program holds open cannot be deleted while it runs; these
// are handed to the system for deletion at the next start of Windows. The NT
// family keeps that list in the registry (MoveFileExA with
// MOVEFILE_DELAY_UNTIL_REBOOT); the Windows 95 family reads NUL=<file> lines
// from the [rename] section of WININIT.INI in the Windows folder.
// The system's own list is also the memory of what is scheduled: a path is
// handed over once, however many runs meet it, and the list empties at start.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

enum class BootDeleteKind { MoveFileOnBoot, WinInit };

// Why an entry of a cleaned folder could not be deleted: held open by another
// program (a sharing violation or a lock), a folder not empty, or anything
// else (read-only, denied), which is never scheduled.
enum class Undeleted { HeldOpen, NotEmpty, Other };
Undeleted UndeletedForError(DWORD win32Error);
Undeleted UndeletedForStatus(LONG ntStatus);

// The largest WININIT.INI the system's start-up step reads in full.
const size_t kWinInitMaxBytes = 64 * 1024 - 1;

enum class WinInitEdit { Added, Listed, NoRoom };

// Adds "NUL=<shortPath>" after the last line of the [rename] section of a
// WININIT.INI text, or a new section at the end when there is none; other
// lines stay as they are. Listed (text unchanged) when any [rename] section
// already deletes that path; NoRoom (unchanged) when the text would grow
// beyond maxBytes.
WinInitEdit AddWinInitDeletion(std::string& text, const std::string& shortPath, size_t maxBytes);

// True when the PendingFileRenameOperations data (bytes long, as the ANSI
// registry call returns it: pairs of strings, each ended by a NUL) holds a
// deletion of path (a full path, as MoveFileExA was given it).
bool HasPendingDeletion(const char* data, size_t bytes, const char* path);

class CBootDelete {
public:
    explicit CBootDelete(BootDeleteKind kind) : m_kind(kind) {}
    // The folder being cleaned, as the walk was given it: only what lies
    // inside it is ever scheduled.
    void SetFolder(const std::string& folder);

    // The walk's report of an entry it could not delete: path is full, ANSI,
    // or Unicode chars long (the system's "\??\" or "\DosDevices\" prefix
    // allowed). A file is scheduled when it is held open; a folder never (a
    // link put in its place before the restart would lead the start-up step
    // elsewhere): the next clean run removes it once emptied. True when the
    // path is in the system's list;
    // false also when it is too long, has no exact ANSI or short form, the
    // user may not schedule, or WININIT.INI has no room.
    // The NT family's list takes the file by its real place, from folder (the
    // open handle of the folder it lies in): on a fixed drive, by its
    // volume's own letter, with no link on the way, so that no drive letter,
    // share or link of the written path leads the start-up step elsewhere.
    // Without that, nothing is scheduled. WININIT.INI takes files on a fixed
    // drive only.
    bool Schedule(const char* path, bool isFolder, Undeleted why);
    bool Schedule(const WCHAR* path, size_t chars, HANDLE folder, bool isFolder, Undeleted why);

private:
    // entry: the path in its usual form; ansi: its exact ANSI form, or null;
    // folder: the handle of the folder it lies in, or null.
    bool Left(const std::wstring& entry, const char* ansi, HANDLE folder, bool isFolder, Undeleted why);
    // entry (as written) by where it really lies, in real; false when that
    // cannot be established.
    static bool RealPlace(const std::wstring& entry, HANDLE folder, std::wstring& real);
    // True when the NT family's list already deletes path at the next start
    // (WININIT.INI's own lines are found while it is edited).
    static bool IsPendingMove(const std::wstring& path);
    // path in its usual form ("C:\dir", "\\server\share"), scheduled by
    // MoveFileExW in its "\\?\" form.
    bool ScheduleMoveFile(const std::wstring& path);
    bool ScheduleWinInit(const char* path);

    BootDeleteKind m_kind;
    std::wstring m_folder;
    // What was left and not scheduled, depth first, until its folder reports.
    std::vector<std::wstring> m_unscheduled;
    // Set once the system refused the list for this user: nothing more is tried.
    bool m_bRefused = false;
};
