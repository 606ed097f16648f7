// The user's own folders to clean, in the order added. Edited by the settings
// thread while a clean run may read it, so every access takes the list's lock;
// a run works on a copy taken when it reaches the folders.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CFolderList {
public:
    CFolderList();
    ~CFolderList();
    CFolderList(const CFolderList&) = delete;
    CFolderList& operator=(const CFolderList&) = delete;

    std::vector<std::string> Snapshot() const;
    void Assign(const std::vector<std::string>& folders);
    void Append(const std::string& folder);
    // Exact, case-sensitive comparison.
    bool Contains(const std::string& folder) const;
    // Removes the first entry equal to folder; false when there is none.
    bool RemoveFirst(const std::string& folder);
    void Clear();
    size_t Size() const;

private:
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::string> m_folders;
};
