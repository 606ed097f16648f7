// The program's entry in the current user's Run key, which starts it in the
// notification area at logon. The entry itself is the only record of the
// choice: nothing of it is kept in the settings key.
#pragma once
#include <string>

// The key and value name of the entry.
extern const char kRunKey[];
extern const char kRunValue[];

// The entry's command for a program file: the path in quotes, then " /tray".
std::string StartupCommand(const std::string& exePath);

// Whether a command starts exePath: its first argument (quoted or up to the
// first blank) names the same file, compared without regard to letter case.
bool CommandStartsProgram(const std::string& command, const std::string& exePath);

// The running program's full path.
std::string ProgramPath();

// Whether the Run key holds the entry and it starts this program.
bool StartsWithWindows();

// Writes (on) or removes (off) the entry; false when the registry refused.
bool SetStartWithWindows(bool on);
