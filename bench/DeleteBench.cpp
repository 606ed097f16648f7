// Files per second of DeleteTree (the native walk with Wine's name check), the
// native walk without it, the native and the Windows 95 walk each with and
// without the removal counts, the bare DeleteFileA/RemoveDirectoryA floor,
// the shell's deletion and cmd's rd /s /q, on identical generated trees under
// S:\bench.
//   delete_bench [rounds (5)] [--all]
// The walks and the floor run in every round, taking turns top folder by top
// folder; the slow ones (shell, rd) run after all rounds, once or, with --all,
// once per round: right after them the machine is slower for a while. The
// figures are medians over the runs, with their ranges.
#include "bench/BenchTree.h"
#include "engine/FolderTable.h"
#include "engine/DeleteWalk.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kBenchRoot[] = "S:\\bench";

// Each method deletes what lies in folder and reports whether it claims success.
bool ByDeleteTree(CFolderTable& table, const std::string& folder, double& seconds)
{
    double t0 = Now();
    table.DeleteTree("*.*", folder.c_str());
    seconds = Now() - t0;
    return true; // it reports nothing: the check that the copy is empty judges it
}

bool ByShell(const std::string& folder, double& seconds)
{
    // Double NUL at the end of the list.
    std::string from = folder + "\\*.*";
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    double t0 = Now();
    int rc = ::SHFileOperationA(&op);
    seconds = Now() - t0;
    return rc == 0 && !op.fAnyOperationsAborted;
}

bool ByRd(const std::string& folder, double& seconds)
{
    std::string command = "cmd.exe /c rd /s /q \"" + folder + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double t0 = Now();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        seconds = Now() - t0;
        return false;
    }
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    seconds = Now() - t0;
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code == 0;
}

// The floor empties folder; with removeFolder it removes folder itself too.
bool ByFloor(const std::string& folder, bool removeFolder, double& seconds)
{
    std::vector<TreeEntry> entries;
    ListForDeletion(folder, entries); // not timed
    if (removeFolder)
        entries.push_back({folder, true});
    bool ok = true;
    double t0 = Now();
    for (const TreeEntry& e : entries)
        ok &= (e.isFolder ? ::RemoveDirectoryA(e.path.c_str()) : ::DeleteFileA(e.path.c_str())) != FALSE;
    seconds = Now() - t0;
    return ok;
}

enum Method {
    kDeleteTree,
    kNoCheck,
    kCounted,
    kUncounted,
    kWin95,
    kWin95Uncounted,
    kFloor,
    kShell,
    kRd,
    kMethods
};
const int kTurnMethods = 7; // these take turns within every round
const char* const kMethodNames[kMethods] = {"DeleteTree (native walk)",
                                            "native walk without name check",
                                            "native walk, counting",
                                            "native walk, not counting",
                                            "Windows 95 walk, counting",
                                            "Windows 95 walk, not counting",
                                            "floor: DeleteFileA+RemoveDirectoryA",
                                            "SHFileOperationA FO_DELETE",
                                            "cmd /c rd /s /q"};
const char* const kFolderNames[kMethods] = {"deletetree", "nocheck", "counted", "uncounted", "win95",
                                            "win95u",     "floor",   "shell",   "rd"};

bool ByWalk(CFolderTable& table, Method m, const std::string& folder, bool removeFolder, double& seconds)
{
    if (m == kDeleteTree)
        return ByDeleteTree(table, folder, seconds);
    if (m == kFloor)
        return ByFloor(folder, removeFolder, seconds);
    // The counted and uncounted pairs differ in the tally alone.
    WalkTally tally;
    WalkTally* counts = m == kCounted || m == kWin95 ? &tally : nullptr;
    const CNtFiles* nt = CNtFiles::Get();
    double t0 = Now();
    if (m == kWin95 || m == kWin95Uncounted || !nt) {
        DeleteTreeWin95(folder, "*.*", nullptr, nullptr, nullptr, counts);
    } else {
        WalkOptions options = NativeWalkOptions(*nt, nullptr);
        options.checkNames = options.checkNames && m != kNoCheck;
        options.tally = counts;
        DeleteTreeNative(*nt, folder, "*.*", options);
    }
    seconds = Now() - t0;
    return !counts || tally.Left() == 0;
}

