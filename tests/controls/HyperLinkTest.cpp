#include "controls/HyperLink.h"
#include "tests/controls/OpenFixture.h"
#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

const UINT kLinkId = 1059;
const COLORREF kUnvisited = RGB(0, 0, 238);
const COLORREF kVisited = RGB(85, 26, 139);

// A parent that hands the link its colour query and its clicks, as the
// program's dialogs do.
LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    auto* link = reinterpret_cast<CHyperLink*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
    if (link && link->m_hWnd) {
        if (m == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(l) == link->m_hWnd)
            return reinterpret_cast<LRESULT>(link->OnCtlColor(reinterpret_cast<HDC>(w)));
        if (m == WM_COMMAND && LOWORD(w) == kLinkId && HIWORD(w) == STN_CLICKED) {
            link->OnClicked();
            return 0;
        }
    }
    return ::DefWindowProcA(h, m, w, l);
}

struct LinkHost {
    explicit LinkHost(const char* caption, DWORD style = SS_LEFT, RECT rc = RECT{40, 60, 240, 100})
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "BrightsweepLinkHost";
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassA(&wc);
        hWnd = ::CreateWindowExA(0, wc.lpszClassName, "links", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 300,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&link));
        hStatic = ::CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top,
                                    rc.right - rc.left, rc.bottom - rc.top, hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId)), wc.hInstance,
                                    nullptr);
    }
    ~LinkHost()
    {
        ::DestroyWindow(hWnd);
        if (font)
            ::DeleteObject(font);
    }
    void UseFont(int height)
    {
        font = ::CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        ::SendMessageA(hStatic, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    // The control's rectangle in the parent's client coordinates.
    RECT Rect() const
    {
        RECT rc;
        ::GetWindowRect(hStatic, &rc);
        ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    SIZE TextExtent() const
    {
        HDC dc = ::GetDC(hWnd);
        HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
        std::string text = WindowText(hStatic);
        SIZE ext = {0, 0};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &ext);
        ::SelectObject(dc, old);
        ::ReleaseDC(hWnd, dc);
        return ext;
    }

    HWND hWnd = nullptr;
    HWND hStatic = nullptr;
    HFONT font = nullptr;
    CHyperLink link;
};

// What the control paints, on white, as the system draws it for a print
// request: the control asks its parent for colours as when it paints.
struct Painted {
    explicit Painted(HWND hStatic)
    {
        RECT rc;
        ::GetClientRect(hStatic, &rc);
        w = rc.right;
        h = rc.bottom;
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bmp = ::CreateCompatibleBitmap(screen, w, h);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bmp);
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SendMessageA(hStatic, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    ~Painted()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bmp);
        ::DeleteDC(dc);
    }
    int Count(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += ::GetPixel(dc, x, y) == c;
        return n;
    }
    // Longest run of colour c along any one row: an underline spans the text.
    int LongestRow(COLORREF c) const
    {
        int best = 0;
        for (int y = 0; y < h; ++y) {
            int run = 0;
            for (int x = 0; x < w; ++x) {
                run = ::GetPixel(dc, x, y) == c ? run + 1 : 0;
                best = run > best ? run : best;
            }
        }
        return best;
    }
    int w = 0, h = 0;
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
};

