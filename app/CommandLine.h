// What the program's command line asks for: the window (hidden in the
// notification area with /tray), one clean run with nothing on screen
// (/clean [/log FILE]), one preview of that run (/preview [/log FILE]), or
// the usage. Switches are
// case-insensitive and start with / or -.
#pragma once
#include <string>
#include <vector>

enum class LaunchMode {
    Window,
    Clean,   // one run with the stored settings, then the run's exit code
    Preview, // what that run would remove, removing nothing; exit code 0
    Usage,   // the usage in a message box, then exitCode
    Refuse,  // an unknown switch with /clean or /preview, or both: exitCode, nothing on screen
};

struct LaunchRequest {
    LaunchMode mode = LaunchMode::Window;
    std::string logFile; // /log FILE (Clean, Preview); empty: none
    bool tray = false;   // Window: start hidden in the notification area
    int exitCode = 0;    // for Usage and Refuse
};

// The exit codes of a run without a window.
enum CleanExit { kCleanAllRemoved = 0, kCleanSomethingStayed = 1, kCleanNoRun = 2, kCleanBadSwitch = 3 };

// The arguments of a command tail, split as the C runtime splits them:
// blanks separate, double quotes group, a quote doubled inside quotes or
// escaped with a backslash is a quote.
std::vector<std::string> SplitArguments(const char* tail);

LaunchRequest ParseCommandLine(const char* tail);

// The exit code of a finished run from its log text: 0 when every line after
// "Begin cleaning..." ended in "OK" and the last is "End cleaning...OK", else 1.
int CleanExitCode(const std::string& log);

// The usage box's text.
extern const char kUsageText[];
