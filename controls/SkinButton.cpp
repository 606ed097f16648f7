#include "controls/SkinButton.h"

#include "controls/ButtonOutline.h"
#include "controls/FocusMark.h"
#include "controls/Messages.h"

#include <windowsx.h>

bool CSkinButton::CreateButton(const char* caption, const RECT& rect, UINT shapeId, UINT overlayId, UINT normalId,
                               UINT hoverId, UINT pressedId, CWnd* pParent)
{
    HWND hParent = pParent ? pParent->GetSafeHwnd() : nullptr;
    // No class cursor: the pointer keeps the shape it had when it came in.
    if (!CreateEx(0, AfxRegisterWndClass(0, nullptr, nullptr, nullptr), caption, WS_CHILD | WS_TABSTOP, rect,
                  hParent, 0))
        return false;
    HDC hdc = ::GetWindowDC(m_hWnd);
    ShapeFromBitmap(hdc, shapeId);
    ::ReleaseDC(m_hWnd, hdc);
    SIZE size = WindowSize();
    HRGN outline = ::CreateRectRgn(0, 0, 0, 0);
    bool shaped = outline && ::GetWindowRgn(m_hWnd, outline) != ERROR;
    m_rcFocus = FocusMarkRect(size.cx, size.cy,
                              [&](int x, int y) { return !shaped || ::PtInRegion(outline, x, y) != FALSE; });
    if (outline)
        ::DeleteObject(outline);
    m_hWndOwner = hParent;
    m_pNotifyParent = pParent;
    m_nOverlayBitmap = static_cast<WORD>(overlayId);
    m_nNormalBitmap = static_cast<WORD>(normalId);
    m_nHoverBitmap = static_cast<WORD>(hoverId);
    m_nPressedBitmap = static_cast<WORD>(pressedId);
    return true;
}

SIZE CSkinButton::WindowSize() const
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

bool CSkinButton::ShapeFromBitmap(HDC hdc, UINT shapeId)
{
    SIZE size = WindowSize();
    // A section keeps the bitmap's own colours, so that only exact black is cut
    // whatever the display's depth.
    auto hShape = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(shapeId),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HRGN hRgn = ButtonOutline(hdc, hShape, size.cx, size.cy);
    if (hShape)
        ::DeleteObject(hShape);
    if (!hRgn)
        return false;
    // From here on the window owns the region.
    if (!::SetWindowRgn(m_hWnd, hRgn, TRUE)) {
        ::DeleteObject(hRgn);
        return false;
    }
    return true;
}

void CSkinButton::Paint(HDC hdc)
{
    SIZE size = WindowSize();
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    UINT faceId = SkinFace(m_state, m_nNormalBitmap, m_nHoverBitmap, m_nPressedBitmap);
    HBITMAP hFace = ::LoadBitmapA(instance, MAKEINTRESOURCEA(faceId));
    HBITMAP hOverlay = ::LoadBitmapA(instance, MAKEINTRESOURCEA(m_nOverlayBitmap));
    HDC dcFace = ::CreateCompatibleDC(hdc);
    HDC dcOverlay = ::CreateCompatibleDC(hdc);
    if (hFace && dcFace) {
        HGDIOBJ oldFace = ::SelectObject(dcFace, hFace);
        if (hOverlay && dcOverlay) {
            HGDIOBJ oldOverlay = ::SelectObject(dcOverlay, hOverlay);
            ::BitBlt(dcFace, 0, 0, size.cx, size.cy, dcOverlay, 0, 0, SRCPAINT);
            ::SelectObject(dcOverlay, oldOverlay);
        }
        ::BitBlt(hdc, 0, 0, size.cx, size.cy, dcFace, 0, 0, SRCCOPY);
        ::SelectObject(dcFace, oldFace);
        if (::GetFocus() == m_hWnd && !::IsRectEmpty(&m_rcFocus)) {
            // The dots invert the face where the pattern is white.
            COLORREF text = ::SetTextColor(hdc, RGB(0, 0, 0));
            COLORREF back = ::SetBkColor(hdc, RGB(255, 255, 255));
            ::DrawFocusRect(hdc, &m_rcFocus);
            ::SetTextColor(hdc, text);
            ::SetBkColor(hdc, back);
        }
    }
    if (dcOverlay)
        ::DeleteDC(dcOverlay);
    if (dcFace)
        ::DeleteDC(dcFace);
    if (hOverlay)
        ::DeleteObject(hOverlay);
    if (hFace)
        ::DeleteObject(hFace);
}

