#include "framework/DialogProc.h"

INT_PTR HandledDialogMessage(HWND hWnd, UINT msg, LRESULT result)
{
    bool direct = (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
                  msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON ||
                  msg == WM_INITDIALOG;
    if (direct)
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
