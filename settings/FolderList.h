// The user's own folders to clean, in the order added. Owned by the main
// window's thread; the settings sheet edits a copy of its own, and a clean
// run works on a copy taken when it starts.
#pragma once
#include <string>
#include <vector>

class CFolderList {
public:
    const std::vector<std::string>& Snapshot() const { return m_folders; }
    void Append(const std::string& folder) { m_folders.push_back(folder); }
    // Exact, case-sensitive comparison.
    bool Contains(const std::string& folder) const;
    // Removes the first entry equal to folder; false when there is none.
    bool RemoveFirst(const std::string& folder);
    void Clear() { m_folders.clear(); }
    size_t Size() const { return m_folders.size(); }

private:
    std::vector<std::string> m_folders;
};
