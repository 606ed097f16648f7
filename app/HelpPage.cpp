#include "app/HelpPage.h"

#include "controls/ShellOpen.h"
#include "engine/SafePath.h"
#include "framework/MessageBox.h"

#include <objbase.h>
#include <shellapi.h>

namespace {
bool FileExists(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

std::string HelpPageBelow(const std::string& dir)
{
    std::string page = dir;
    if (AnsiEndsWith(page, '\\'))
        page.pop_back();
    return page + "\\help\\help.htm";
}

std::vector<std::string> HelpPageCandidates()
{
    std::vector<std::string> pages;
    char dir[MAX_PATH];
    DWORD n = ::GetCurrentDirectoryA(sizeof(dir), dir);
    if (n != 0 && n < sizeof(dir))
        pages.push_back(HelpPageBelow(std::string(dir, n)));
    char program[MAX_PATH];
    n = ::GetModuleFileNameA(nullptr, program, sizeof(program));
    if (n != 0 && n < sizeof(program)) {
        std::string beside = HelpPageBelow(ParentOf(std::string(program, n)));
        if (pages.empty() || ::lstrcmpiA(pages[0].c_str(), beside.c_str()) != 0)
            pages.push_back(beside);
    }
    return pages;
}

UINT OpenHelpPage(const std::vector<std::string>& candidates)
{
    UINT r = SE_ERR_FNF;
    std::string tried;
    for (const std::string& page : candidates) {
        tried += "\n" + page;
        if (!FileExists(page))
            continue;
        // The shell may hand the request to components that need COM.
        HRESULT hr = ::CoInitialize(nullptr);
        r = ShellOpen(page.c_str(), SW_SHOW);
        if (SUCCEEDED(hr))
            ::CoUninitialize();
        tried = "\n" + page;
        break;
    }
    if (r > 32)
        return r;
    ::MessageBeep(MB_ICONEXCLAMATION);
    std::string text = OpenErrorText(r) + "\n" + tried;
    AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    return r;
}

UINT HelpThreadProc(LPVOID)
{
    return OpenHelpPage(HelpPageCandidates()) > 32 ? 1 : 0;
}
