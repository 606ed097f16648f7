// What dialogs and property pages share in their dialog procedures.
#pragma once
#include "framework/Wnd.h"

// What a dialog procedure returns for a message it handled with this result:
// colour queries and a few others return it directly, the rest through
// DWLP_MSGRESULT.
INT_PTR HandledDialogMessage(HWND hWnd, UINT msg, LRESULT result);
