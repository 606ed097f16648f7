// Opening addresses and files through the shell, with the command line of the
// web-page class as the fallback; the texts of a failed open; the help page.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Size of the fallback command line buffer, terminating zero included.
const size_t kFallbackCommandSize = 520;

// Opens address with the shell's "open" verb; if that fails, runs the ".htm"
// class's open command with the address. Returns the shell's or WinExec's
// result, greater than 32 on success; when the fallback cannot be built, the
// result of the "open" attempt. Needs no window; callable from any thread.
UINT ShellOpen(const char* address, int showCommand);

// Reads the default value of root\subKey into out (at least MAX_PATH bytes).
// Returns 0, or the registry error code (ERROR_MORE_DATA for a value that does
// not fit in MAX_PATH bytes with its terminating zero).
LONG ReadKeyDefault(HKEY root, const char* subKey, char* out);

// Builds the fallback command line: command cut at its document placeholder
// (the quoted "%1" first, else a bare %1; none keeps the whole command), a
// blank, then the address (quoted when it holds a blank and is not quoted yet).
// Returns false, with out empty, when the result and its terminating zero
// would not fit in outSize bytes.
bool BuildFallbackCommand(const char* command, const char* address, char* out, size_t outSize);

// "Unable to open hyperlink:\n\n" and the text for a failed result code.
std::string OpenErrorText(UINT code);