// The walks and the floor on their own copies, top folder by top folder and
// then the rest, taking turns in every step (the order rotating): the load of
// the shared machine moves by a factor of several within seconds, and so all
// meet the same load. The walks keep the emptied top folders for their last
// call to remove.
bool ByTurns(CFolderTable& table, const TreeLayout& layout, const std::string& root, int rotation,
             double (&seconds)[kMethods])
{
    std::vector<std::string> parts;
    for (const std::string& folder : layout.folders)
        if (folder.find('\\') == std::string::npos)
            parts.push_back(folder);
    parts.push_back(std::string());
    bool ok = true;
    for (const std::string& part : parts) {
        std::string sub = part.empty() ? "" : "\\" + part;
        for (int turn = 0; turn < kTurnMethods; ++turn) {
            Method m = static_cast<Method>((turn + rotation) % kTurnMethods);
            double s = 0;
            ok &= ByWalk(table, m, root + "\\" + kFolderNames[m] + sub, !part.empty(), s);
            seconds[m] += s;
        }
        ++rotation;
    }
    return ok;
}

struct Result {
    std::vector<double> seconds;
    std::vector<double> byRound; // seconds, or 0 where the method did not run
    int runs = 0;
    int failedRuns = 0; // copies left with entries
    TreeCount worstLeft;
    bool claimedFailure = false;
};

bool PrepareRoot()
{
    DWORD attributes = ::GetFileAttributesA("S:\\");
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "drive S: (the build's scratch folder) is missing: run through tools/bench\n");
        return false;
    }
    return true;
}

