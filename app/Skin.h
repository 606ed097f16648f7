// The main window's skin: the bitmap that cuts the window to its outline and
// paints its background, kept in a memory drawing context from the window's
// creation to its destruction.
#pragma once
#include <windows.h>

class CSkin {
public:
    CSkin() = default;
    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

    // Loads bitmap id and cuts hWnd to its non-black pixels; without a region
    // the window stays rectangular.
    void Apply(HWND hWnd, UINT id);
    // The whole skin at the origin of hdc.
    void Paint(HDC hdc) const;
    void Release();

private:
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HDC m_hDC = nullptr;
    BITMAP m_bm = {};
};
