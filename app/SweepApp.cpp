// The application object: prepares COM and the common controls and runs the
// main window as a modal dialog for the program's whole life.
#include "app/SweepDlg.h"
#include "framework/App.h"

#include <commctrl.h>
#include <objbase.h>

class CSweepApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        ::CoInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS | ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&icc);
        CSweepDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
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
