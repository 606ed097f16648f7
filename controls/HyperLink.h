// A static text control that looks and acts like a link: coloured, underlined,
// sized to its caption, with a tooltip naming its target, which it opens
// through the shell when clicked.
#pragma once
#include "framework/SubclassWnd.h"

#include <string>

class CHyperLink : public CSubclassWnd {
public:
    CHyperLink() = default;
    ~CHyperLink() override;

    void SetLinkTarget(const char* target);
    const std::string& GetLinkTarget() const { return m_strTarget; }
    void MarkVisited(BOOL visited);
    BOOL IsVisited() const { return m_bVisited; }
    void SetUnderlined(BOOL underlined);
    // Resizes the control to its caption, keeping its left edge, centre or
    // right edge as its alignment says.
    void FitToText();
    void ShowOpenError(UINT code);

    // The parent hands these over, as it has no reflection of its own:
    // WM_CTLCOLORSTATIC for this control (the result is the brush to return)
    // and WM_COMMAND with STN_CLICKED from it.
    HBRUSH OnCtlColor(HDC hDC);
    void OnClicked();

    HWND GetToolTip() const { return m_hTip; }

    // Shown while the mouse is over the control; the arrow once attached.
    HCURSOR m_hCursor = nullptr;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HFONT LinkFont();
    void Repaint();
    void UpdateTipText();
    void DestroyTip();

    COLORREF m_crUnvisited = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);
    BOOL m_bVisited = FALSE;
    BOOL m_bUnderlined = TRUE;
    BOOL m_bFitToText = TRUE;
    std::string m_strTarget;
    // Underlined copy of the control's font, made at the first paint and kept.
    HFONT m_fontLink = nullptr;
    HWND m_hTip = nullptr;
};
