// The main window's skin: the bitmap that cuts the window to its outline and
// paints its background, kept in a memory drawing context from the window's
// creation to its destruction; the whole skin drags the window, and the panes
// on it take its colours.
#pragma once
#include <windows.h>

class CSkin {
public:
    CSkin() = default;
    ~CSkin();
    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

    // Loads bitmap id and cuts hWnd to its non-black pixels; without a region
    // the window stays rectangular.
    void Apply(HWND hWnd, UINT id);
    // An edit control of the window drawn in the panes' colours.
    void AddPane(HWND hPane);
    // The skinned window's painting, dragging and pane colours; false for a
    // message that is none of them.
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    void Release();

private:
    HWND m_hWnd = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HDC m_hDC = nullptr;
    BITMAP m_bm = {};
    HWND m_panes[2] = {};
    HBRUSH m_brushPane = nullptr;
};
