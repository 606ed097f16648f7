#include "app/TaskbarButton.h"

#include <initializer_list>

void ShowOnTaskbar(HWND hWnd, UINT iconId)
{
    ::SetWindowTextA(hWnd, "Brightsweep");
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    // Shared icons: the system frees them with the program.
    for (WPARAM which : {WPARAM(ICON_BIG), WPARAM(ICON_SMALL)}) {
        bool big = which == ICON_BIG;
        HANDLE icon = ::LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                   ::GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON),
                                   ::GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON), LR_SHARED);
        if (icon)
            ::SendMessageA(hWnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

UINT HideToTrayThreadProc(LPVOID mainWnd)
{
    HWND hWnd = static_cast<HWND>(mainWnd);
    ::ShowWindow(hWnd, SW_MINIMIZE);
    ::ShowWindow(hWnd, SW_SHOWMINIMIZED);
    ::ShowWindow(hWnd, SW_HIDE);
    ::UpdateWindow(hWnd);
    // The tray state is the window's: it learns of the change by message.
    ::SendMessageA(hWnd, WM_SWEEP_HIDDEN, 0, 0);
    return 1;
}
