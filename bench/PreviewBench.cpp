// A preview of 100,040 files against a plain FindFirstFileA/FindNextFileA
// listing of the same tree, side by side in one run: each round takes the
// listing, the preview on the native walk and on the Windows 95 walk, and the
// native walk counting without Wine's name check (as it runs on Windows), in
// turns (the order rotating); the figures are medians over the rounds.
//   preview_bench [rounds (5)]
// The tree is made under S:\previewbench and removed at the end.
#include "bench/BenchTree.h"
#include "engine/DeleteWalk.h"
#include "engine/FolderTable.h"
#include "engine/LogSink.h"
#include "engine/NtFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kRoot[] = "S:\\previewbench";

// The plain listing: every file below folder, with its size.
void List(const std::string& folder, ULONGLONG& files, ULONGLONG& bytes)
{
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (d.cFileName[0] != '.' || (d.cFileName[1] && (d.cFileName[1] != '.' || d.cFileName[2])))
                List(folder + "\\" + d.cFileName, files, bytes);
        } else {
            ++files;
            bytes += (static_cast<ULONGLONG>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
        }
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
}

struct NoLog : CLogSink {
    void AppendText(const std::string&) override {}
};

// The preview as the tray's command makes it: the Custom category alone, over
// the tree.
double Preview(DeleteWalk walk, ULONGLONG& files, ULONGLONG& bytes)
{
    static NoLog sink;
    CFolderTable table;
    for (const CategoryRow& row : kCategories)
        table.SetEnabled(row.id, row.id == Category::Custom);
    table.SetCustomFolders({kRoot});
    table.SetLogPane(&sink);
    table.UseWalk(walk);
    table.MakePreview();
    double t0 = Now();
    table.Run();
    double seconds = Now() - t0;
    files = table.RunTally().files;
    bytes = table.RunTally().bytes;
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (::GetFileAttributesA("S:\\") == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "drive S: (the build's scratch folder) is missing: run through tools/bench\n");
        return 1;
    }
    const TreeLayout layout = MakeTreeLayout(50, 27);
    CFolderTable cleaner;
    if (::GetFileAttributesA(kRoot) != INVALID_FILE_ATTRIBUTES) { // left by an interrupted run
        cleaner.DeleteTree("*.*", kRoot);
        ::RemoveDirectoryA(kRoot);
    }
    std::printf("making %d files in %d folders (%.1f MB) under %s...\n", static_cast<int>(layout.files.size()),
                static_cast<int>(layout.folders.size()), static_cast<double>(layout.bytes) / 1048576, kRoot);
    std::fflush(stdout);
    if (!Materialize(layout, {kRoot})) {
        std::fprintf(stderr, "the tree could not be made\n");
        return 1;
    }

    const char* const names[] = {"FindFirstFileA/FindNextFileA listing", "preview, native walk",
                                 "preview, Windows 95 walk", "native walk counting, no name check"};
    const int methods = CNtFiles::Get() ? 4 : 3;
    std::vector<double> seconds[4];
    bool same = true;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < methods; ++turn) {
            const int m = (turn + round) % methods;
            ULONGLONG files = 0, bytes = 0;
            if (m == 0) {
                double t0 = Now();
                List(kRoot, files, bytes);
                seconds[m].push_back(Now() - t0);
            } else if (m == 3) {
                WalkTally tally;
                WalkOptions options = NativeWalkOptions(*CNtFiles::Get(), nullptr);
                options.checkNames = false;
                options.mode = WalkMode::Count;
                options.tally = &tally;
                double t0 = Now();
                DeleteTreeNative(*CNtFiles::Get(), kRoot, "*.*", options);
                seconds[m].push_back(Now() - t0);
                files = tally.files;
                bytes = tally.bytes;
            } else {
                seconds[m].push_back(Preview(m == 1 ? DeleteWalk::Native : DeleteWalk::Win95, files, bytes));
            }
            same = same && files == layout.files.size() && bytes == layout.bytes;
        }
    }
    const double listing = Median(seconds[0]);
    for (int m = 0; m < methods; ++m) {
        std::printf("%-40s median %.3f s (%.0f files/s), range %.3f to %.3f s", names[m], Median(seconds[m]),
                    static_cast<double>(layout.files.size()) / Median(seconds[m]),
                    *std::min_element(seconds[m].begin(), seconds[m].end()),
                    *std::max_element(seconds[m].begin(), seconds[m].end()));
        if (m)
            std::printf(", %.2fx the listing", Median(seconds[m]) / listing);
        std::printf("\n");
    }
    std::printf("every method counted every file and byte: %s\n", same ? "yes" : "NO");

    cleaner.DeleteTree("*.*", kRoot);
    ::RemoveDirectoryA(kRoot);
    return same ? 0 : 1;
}
