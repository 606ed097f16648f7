#include "app/CommandLine.h"

const char kUsageText[] =
    "Usage: Brightsweep [/tray] [/clean [/log FILE]] [/preview [/log FILE]]\r\n\r\n"
    "/tray\tstarts with the window hidden in the notification area.\r\n"
    "/clean\tcleans once with the stored settings, with nothing on screen, and exits.\r\n"
    "/preview\tlists what /clean would remove, removing nothing, and exits.\r\n"
    "/log FILE\tappends that run's lines to FILE, after a line with the date and time.\r\n\r\n"
    "Exit codes: 0 everything was removed (or listed), 1 something stayed, "
    "2 no run could be made, 3 unknown switch, or /clean with /preview.";

std::vector<std::string> SplitArguments(const char* tail)
{
    std::vector<std::string> args;
    const char* p = tail ? tail : "";
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            return args;
        std::string arg;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '\\') {
                size_t slashes = 0;
                while (p[slashes] == '\\')
                    ++slashes;
                if (p[slashes] == '"') { // 2n backslashes and a quote: n, then the quote acts
                    arg.append(slashes / 2, '\\');
                    p += slashes;
                    if (slashes % 2) {
                        arg += '"';
                        continue;
                    }
                } else {
                    arg.append(slashes, '\\');
                    p += slashes - 1;
                    continue;
                }
            }
            if (*p != '"') {
                arg += *p;
            } else if (quoted && p[1] == '"') {
                arg += '"';
                ++p;
            } else {
                quoted = !quoted;
            }
        }
        args.push_back(arg);
    }
}

namespace {

// ASCII letters in either case: the switches' names are plain words.
bool IsSwitch(const std::string& arg, const char* name)
{
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    size_t i = 1;
    for (; i < arg.size() && name[i - 1]; ++i) {
        char c = arg[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i - 1])
            return false;
    }
    return i == arg.size() && !name[i - 1];
}

} // namespace

LaunchRequest ParseCommandLine(const char* tail)
{
    std::vector<std::string> args = SplitArguments(tail);
    bool clean = false, preview = false, help = false, unknown = false, haveLog = false, tray = false;
    LaunchRequest request;
    for (size_t i = 0; i < args.size(); ++i) {
        if (IsSwitch(args[i], "clean")) {
            clean = true;
        } else if (IsSwitch(args[i], "preview")) {
            preview = true;
        } else if (IsSwitch(args[i], "tray")) {
            tray = true; // with /clean, the run alone
        } else if (IsSwitch(args[i], "?")) {
            help = true;
        } else if (IsSwitch(args[i], "log") && i + 1 < args.size() && !args[i + 1].empty() && !haveLog) {
            haveLog = true;
            request.logFile = args[++i];
        } else {
            unknown = true; // also a second /log, one without a file, or a word
        }
    }
    if (help) {
        request.mode = LaunchMode::Usage;
        request.exitCode = 0;
    } else if (unknown || (haveLog && !clean && !preview) || (clean && preview)) {
        // A scheduled line shows nothing: no box waits where nobody looks.
        request.mode = clean || preview ? LaunchMode::Refuse : LaunchMode::Usage;
        request.exitCode = kCleanBadSwitch;
    } else if (clean) {
        request.mode = LaunchMode::Clean;
    } else if (preview) {
        request.mode = LaunchMode::Preview;
    }
    request.tray = tray && request.mode == LaunchMode::Window;
    if (request.mode != LaunchMode::Clean && request.mode != LaunchMode::Preview)
        request.logFile.clear();
    return request;
}

int CleanExitCode(const std::string& log)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < log.size();) {
        size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    if (lines.empty() || lines.front() != "Begin cleaning..." || lines.back() != "End cleaning...OK")
        return kCleanSomethingStayed;
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].size() < 2 || lines[i].compare(lines[i].size() - 2, 2, "OK") != 0)
            return kCleanSomethingStayed;
    return kCleanAllRemoved;
}
