// The application object: prepares COM and the common controls and runs the
// main window as a modal dialog for the program's whole life.
#include "app/SweepDlg.h"
#include "framework/App.h"
#include "framework/ProcAddress.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

// InitCommonControlsEx came with comctl32 4.70; the older one of the first
// Windows 95 and NT 4.0 knows only InitCommonControls, which registers every
// class the program uses.
void InitCommonControlsAnyVersion()
{
    auto initEx = DECLARED_PROC(::GetModuleHandleA("comctl32.dll"), InitCommonControlsEx);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS | ICC_TAB_CLASSES};
    if (!initEx || !initEx(&icc))
        ::InitCommonControls();
}

} // namespace

class CSweepApp : public CWinApp {
public:
    void InitInstance() override
    {
        ::CoInitialize(nullptr);
        InitCommonControlsAnyVersion();
        CSweepDlg dlg;
        dlg.DoModal();
    }
    int ExitInstance() override
    {
        ::CoUninitialize();
        return CWinApp::ExitInstance();
    }
};

static CSweepApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return AfxWinMain();
}