namespace {
// How often a lit face looks whether the cursor is still over the button.
const UINT_PTR kLeaveTimer = 1;
const UINT kLeaveCheckMs = 50;

// The program is the active application when the foreground window is one of
// its own, on whichever of its threads.
bool ProgramActive()
{
    DWORD pid = 0;
    HWND foreground = ::GetForegroundWindow();
    return foreground && ::GetWindowThreadProcessId(foreground, &pid) && pid == ::GetCurrentProcessId();
}
} // namespace

bool CSkinButton::CursorOver() const
{
    POINT pt;
    return ::GetCursorPos(&pt) && ::WindowFromPoint(pt) == m_hWnd;
}

void CSkinButton::Apply(const SkinButtonAction& action, LPARAM point)
{
    if (action.takeCapture)
        ::SetCapture(m_hWnd);
    if (action.releaseCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (action.postClick) {
        // Without a parent the message goes to this thread's queue.
        HWND hParent = m_pNotifyParent ? m_pNotifyParent->GetSafeHwnd() : nullptr;
        ::PostMessageA(hParent, WM_SKINBUTTON_CLICKED, reinterpret_cast<WPARAM>(this), point);
    }
    if (action.repaint)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    // The timer runs exactly while the face is lit.
    bool lit = m_state.hover != 0;
    if (lit != m_bLeaveTimer) {
        if (lit)
            ::SetTimer(m_hWnd, kLeaveTimer, kLeaveCheckMs, nullptr);
        else
            ::KillTimer(m_hWnd, kLeaveTimer);
        m_bLeaveTimer = lit;
    }
}

void CSkinButton::OnMouseMove(WPARAM keys, LPARAM point)
{
    SkinMouseMove in;
    in.leftDown = (keys & MK_LBUTTON) != 0;
    in.captured = ::GetCapture() == m_hWnd;
    in.programActive = ProgramActive();
    in.hasOwner = (m_hWndOwner ? m_hWndOwner : ::GetParent(m_hWnd)) != nullptr;
    // Signed: with the capture, points left of or above the button are negative.
    POINT pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ::ClientToScreen(m_hWnd, &pt);
    in.overButton = ::WindowFromPoint(pt) == m_hWnd;
    Apply(SkinMouseMoved(m_state, in), point);
}

LRESULT CSkinButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wp));
        return TRUE;
    case WM_LBUTTONDOWN:
        Apply(SkinLButtonDown(m_state), lp);
        return Default(msg, wp, lp);
    case WM_MOUSEMOVE: {
        LRESULT result = Default(msg, wp, lp);
        OnMouseMove(wp, lp);
        return result;
    }
    case WM_TIMER:
        if (wp != kLeaveTimer)
            return Default(msg, wp, lp);
        Apply(SkinCursorChecked(m_state, CursorOver()), 0);
        return 0;
    case WM_CAPTURECHANGED:
        // The capture has already moved; sent also for the button's own release.
        if (reinterpret_cast<HWND>(lp) != m_hWnd)
            Apply(SkinCaptureChanged(m_state), lp);
        return Default(msg, wp, lp);
    case WM_SETFOCUS:
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return Default(msg, wp, lp);
    case WM_KILLFOCUS: {
        LRESULT result = Default(msg, wp, lp);
        m_bSpaceDown = false;
        ::InvalidateRect(m_hWnd, nullptr, TRUE); // the focus mark goes
        Apply(SkinFocusLost(m_state), lp);
        return result;
    }
    case WM_GETDLGCODE:
        // A button for the dialog manager; Enter and Escape stay the dialog's.
        return DLGC_BUTTON;
    case WM_KEYDOWN:
        if (wp == VK_SPACE)
            m_bSpaceDown = true;
        return Default(msg, wp, lp);
    case WM_KEYUP:
        // The space bar clicks, as on a system button: a press and release
        // while the button keeps the focus.
        if (wp == VK_SPACE && m_bSpaceDown) {
            m_bSpaceDown = false;
            HWND hParent = m_pNotifyParent ? m_pNotifyParent->GetSafeHwnd() : nullptr;
            ::PostMessageA(hParent, WM_SKINBUTTON_CLICKED, reinterpret_cast<WPARAM>(this), 0);
        }
        return Default(msg, wp, lp);
    case WM_LBUTTONUP:
        Apply(SkinLButtonUp(m_state), lp);
        return Default(msg, wp, lp);
    case WM_SKINBUTTON_CLICKED:
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}
