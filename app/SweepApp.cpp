// The application object: prepares COM and the common controls and runs the
// main window as a modal dialog for the program's whole life, or, as the
// command line asks, one clean run or its preview with nothing on screen, or
// the usage.
#include "app/CleanSwitch.h"
#include "app/CommandLine.h"
#include "app/SweepDlg.h"
#include "framework/MessageBox.h"
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
    LaunchRequest m_request;

    void InitInstance() override
    {
        ::CoInitialize(nullptr);
        switch (m_request.mode) {
        case LaunchMode::Window: {
            InitCommonControlsAnyVersion();
            CSweepDlg dlg(nullptr, m_request.tray);
            dlg.DoModal();
            break;
        }
        case LaunchMode::Clean:
        case LaunchMode::Preview:
            m_nExitCode = RunCleanSwitch(m_request.logFile, m_request.mode == LaunchMode::Preview);
            break;
        case LaunchMode::Usage:
            AfxMessageBox(kUsageText, m_request.exitCode ? MB_OK : MB_ICONINFORMATION);
            m_nExitCode = m_request.exitCode;
            break;
        case LaunchMode::Refuse:
            m_nExitCode = m_request.exitCode;
            break;
        }
    }
    int ExitInstance() override
    {
        ::CoUninitialize();
        CWinApp::ExitInstance();
        return m_nExitCode;
    }

private:
    int m_nExitCode = 0;
};

static CSweepApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    theApp.m_request = ParseCommandLine(cmdLine);
    return AfxWinMain();
}
