// A page of a property sheet from a dialog template. The object is bound to its
// window at WM_INITDIALOG through PROPSHEETPAGE.lParam; the sheet's
// notifications become virtual calls.
#pragma once
#include "framework/Wnd.h"

#include <commctrl.h>
#include <vector>

class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(UINT templateId) : m_nIDTemplate(templateId) {}
    ~CPropertyPage() override = default;

    // The page block for the sheet: the first (V1) layout, no help, the
    // template's caption on the tab.
    void BuildPage(PROPSHEETPAGEA* page);

    // True once the sheet closed with OK while this page's window existed.
    bool WasApplied() const { return m_bApplied; }
    void ResetApplied() { m_bApplied = false; }

protected:
    // After the controls exist. Returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual BOOL OnCommand(WPARAM, LPARAM) { return FALSE; }
    // WM_DESTROY, while the controls still exist.
    virtual void OnDestroy() {}
    // The data exchange from the controls, run when the user leaves the page or
    // presses OK: false refuses, and the page (and the sheet) stay open.
    virtual bool ReadControls() { return true; }
    // Every message, before the handlers above. Return true when handled,
    // with the message's result in *result.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

    // A refused field: the message box (OK button, exclamation icon), then the
    // focus on the control with its whole text selected.
    void FailField(UINT id, const char* text);

    UINT m_nIDTemplate;

private:
    static INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    template <class T> friend INT_PTR DispatchToBound(HWND, UINT, WPARAM, LPARAM, CWnd*);
    bool OnNotify(const NMHDR* hdr, LRESULT* result);

    bool m_bApplied = false;
    std::vector<BYTE> m_template;
};
