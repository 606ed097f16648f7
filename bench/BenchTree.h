// A generated folder tree for deletion benchmarks: its description, and the
// copies made from it on disk.
#pragma once
#include <string>
#include <vector>
#include <windows.h>

struct TreeLayout {
    struct File {
        std::string path; // relative to the copy's root
        DWORD size;
        DWORD attributes;
    };
    std::vector<std::string> folders; // relative, each after its parent
    std::vector<File> files;
    unsigned long long bytes = 0;
};

// Nested folders a few levels deep with files of mixed names and sizes; the
// same description for the same arguments.
TreeLayout MakeTreeLayout(int topFolders, unsigned seed);

// Creates each root and the tree below it, entry by entry in turns (the order
// rotating), so that no copy is older on disk than another; false when
// anything could not be made.
bool Materialize(const TreeLayout& layout, const std::vector<std::string>& roots);

struct TreeCount {
    int files = 0;
    int folders = 0;
};

// What lies below root (root itself not counted); zero when root is missing.
TreeCount CountTree(const std::string& root);

// Every entry below root, files before the folder that holds them, deepest
// folders first: the order in which they can be deleted one by one.
struct TreeEntry {
    std::string path;
    bool isFolder;
};
void ListForDeletion(const std::string& root, std::vector<TreeEntry>& out);

// Seconds from the performance counter.
double Now();
// The median of v (empty: undefined).
double Median(std::vector<double> v);