TEST(HyperLink, AttachingSetsUpTargetCaptionNotifyCursorAndTooltip)
{
    std::string tip(256, '\0');
    auto tipText = [&](HWND hTip, HWND hTool) {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.hwnd = hTool;
        ti.uId = 1;
        ti.lpszText = &tip[0];
        ::SendMessageA(hTip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
        return std::string(tip.c_str());
    };

    {
        // The caption becomes the target.
        LinkHost host("http://www.brightsweep.example/");
        ASSERT_TRUE(host.link.SubclassWindow(host.hStatic));
        EXPECT_EQ(host.link.GetLinkTarget(), "http://www.brightsweep.example/");
        EXPECT_TRUE(::GetWindowLongA(host.hStatic, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(host.link.m_hCursor, ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        HWND hTip = host.link.GetToolTip();
        ASSERT_TRUE(::IsWindow(hTip));
        EXPECT_EQ(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 1);
        EXPECT_EQ(tipText(hTip, host.hStatic), "http://www.brightsweep.example/");

        // A new target changes the tip, not the caption.
        host.link.SetLinkTarget("S:\\other.htm");
        EXPECT_EQ(tipText(hTip, host.hStatic), "S:\\other.htm");
        EXPECT_EQ(WindowText(host.hStatic), "http://www.brightsweep.example/");

        // The owner's cursor is shown over the link.
        HCURSOR hand = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
        ASSERT_NE(hand, nullptr);
        host.link.m_hCursor = hand;
        EXPECT_EQ(::SendMessageA(host.hStatic, WM_SETCURSOR, reinterpret_cast<WPARAM>(host.hStatic),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(::GetCursor(), hand);

        // With the mouse resting over the link, the tip appears.
        ::SetForegroundWindow(host.hWnd);
        RECT rc;
        ::GetWindowRect(host.hStatic, &rc);
        ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(hTip) != FALSE; }, 5000));

        // The tooltip goes with the control.
        ::DestroyWindow(host.hStatic);
        EXPECT_FALSE(::IsWindow(hTip));
    }
    {
        // A target set before attaching fills an empty caption.
        LinkHost host("");
        host.link.SetLinkTarget("S:\\page.htm");
        ASSERT_TRUE(host.link.SubclassWindow(host.hStatic));
        EXPECT_EQ(WindowText(host.hStatic), "S:\\page.htm");
        EXPECT_EQ(host.link.GetLinkTarget(), "S:\\page.htm");
    }
}

TEST(HyperLink, FitsToItsCaptionKeepingTheEdgeOrCentreOfItsAlignment)
{
    // A font far larger than the system font: the control must fit what it
    // draws with, or the caption would be clipped. fontHeight 0: no font set.
    const RECT start = {40, 60, 440, 200};
    const struct {
        DWORD style;
        int fontHeight;
    } cases[] = {{SS_LEFT, 40}, {SS_CENTER, 40}, {SS_RIGHT | SS_CENTERIMAGE, 40}, {SS_LEFT, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " font " << c.fontHeight);
        LinkHost host("Brightsweep home page", c.style, start);
        if (c.fontHeight)
            host.UseFont(c.fontHeight);
        SIZE text = host.TextExtent();
        ASSERT_TRUE(host.link.SubclassWindow(host.hStatic));
        RECT rc = host.Rect();
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        if ((c.style & SS_TYPEMASK) == SS_CENTER) {
            EXPECT_EQ(rc.left + rc.right, start.left + start.right);
            EXPECT_TRUE(w == text.cx || w == text.cx + 1) << w;
        } else if ((c.style & SS_TYPEMASK) == SS_RIGHT) {
            EXPECT_EQ(rc.right, start.right);
            EXPECT_EQ(w, text.cx);
        } else {
            EXPECT_EQ(rc.left, start.left);
            EXPECT_EQ(w, text.cx);
        }
        if (c.style & SS_CENTERIMAGE) {
            EXPECT_EQ(rc.top + rc.bottom, start.top + start.bottom);
            EXPECT_TRUE(h == text.cy || h == text.cy + 1) << h;
        } else {
            EXPECT_EQ(rc.top, start.top);
            EXPECT_EQ(h, text.cy);
        }
    }
}

TEST(HyperLink, PaintsUnderlinedInTheLinkColourOnlyWhileUnderlined)
{
    LinkHost host("Underlined link");
    host.UseFont(20);
    ASSERT_TRUE(host.link.SubclassWindow(host.hStatic));
    int textWidth = host.TextExtent().cx;
    {
        Painted p(host.hStatic);
        EXPECT_GT(p.Count(kUnvisited), 0);
        EXPECT_EQ(p.Count(kVisited), 0);
        EXPECT_GE(p.LongestRow(kUnvisited), textWidth * 9 / 10);
    }
    host.link.SetUnderlined(FALSE);
    {
        Painted p(host.hStatic);
        EXPECT_GT(p.Count(kUnvisited), 0);
        EXPECT_LT(p.LongestRow(kUnvisited), textWidth / 2);
    }
}

// Ends the message box this process shows next and keeps its text.
std::string g_boxText;
void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindMessageBox(::GetCurrentProcessId());
    if (!box)
        return;
    ::KillTimer(nullptr, id);
    g_boxText = MessageBoxText(box);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void Click(HWND hStatic)
{
    ::SendMessageA(hStatic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(hStatic, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

TEST(HyperLink, ASuccessfulClickMarksVisitedAndAFailedOneShowsTheErrorAndClearsIt)
{
    OpenRecord record("hyperlink");
    HtmClass htm(QuotedRecorderPath() + " \"%1\"");
    std::string page = record.Folder() + "\\page.htm";
    WriteFile(page, "<html></html>");

    LinkHost host("home page");
    host.UseFont(20);
    host.link.SetLinkTarget(page.c_str());
    ASSERT_TRUE(host.link.SubclassWindow(host.hStatic));
    EXPECT_FALSE(host.link.IsVisited());

    Click(host.hStatic);
    EXPECT_NE(record.Wait().find(page), std::string::npos);
    EXPECT_TRUE(host.link.IsVisited());
    {
        Painted p(host.hStatic);
        EXPECT_GT(p.Count(kVisited), 0);
        EXPECT_EQ(p.Count(kUnvisited), 0);
    }

    // No association and no file: the shell's failure is shown.
    DeleteValue(HKEY_LOCAL_MACHINE, HtmClass::kHtmKey, "");
    host.link.SetLinkTarget((record.Folder() + "\\missing.htm").c_str());
    g_boxText.clear();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseBox);
    Click(host.hStatic);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(g_boxText, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_FALSE(host.link.IsVisited());
    {
        Painted p(host.hStatic);
        EXPECT_GT(p.Count(kUnvisited), 0);
        EXPECT_EQ(p.Count(kVisited), 0);
    }
    EXPECT_EQ(record.Wait(300), "<none>");
}

} // namespace
