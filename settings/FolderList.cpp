#include "settings/FolderList.h"

#include <algorithm>

bool CFolderList::Contains(const std::string& folder) const
{
    return std::find(m_folders.begin(), m_folders.end(), folder) != m_folders.end();
}

bool CFolderList::RemoveFirst(const std::string& folder)
{
    auto it = std::find(m_folders.begin(), m_folders.end(), folder);
    if (it == m_folders.end())
        return false;
    m_folders.erase(it);
    return true;
}