// Removes what an earlier, interrupted run left in folder; true when it is gone.
bool ClearLeftovers(CFolderTable& table, const std::string& folder)
{
    if (::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    table.DeleteTree("*.*", folder.c_str());
    ::RemoveDirectoryA(folder.c_str());
    return ::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace

// What DeleteTree pays once per folder, whatever it holds: the judgement
// of the folder by where it really lies (the protected folders, the folders
// really above them and above it opened) and the walk's opening of it from
// the drive down; with the median of DeleteTree over a tree of calls folders,
// its share of that.
void PrintCheckCost(const std::string& root, double calls, double deleteTreeMedian)
{
    std::vector<double> judged;
    for (int i = 0; i < 21; ++i) {
        std::string form;
        double t0 = Now();
        JudgeFolder(root, form);
        HANDLE h = nullptr;
        if (const CNtFiles* nt = CNtFiles::Get())
            nt->OpenFolderNoLinks(root, h, nullptr);
        if (h)
            ::CloseHandle(h);
        judged.push_back(Now() - t0);
    }
    const double perFolder = Median(judged);
    // Of that, where the folder really lies: its volume's root and every
    // folder really above it, opened from its handle.
    std::vector<double> placed;
    if (const CNtFiles* nt = CNtFiles::Get())
        for (int i = 0; i < 21; ++i) {
            HANDLE h = nullptr;
            nt->OpenFolderNoLinks(root, h, nullptr);
            std::vector<FileIdentity> chain;
            double t0 = Now();
            if (h)
                nt->RealChain(h, chain);
            placed.push_back(Now() - t0);
            if (h)
                ::CloseHandle(h);
        }
    std::printf("identity and link checks (once per folder, not per entry): %.2f ms per folder", perFolder * 1000);
    if (deleteTreeMedian > 0)
        std::printf(", %.0f folders per tree: %.1f%% of DeleteTree's median", calls,
                    100.0 * perFolder * calls / deleteTreeMedian);
    std::printf("\n");
    if (!placed.empty())
        std::printf("  of which the folder's real place (its volume and every folder above it): %.2f ms\n",
                    Median(placed) * 1000);
}

int main(int argc, char** argv)
{
    int rounds = 5;
    bool slowEveryRound = false;
    bool checksOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0)
            slowEveryRound = true;
        else if (std::strcmp(argv[i], "--checks") == 0)
            checksOnly = true; // the once-per-folder checks alone, without the walks
        else if (std::atoi(argv[i]) > 0)
            rounds = std::atoi(argv[i]);
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!PrepareRoot())
        return 1;

    CFolderTable table;
    const std::string root = kBenchRoot;
    if (!ClearLeftovers(table, root) || !::CreateDirectoryA(root.c_str(), nullptr)) {
        TreeCount left = CountTree(root);
        std::fprintf(stderr, "cannot prepare %s: %d files and %d folders of an earlier run stay there\n",
                     root.c_str(), left.files, left.folders);
        return 1;
    }

    if (checksOnly) {
        PrintCheckCost(root, 0, 0);
        return 0;
    }
    const TreeLayout layout = MakeTreeLayout(10, 20240521u);
    const int files = static_cast<int>(layout.files.size());
    const int folders = static_cast<int>(layout.folders.size());
    std::printf("delete_bench: %d files in %d folders, %.1f MB per copy, under %s (%s)\n", files, folders,
                layout.bytes / 1048576.0, kBenchRoot,
                CNtFiles::Get() && CNtFiles::Get()->UnderWine() ? "Wine" : "Windows");

    Result results[kMethods];
    std::vector<double> copySeconds;
    const int slowPasses = slowEveryRound ? rounds : 1;
    const int passes = rounds + slowPasses;
    for (int pass = 0; pass < passes; ++pass) {
        // Copies first, then the deletions, so that no deletion competes with
        // the writing of another copy; the order of the methods alternates.
        const bool fast = pass < rounds;
        std::vector<int> order;
        if (fast)
            order = {kDeleteTree, kNoCheck, kCounted, kUncounted, kWin95, kWin95Uncounted, kFloor};
        else
            order = {kShell, kRd};
        if (pass % 2)
            std::reverse(order.begin(), order.end());
        // The copies are made together, entry by entry in turns: a copy made
        // before another was found slower to delete by a tenth or more.
        std::vector<std::string> copies;
        bool cleared = true;
        for (int m : order) {
            copies.push_back(root + "\\" + kFolderNames[m]);
            cleared = cleared && ClearLeftovers(table, copies.back());
        }
        double t0 = Now();
        bool made = cleared && Materialize(layout, copies);
        copySeconds.push_back((Now() - t0) / copies.size());
        for (const std::string& copy : copies) {
            TreeCount madeCount = CountTree(copy);
            if (!made || madeCount.files != files || madeCount.folders != folders) {
                std::fprintf(stderr, "copy %s could not be made (%d files, %d folders)\n", copy.c_str(),
                             madeCount.files, madeCount.folders);
                return 1;
            }
        }
        std::printf(fast ? "round %d:" : "slow %d: ", fast ? pass + 1 : pass - rounds + 1);
        double seconds[kMethods] = {};
        bool claimed[kMethods] = {};
        if (fast) {
            bool ok = ByTurns(table, layout, root, pass, seconds);
            for (int m : order)
                claimed[m] = ok;
        } else {
            for (int m : order)
                claimed[m] = m == kShell ? ByShell(root + "\\" + kFolderNames[m], seconds[m])
                                         : ByRd(root + "\\" + kFolderNames[m], seconds[m]);
        }
        for (int m : order) {
            Result& r = results[m];
            TreeCount left = CountTree(root + "\\" + kFolderNames[m]);
            ++r.runs;
            r.claimedFailure |= !claimed[m];
            if (left.files || left.folders) {
                ++r.failedRuns;
                if (left.files + left.folders > r.worstLeft.files + r.worstLeft.folders)
                    r.worstLeft = left;
            }
            r.seconds.push_back(seconds[m]);
            r.byRound.resize(passes);
            r.byRound[pass] = seconds[m];
            std::printf("  %s %.2f s", kFolderNames[m], seconds[m]);
        }
        if (fast)
            std::printf("  (DeleteTree/floor %.2fx, counting/not: native %.3fx, Win95 %.3fx)",
                        results[kDeleteTree].byRound[pass] / results[kFloor].byRound[pass],
                        results[kCounted].byRound[pass] / results[kUncounted].byRound[pass],
                        results[kWin95].byRound[pass] / results[kWin95Uncounted].byRound[pass]);
        std::printf("\n");
    }

    std::printf("\n%-38s %10s %9s %13s %5s  %s\n", "method", "files/s", "seconds", "range", "runs", "afterwards");
    double rate[kMethods] = {};
    bool valid[kMethods] = {};
    for (int m = 0; m < kMethods; ++m) {
        const Result& r = results[m];
        double seconds = Median(r.seconds);
        rate[m] = files / seconds;
        valid[m] = r.failedRuns == 0;
        char state[128];
        if (valid[m])
            std::snprintf(state, sizeof(state), "empty%s", r.claimedFailure ? " (but reported failure)" : "");
        else
            std::snprintf(state, sizeof(state), "NOT EMPTY in %d of %d runs: up to %d files, %d folders left",
                          r.failedRuns, r.runs, r.worstLeft.files, r.worstLeft.folders);
        double lo = *std::min_element(r.seconds.begin(), r.seconds.end());
        double hi = *std::max_element(r.seconds.begin(), r.seconds.end());
        if (valid[m])
            std::printf("%-38s %10.0f %9.2f %6.2f-%-6.2f %5d  %s\n", kMethodNames[m], rate[m], seconds, lo, hi, r.runs,
                        state);
        else
            std::printf("%-38s %10s %9.2f %6.2f-%-6.2f %5d  %s\n", kMethodNames[m], "-", seconds, lo, hi, r.runs,
                        state);
    }

    struct Ratio {
        const char* label;
        Method over, under;
        double target;
        bool atLeast;
    } ratios[] = {
        {"DeleteTree / shell", kDeleteTree, kShell, 5.0, true},
        {"DeleteTree / rd", kDeleteTree, kRd, 5.0, true},
        {"floor / no check", kFloor, kNoCheck, 1.1, false},
        {"floor / DeleteTree", kFloor, kDeleteTree, 1.3, false},
        // What the removal counts cost each walk, against itself in the same turns.
        {"native: not / counting", kUncounted, kCounted, 1.03, false},
        {"Win95: not / counting", kWin95Uncounted, kWin95, 1.03, false},
    };
    std::printf("\n");
    for (const Ratio& q : ratios) {
        if (!valid[q.over] || !valid[q.under]) {
            std::printf("%-24s   -     (a method left entries)\n", q.label);
            continue;
        }
        // Methods measured in the same rounds are compared round by round:
        // the load of the machine changes less within a round than across.
        std::vector<double> paired;
        for (int i = 0; i < passes; ++i) {
            const std::vector<double>& a = results[q.over].byRound;
            const std::vector<double>& b = results[q.under].byRound;
            if (i < static_cast<int>(a.size()) && i < static_cast<int>(b.size()) && a[i] > 0 && b[i] > 0)
                paired.push_back(b[i] / a[i]);
        }
        bool byRounds = paired.size() >= 3;
        double value = byRounds ? Median(paired) : rate[q.over] / rate[q.under];
        bool met = q.atLeast ? value >= q.target : value <= q.target;
        std::printf("%-24s %6.2fx  (target %s %.2fx: %s; %s)\n", q.label, value,
                    q.atLeast ? ">=" : "<=", q.target, met ? "met" : "missed",
                    byRounds ? "median of the rounds' ratios" : "ratio of the medians");
    }
    std::printf("\ncopy creation (not a result): median %.2f s per copy, %.0f files/s\n", Median(copySeconds),
                files / Median(copySeconds));

    {
        // DeleteTree is called once per top folder and once for the rest.
        double calls = 1;
        for (const std::string& folder : layout.folders)
            calls += folder.find('\\') == std::string::npos ? 1 : 0;
        PrintCheckCost(root, calls, Median(results[kDeleteTree].seconds));
    }

    ClearLeftovers(table, root);
    for (int m = 0; m < kMethods; ++m)
        if (!valid[m])
            return 2;
    return 0;
}
