#include "tests/controls/OpenFixture.h"

#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

const char HtmClass::kClassName[] = "BrightsweepTestPage";
const char HtmClass::kHtmKey[] = "Software\\Classes\\.htm";
const char HtmClass::kCommandKey[] = "Software\\Classes\\BrightsweepTestPage\\shell\\open\\command";

HtmClass::HtmClass(const std::string& command)
{
    m_hadKey = KeyExists(HKEY_LOCAL_MACHINE, kHtmKey);
    m_hadDefault = m_hadKey && ReadValue(HKEY_LOCAL_MACHINE, kHtmKey, "", &m_type, &m_default);
    SetString(HKEY_LOCAL_MACHINE, kHtmKey, "", kClassName);
    SetString(HKEY_LOCAL_MACHINE, kCommandKey, "", command);
}

HtmClass::~HtmClass()
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + kClassName);
    if (!m_hadKey) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kHtmKey);
    } else if (!m_hadDefault) {
        DeleteValue(HKEY_LOCAL_MACHINE, kHtmKey, "");
    } else {
        HKEY h;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHtmKey, 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
            ::RegSetValueExA(h, "", 0, m_type, reinterpret_cast<const BYTE*>(m_default.data()),
                             static_cast<DWORD>(m_default.size()));
            ::RegCloseKey(h);
        }
    }
}

std::string QuotedRecorderPath()
{
    char self[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self, n);
    dir.erase(dir.find_last_of('\\') + 1);
    return "\"" + dir + "open_recorder.exe\"";
}

OpenRecord::OpenRecord(const std::string& scratch)
{
    m_folder = FreshScratch(scratch);
    m_file = m_folder + "\\record.txt";
    ::SetEnvironmentVariableA("BRIGHTSWEEP_OPEN_RECORD", m_file.c_str());
}

std::string OpenRecord::Wait(DWORD timeoutMs)
{
    // The file may still be held for a moment by the recorder's rename: read
    // until it opens and holds something.
    std::string text;
    auto read = [&] {
        HANDLE h = ::CreateFileA(m_file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        char buf[2048];
        DWORD got = 0;
        text.clear();
        while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
            text.append(buf, got);
        ::CloseHandle(h);
        return !text.empty();
    };
    if (!PumpUntil(read, timeoutMs))
        return "<none>";
    ::DeleteFileA(m_file.c_str());
    return text;
}
