// Which folders a cleaner may empty. A folder is named by an absolute path
// only (a drive letter, colon, backslash and at least one folder name, or
// \\server\share\folder...), never resolved against a current directory, and
// never a protected folder: drive and share roots, the Windows folder, the
// system folder and everything below it, the user's profile folder and its
// parent, Program Files, the program's own folder, the Desktop and My
// Documents folders, and any folder that contains one of them. Below the
// Windows folder only the folders of the user's traces may be emptied.
// Protection goes by where a folder really is, not by how it is spelled: on
// the NT family by volume and file index of the folder and of every folder
// really above it (whatever drive letter, share of this machine or link led
// there), on the Windows 95 family by the long name of every component. A folder reached through a link, junction or mount point is
// never emptied, and when a protected folder's location cannot be read no
// folder is.
// Every ANSI path is split by characters, never by bytes: a double-byte
// character's second byte may be that of "\" or "|".
#pragma once
#include <string>
#include <vector>

// Bytes of the ANSI character at s in the system's code page: 2 for a lead
// byte followed by another byte, 1 otherwise, 0 at the end.
size_t AnsiCharBytes(const char* s);
// Offset of the last character of s (s.size() when empty).
size_t AnsiLastChar(const std::string& s);
// True when s ends in the character c ("\", "/", "." or " "), never its byte
// as the second half of a double-byte character.
bool AnsiEndsWith(const std::string& s, char c);
// Everything before the last backslash, found by characters ("" without one).
std::string ParentOf(const std::string& path);
// A name that, joined into a path, means exactly itself: not empty, no
// separator, wildcard, quote, pipe, colon or control character, not ending in
// a dot or a space (Win32 strips them, naming another entry).
bool IsPlainName(const char* name);

// Backslashes only, no trailing backslash except after a drive ("C:\").
std::string NormalizeFolderPath(const std::string& path);

// The one form of value, in out: "/" read as "\", repeated and trailing
// backslashes dropped. False for anything relative, drive-relative, rooted
// without a drive, a device path, a share root, a name "." or "..", a name
// ending in a dot or a space, a character no name may hold, or a path of
// MAX_PATH or more.
bool AbsoluteFolder(const std::string& value, std::string& out);
// folder (as AbsoluteFolder gives it) in its root ("C:\" or
// "\\server\share") and its names below it.
bool SplitAbsoluteFolder(const std::string& folder, std::string& root, std::vector<std::string>& names);

// True when ancestor names folder itself or a folder above it, by their
// letters in the system's case rules. Both paths normalised.
bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder);

// By letters only, for the folders as the system names them: a root or
// device form, or an empty path, is always protected.
bool IsProtectedFolder(const std::string& path, const std::vector<std::string>& protectedFolders);
bool IsProtectedFolder(const std::string& path, const std::string& windowsDir, const std::string& systemDir);

// The long form of an absolute folder on the Windows 95 family: every
// component that exists expanded with FindFirstFileA, letters as the disk
// has them. False when a component cannot be read for another reason than
// its absence.
bool LongFolderName(const std::string& folder, std::string& out);

// The folders that must never be emptied, as this system names them. False
// when the location of one of them cannot be read (a value missing where
// every version but NT 3.x has it, unreadable, too long, or not expandable):
// then nothing can be judged safe.
struct ProtectedSet {
    std::string windows, system;
    // Never emptied, nor any folder that holds one of them: the program's
    // folder, both Program Files and their common files, Desktop and My
    // Documents as either key names them, the common Desktop, Start Menu and
    // Documents, the profile and the folders that hold profiles.
    std::vector<std::string> folders;
    // Nothing inside them either: the system folder (first), every other
    // profile, All Users' among them.
    std::vector<std::string> subtrees;
    // Below the Windows folder only these may be emptied, with what they hold.
    std::vector<std::string> traces;
};
bool ReadProtectedSet(ProtectedSet& out);
// The current user's trace folders below folder (the Windows folder, or a
// profile that lies below it): Temp, Cookies, History, Recent, Temporary
// Internet Files and Favorites.
std::vector<std::string> WindowsTraceFolders(const std::string& windowsDir);

// How folders are told apart: by handle (volume serial and file index; the
// NT family) or by their long names (the Windows 95 family).
enum class Identity { Handles, Names };
// The one this system has: handles wherever ntdll's file calls exist.
Identity SystemIdentity();

// Why a value may not be cleaned, or Cleanable with its one form in out.
// Protected also stands for a link on the way and for protections that
// cannot be read. A folder that does not exist is judged by the folders
// above it that do (nothing is there to delete, and it is judged again when
// it is emptied). With Names where the system has handles (the Windows 95
// walk through a test's choice), links are still refused by handle.
enum class FolderVerdict { Cleanable, NotAbsolute, Protected };
FolderVerdict JudgeFolder(const std::string& value, std::string& out);
FolderVerdict JudgeFolder(const std::string& value, std::string& out, Identity by);
