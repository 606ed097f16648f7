#include "engine/FolderTable.h"

#include "engine/LogSink.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"

#include <vector>

namespace {
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A folder is usable when its value is an absolute path of no protected folder.
bool Usable(const std::string& value)
{
    std::string path;
    return JudgeFolder(value, path) == FolderVerdict::Cleanable;
}

bool HasEnvironment(const char* name)
{
    char value[4];
    return ::GetEnvironmentVariableA(name, value, sizeof(value)) > 0;
}

// GetTempPathA takes TMP, else TEMP, and resolves a relative value against the
// current directory: such a value names no temporary folder.
bool TempVariableIsRelative()
{
    for (const char* name : {"TMP", "TEMP"}) {
        char value[MAX_PATH] = "";
        DWORD n = ::GetEnvironmentVariableA(name, value, MAX_PATH);
        if (n == 0)
            continue;
        std::string absolute;
        return n >= MAX_PATH || !AbsoluteFolder(value, absolute);
    }
    return false;
}
} // namespace

CFolderTable::CFolderTable()
{
    // The native walk wherever ntdll has its calls, also on an NT that reports
    // the Windows 95 family to this program.
    m_walk = CNtFiles::Get() ? DeleteWalk::Native : DeleteWalk::Win95;
    ResolveFolders();
}

std::string CFolderTable::QueryFolderValue(HKEY hKey, const char* valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(hKey, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return "Error";
    // One spare byte so that a value stored without its NUL still ends.
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return "Error";
    return std::string(data.data());
}

void CFolderTable::ResolveFolders()
{
    HKEY hKey = nullptr;
    m_bShellFolders =
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ | KEY_WRITE, &hKey) == ERROR_SUCCESS;
    if (!m_bShellFolders)
        return; // the program ends

    for (const CategoryRow& row : kCategories) {
        std::string& folder = m_folder[Index(row.id)];
        BOOL& has = m_has[Index(row.id)];
        switch (row.folder) {
        case FolderSource::ShellFolder:
            folder = QueryFolderValue(hKey, row.shellValue);
            has = Usable(folder) ? TRUE : FALSE;
            break;
        case FolderSource::TempPath:
            has = ResolveTemp(folder) ? TRUE : FALSE;
            break;
        case FolderSource::UserFolders:
        case FolderSource::None:
            has = TRUE;
            break;
        }
    }
    ::RegCloseKey(hKey);
}

bool CFolderTable::ResolveTemp(std::string& folder)
{
    // Without the trailing backslash; unavailable when the system cannot say,
    // when the path does not fit, or when it names a protected folder.
    // Without TMP and TEMP the Windows 95 family answers with the current
    // directory, which is no temporary folder.
    folder.clear();
    if ((IsWin95Family() && !HasEnvironment("TMP") && !HasEnvironment("TEMP")) || TempVariableIsRelative())
        return false;
    char temp[MAX_PATH];
    DWORD n = ::GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        return false;
    std::string shortened(temp, n);
    if (AnsiEndsWith(shortened, '\\') || AnsiEndsWith(shortened, '/'))
        shortened.pop_back();
    if (!Usable(shortened))
        return false;
    folder = shortened;
    return true;
}

void CFolderTable::Append(const char* text)
{
    if (m_pLog)
        m_pLog->AppendText(text);
}
