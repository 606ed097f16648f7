// What dialogs and property pages share in their dialog procedures.
#pragma once
#include "framework/Wnd.h"

// A dialog procedure's body: the message to the Dispatch of the object bound
// to hWnd from creating (BoundWindowObject with DWLP_USER), FALSE before the
// binding and for whatever escapes.
template <class T> INT_PTR DispatchToBound(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp, CWnd* creating)
{
    auto* self = static_cast<T*>(BoundWindowObject(hWnd, msg, DWLP_USER, creating));
    if (!self)
        return FALSE;
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (...) {
        return FALSE;
    }
}

// What a dialog procedure returns for a message it handled with this result:
// colour queries and a few others return it directly, the rest through
// DWLP_MSGRESULT.
INT_PTR HandledDialogMessage(HWND hWnd, UINT msg, LRESULT result);
