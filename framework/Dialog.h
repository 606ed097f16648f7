// A modal dialog from a template resource. Messages go to one virtual
// OnMessage before the few named handlers; the object is bound to the window
// at its first message.
#pragma once
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND hParent = nullptr) : m_nIDTemplate(templateId), m_hWndParent(hParent) {}
    ~CDialog() override = default;

    // Runs the dialog; returns what EndDialog was given, or -1 when the window
    // could not be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

protected:
    // Once the window exists, before the controls are initialised: 0 lets the
    // dialog go on, -1 ends it at once and DoModal returns -1. (A dialog
    // procedure never sees WM_CREATE.)
    virtual int OnCreate() { return 0; }
    // After the controls exist. Returns TRUE to let the system set the focus.
    // The dialog is then centred over its owner (or the work area) unless it
    // was moved or shown meanwhile, or m_bPlaced was set.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND: IDOK and IDCANCEL end the dialog with that result.
    virtual BOOL OnCommand(WPARAM wp, LPARAM lp);
    // Every message, before the handlers above. Return true when handled,
    // with the message's result in *result.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    // Set by OnInitDialog when it put the window where it belongs, also where
    // it already was.
    bool m_bPlaced = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    template <class T> friend INT_PTR DispatchToBound(HWND, UINT, WPARAM, LPARAM, CWnd*);
};

// Centres hWnd over the window rectangle of hOver, or over the primary work
// area (WorkArea, asked through query) when hOver is null, hidden or minimised.
void CenterWindowOver(HWND hWnd, HWND hOver, SystemParametersQuery query = ::SystemParametersInfoA);
