#include "bench/BenchTree.h"

#include <algorithm>
#include <cstdio>

namespace {

// Small deterministic generator: the same tree on every run and machine.
struct Lcg {
    unsigned state;
    unsigned Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    unsigned Below(unsigned n) { return Next() % n; }
};

// Mostly small files, as in caches, cookies and temp folders, some larger.
DWORD PickSize(Lcg& rng)
{
    unsigned r = rng.Below(100);
    if (r < 50)
        return rng.Below(512);
    if (r < 85)
        return 512 + rng.Below(3584);
    if (r < 97)
        return 4096 + rng.Below(12288);
    return 16384 + rng.Below(49152);
}

std::string FileName(Lcg& rng, int index)
{
    static const char* const kPatterns[] = {
        "cookie%05d.txt",
        "index%04d.dat",
        "~DF%04X.tmp",
        "Long file name with spaces %d.html",
        "img%d.gif",
        "script.min.%d.js",
        "x%d",
        "Mixed Case Name %d.HTM",
        "a%d.b.c.d",
        "very_long_name_%d_abcdefghijklmnopqrstuvwxyz_0123456789.cache",
    };
    char name[MAX_PATH];
    std::snprintf(name, sizeof(name), kPatterns[rng.Below(sizeof(kPatterns) / sizeof(kPatterns[0]))], index);
    return name;
}

void AddFiles(TreeLayout& layout, Lcg& rng, const std::string& folder, int count)
{
    for (int i = 0; i < count; ++i) {
        TreeLayout::File f;
        // The running index keeps names unique within a folder, whatever the pattern.
        f.path = (folder.empty() ? "" : folder + "\\") + FileName(rng, static_cast<int>(layout.files.size()));
        f.size = PickSize(rng);
        f.attributes = rng.Below(50) == 0 ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
        layout.bytes += f.size;
        layout.files.push_back(f);
    }
}

std::string FolderName(const char* stem, int index)
{
    char name[64];
    std::snprintf(name, sizeof(name), "%s%02d", stem, index);
    return name;
}

bool WriteOne(const std::string& path, DWORD size, DWORD attributes)
{
    static char data[65536];
    if (!data[1])
        for (size_t i = 0; i < sizeof(data); ++i)
            data[i] = static_cast<char>('a' + i % 26);
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = size == 0 || (::WriteFile(h, data, size, &written, nullptr) && written == size);
    return ::CloseHandle(h) && ok;
}

void Walk(const std::string& folder, TreeCount* count, std::vector<TreeEntry>* list)
{
    WIN32_FIND_DATAA entry;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Walk(path, count, list);
            if (count)
                ++count->folders;
            if (list)
                list->push_back({path, true});
        } else {
            if (count)
                ++count->files;
            if (list)
                list->push_back({path, false});
        }
    } while (::FindNextFileA(hFind, &entry));
    ::FindClose(hFind);
}

} // namespace

TreeLayout MakeTreeLayout(int topFolders, unsigned seed)
{
    // Per top folder: 20 files and 10 subfolders of 18 files and 5 leaf
    // folders of 36 files each, 2,004 files in 61 folders; 40 more at the top.
    TreeLayout layout;
    Lcg rng{seed};
    AddFiles(layout, rng, "", 40);
    for (int a = 0; a < topFolders; ++a) {
        std::string top = FolderName("Folder ", a);
        layout.folders.push_back(top);
        AddFiles(layout, rng, top, 20);
        for (int b = 0; b < 10; ++b) {
            std::string mid = top + "\\" + FolderName("sub.", b);
            layout.folders.push_back(mid);
            AddFiles(layout, rng, mid, 18);
            for (int c = 0; c < 5; ++c) {
                std::string leaf = mid + "\\" + FolderName("Leaf_", c);
                layout.folders.push_back(leaf);
                AddFiles(layout, rng, leaf, 36);
            }
        }
    }
    return layout;
}

bool Materialize(const TreeLayout& layout, const std::vector<std::string>& roots)
{
    const size_t n = roots.size();
    for (const std::string& root : roots)
        if (!::CreateDirectoryA(root.c_str(), nullptr))
            return false;
    for (size_t i = 0; i < layout.folders.size(); ++i)
        for (size_t k = 0; k < n; ++k)
            if (!::CreateDirectoryA((roots[(i + k) % n] + "\\" + layout.folders[i]).c_str(), nullptr))
                return false;
    for (size_t i = 0; i < layout.files.size(); ++i) {
        const TreeLayout::File& f = layout.files[i];
        for (size_t k = 0; k < n; ++k)
            if (!WriteOne(roots[(i + k) % n] + "\\" + f.path, f.size, f.attributes))
                return false;
    }
    return true;
}

TreeCount CountTree(const std::string& root)
{
    TreeCount count;
    Walk(root, &count, nullptr);
    return count;
}

void ListForDeletion(const std::string& root, std::vector<TreeEntry>& out)
{
    out.clear();
    Walk(root, nullptr, &out);
}

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
