// Which folders a cleaner may empty. A folder is named by an absolute path
// only (a drive letter, colon, backslash and at least one folder name, or
// \\server\share\folder...), never resolved against a current directory, and
// never a protected folder: drive and share roots, the Windows and system
// directories, the user's profile folder and its parent, Program Files, the
// program's own folder, the Desktop and My Documents folders, and any folder
// that contains one of them.
#pragma once
#include <string>
#include <vector>

// Backslashes only, no trailing backslash except after a drive ("C:\").
std::string NormalizeFolderPath(const std::string& path);

// The one form of value, in out: "/" read as "\", repeated and trailing
// backslashes dropped. False for anything relative, drive-relative, rooted
// without a drive, a device path, a share root, a name "." or "..", a name
// ending in a dot or a space, a character no name may hold, or a path of
// MAX_PATH or more.
bool AbsoluteFolder(const std::string& value, std::string& out);

// True when ancestor names folder itself or a folder above it; letter case is
// ignored. Both paths normalised.
bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder);

// Pure form: path as AbsoluteFolder gives it; protectedFolders as the system
// reports them (see ProtectedFolders). A root or device form, or an empty
// path, is always protected.
bool IsProtectedFolder(const std::string& path, const std::vector<std::string>& protectedFolders);
bool IsProtectedFolder(const std::string& path, const std::string& windowsDir, const std::string& systemDir);

// The folders that must never be emptied, as this system names them, in out.
// False when the Windows or system directory cannot be had: then nothing can
// be judged safe.
bool ProtectedFolders(std::vector<std::string>& out);

// Why a value may not be cleaned, or Cleanable with its one form in out.
enum class FolderVerdict { Cleanable, NotAbsolute, Protected };
FolderVerdict JudgeFolder(const std::string& value, std::string& out);
