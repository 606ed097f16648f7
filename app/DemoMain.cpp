// Interim front end: a window with the log pane and a Start button that runs a
// clean run over the folders of the current user. Replaced by the skinned main
// window.
#include "controls/LogEdit.h"
#include "engine/FolderList.h"
#include "engine/FolderTable.h"
#include "framework/MessageBox.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

const int kLogId = 1006;
const int kStartId = 1;

struct DemoWindow {
    CLogEdit log;
    CFolderList folders;
    CFolderTable* table = nullptr;
};

LRESULT CALLBACK DemoProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* demo = reinterpret_cast<DemoWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        break;
    case WM_CREATE: {
        HWND hLog = ::CreateWindowExA(WS_EX_STATICEDGE, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                                      10, 50, 300, 200, hWnd, reinterpret_cast<HMENU>(kLogId), nullptr, nullptr);
        ::CreateWindowExA(0, "BUTTON", "Start", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 28, hWnd,
                          reinterpret_cast<HMENU>(kStartId), nullptr, nullptr);
        demo->log.SubclassWindow(hLog);
        demo->log.SetFixedRect(RECT{10, 50, 310, 250});
        demo->table = new CFolderTable;
        demo->table->SetCustomFolders(&demo->folders);
        demo->table->m_bCleanTemp = demo->table->m_bCleanCache = demo->table->m_bCleanCookies = TRUE;
        demo->table->m_bCleanHistory = demo->table->m_bCleanTypedUrls = demo->table->m_bCleanRecent = TRUE;
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == kStartId) {
            demo->table->SetLogPane(&demo->log);
            StartCleanRun(demo->table, &demo->log);
        }
        return 0;
    case WM_CLOSE:
        StopCleanRunAndWait(demo->table);
        delete demo->table;
        demo->table = nullptr;
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShow)
{
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BrightsweepDemo";
    ::RegisterClassA(&wc);

    DemoWindow demo;
    HWND hWnd = ::CreateWindowExA(0, wc.lpszClassName, "Brightsweep", WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 330, 300, nullptr, nullptr, hInstance, &demo);
    AfxSetMainWnd(hWnd);
    ::ShowWindow(hWnd, nShow);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::CoUninitialize();
    return 0;
}
