#include "app/HelpPage.h"

#include "controls/ShellOpen.h"
#include "engine/SafePath.h"
#include "framework/MessageBox.h"

#include <objbase.h>

#include <string>

UINT HelpThreadProc(LPVOID)
{
    char dir[MAX_PATH];
    DWORD n = ::GetCurrentDirectoryA(sizeof(dir), dir);
    if (n == 0 || n >= sizeof(dir)) {
        AfxMessageBox("GetCurrentDirectory Failed", MB_OK);
        return 0;
    }
    std::string page(dir, n);
    // A drive root already ends with its backslash (a character of its own,
    // never the second byte of a double-byte one).
    if (AnsiEndsWith(page, '\\'))
        page.pop_back();
    page += "\\help\\help.htm";

    // The shell may hand the request to components that need COM.
    HRESULT hr = ::CoInitialize(nullptr);
    ShellOpen(page.c_str(), SW_SHOW);
    if (SUCCEEDED(hr))
        ::CoUninitialize();
    return 1;
}
