// Read-only text pane: a subclassed multi-line edit control that only the
// program writes. It keeps a fixed rectangle, hands the focus back, swallows
// typed characters and leaves Enter to the dialog.
#pragma once
#include "engine/LogSink.h"
#include "framework/SubclassWnd.h"

#include <string>

class CLogEdit : public CSubclassWnd, public CLogSink {
public:
    CLogEdit() = default;
    ~CLogEdit() override = default;

    void SetFixedRect(RECT rc) { m_rcFixed = rc; }
    // Takes over the dialog's edit control id, fixes it at rc (in hParent's
    // client coordinates) and shows it.
    void Place(HWND hParent, UINT id, const RECT& rc);

    // Adds text at the end and scrolls to the last line. Safe from any thread:
    // the read-modify-write runs on the pane's own thread, one append at a time.
    void AppendText(const std::string& text) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void AppendOnOwnThread(const char* text);

    RECT m_rcFixed = {0, 0, 0, 0};
};
