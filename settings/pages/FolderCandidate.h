// What a drop on the Custom page's path box, or a path typed into it, stands
// for: the first dropped name, a shortcut replaced by its target, and whether
// the result is a folder that may join the user's list.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <string>

// The first name of the drop that can be read, or "". Does not end the drop.
std::string FirstDroppedName(HDROP drop);

// The target path stored in the shell link file at path, or "" when path is
// no link or the link object is unavailable. COM must be initialised.
std::string ResolveShortcut(const char* path);

// path, or the target when path is a shortcut with a non-empty target.
std::string ResolveCandidate(const std::string& path);

enum class PathKind { Missing, Folder, File };
PathKind KindOfPath(const std::string& path);

// Why typed text is not taken.
enum class Refusal { None, NotAbsolute, Protected, NoFolder };
// The text that tells the user.
const char* RefusalText(Refusal refusal);

// The folder Add takes, in path: typed text, when the box holds any, in its
// one absolute form if it (or the shortcut it names) is an addable folder;
// with an empty box, the last accepted path. Never resolved against the
// current directory.
Refusal AddCandidate(const std::string& boxText, const std::string& droppedPath, std::string& path);
