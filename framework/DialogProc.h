// What dialogs and property pages share in their dialog procedures.
#pragma once
#include "framework/Wnd.h"

// The object kept in a dialog window's DWLP_USER: bound to `binding` when the
// window has none yet, let go at WM_NCDESTROY (null is returned then, and
// for windows with no object).
template <class T> T* BoundDialogObject(HWND hWnd, UINT msg, T* binding)
{
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self && binding) {
        self = binding;
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (self && msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        return nullptr;
    }
    return self;
}

// What a dialog procedure returns for a message it handled with this result:
// colour queries and a few others return it directly, the rest through
// DWLP_MSGRESULT.
INT_PTR HandledDialogMessage(HWND hWnd, UINT msg, LRESULT result);
