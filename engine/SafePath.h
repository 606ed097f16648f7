// Folders that no cleaner may ever empty: drive and share roots, the Windows
// and system directories, and any folder that contains one of them.
#pragma once
#include <string>

// Backslashes only, no trailing backslash except after a drive ("C:\").
std::string NormalizeFolderPath(const std::string& path);

// True when ancestor names folder itself or a folder above it; letter case is
// ignored. Both paths normalised.
bool PathIsSameOrAbove(const std::string& ancestor, const std::string& folder);

// Pure form: fullPath as GetFullPathNameA gives it, the two system folders as
// the system reports them.
bool IsProtectedFolder(const std::string& fullPath, const std::string& windowsDir,
                       const std::string& systemDir);

// Resolves path to a full path and asks the system for its folders. An empty
// path, or one that cannot be resolved within MAX_PATH, counts as protected.
bool IsProtectedFolder(const char* path);
