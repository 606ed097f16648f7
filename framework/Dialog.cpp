#include "framework/Dialog.h"

#include "framework/DialogProc.h"

INT_PTR CDialog::DoModal()
{
    INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), m_hWndParent,
                                  DialogProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    m_hWnd = nullptr;
    return r;
}

BOOL CDialog::OnCommand(WPARAM wp, LPARAM)
{
    if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* creating = msg == WM_INITDIALOG ? reinterpret_cast<CWnd*>(lp) : nullptr;
    return DispatchToBound<CDialog>(hWnd, msg, wp, lp, creating);
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    bool handled = OnMessage(msg, wp, lp, &result);
    if (!handled) {
        switch (msg) {
        case WM_INITDIALOG: {
            if (OnCreate() != 0) {
                EndDialog(-1);
                return FALSE;
            }
            RECT before;
            ::GetWindowRect(m_hWnd, &before);
            result = OnInitDialog();
            handled = true;
            RECT after;
            ::GetWindowRect(m_hWnd, &after);
            if (!m_bPlaced && !::IsWindowVisible(m_hWnd) && ::EqualRect(&before, &after))
                CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
            break;
        }
        case WM_COMMAND:
            handled = OnCommand(wp, lp) != FALSE;
            break;
        default:
            break;
        }
    }
    return handled ? HandledDialogMessage(m_hWnd, msg, result) : FALSE;
}

void CenterWindowOver(HWND hWnd, HWND hOver, SystemParametersQuery query)
{
    RECT area;
    if (hOver && ::IsWindowVisible(hOver) && !::IsIconic(hOver))
        ::GetWindowRect(hOver, &area);
    else
        area = WorkArea(query);
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    int w = rc.right - rc.left;
    int h = rc.bottom - rc.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
