#include "engine/FolderList.h"

#include <algorithm>

namespace {
class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
    ~Lock() { ::LeaveCriticalSection(&m_cs); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};
} // namespace

CFolderList::CFolderList()
{
    ::InitializeCriticalSection(&m_lock);
}

CFolderList::~CFolderList()
{
    ::DeleteCriticalSection(&m_lock);
}

std::vector<std::string> CFolderList::Snapshot() const
{
    Lock lock(m_lock);
    return m_folders;
}

void CFolderList::Assign(const std::vector<std::string>& folders)
{
    Lock lock(m_lock);
    m_folders = folders;
}

void CFolderList::Append(const std::string& folder)
{
    Lock lock(m_lock);
    m_folders.push_back(folder);
}

bool CFolderList::Contains(const std::string& folder) const
{
    Lock lock(m_lock);
    return std::find(m_folders.begin(), m_folders.end(), folder) != m_folders.end();
}

bool CFolderList::RemoveFirst(const std::string& folder)
{
    Lock lock(m_lock);
    auto it = std::find(m_folders.begin(), m_folders.end(), folder);
    if (it == m_folders.end())
        return false;
    m_folders.erase(it);
    return true;
}

void CFolderList::Clear()
{
    Lock lock(m_lock);
    m_folders.clear();
}

size_t CFolderList::Size() const
{
    Lock lock(m_lock);
    return m_folders.size();
}
