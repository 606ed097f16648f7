#include "framework/SubclassWnd.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace {

// comctl32 exports its subclass helpers by ordinal only before version 6, and
// not at all before 5.80, whose ordinals may mean something else: they are
// looked up by ordinal when first needed, once the version is known to be 5.80
// or later.
using SetSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using RemoveSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
using DefSubclassFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

const WORD kSetWindowSubclass = 410;
const WORD kRemoveWindowSubclass = 412;
const WORD kDefSubclassProc = 413;

struct SubclassApi {
    SetSubclassFn set = nullptr;
    RemoveSubclassFn remove = nullptr;
    DefSubclassFn def = nullptr;
};

template <typename Fn> Fn Export(HMODULE module, WORD ordinal)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

bool HasSubclassHelpers(HMODULE comctl)
{
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(comctl, "DllGetVersion"))); // 4.71 and later
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (!getVersion || FAILED(getVersion(&info)))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 80);
}

// All three or none; the module stays loaded for the life of the process.
const SubclassApi& Api()
{
    static const SubclassApi api = [] {
        SubclassApi found;
        HMODULE comctl = ::LoadLibraryA("comctl32.dll");
        if (comctl && HasSubclassHelpers(comctl)) {
            found.set = Export<SetSubclassFn>(comctl, kSetWindowSubclass);
            found.remove = Export<RemoveSubclassFn>(comctl, kRemoveWindowSubclass);
            found.def = Export<DefSubclassFn>(comctl, kDefSubclassProc);
            if (!found.set || !found.remove || !found.def)
                found = SubclassApi{};
        }
        return found;
    }();
    return api;
}

} // namespace

CSubclassWnd::~CSubclassWnd()
{
    UnsubclassWindow();
}

bool CSubclassWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || !Api().set)
        return false;
    if (!Api().set(hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hWnd;
    PreSubclassWindow();
    return true;
}

void CSubclassWnd::UnsubclassWindow()
{
    if (m_hWnd) {
        Api().remove(m_hWnd, SubclassProc, 0);
        m_hWnd = nullptr;
    }
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT CSubclassWnd::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return Api().def(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp,
                                            UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<CSubclassWnd*>(ref);
    if (msg == WM_NCDESTROY) {
        // The window goes away: detach first, then let the control finish.
        Api().remove(hWnd, SubclassProc, 0);
        self->m_hWnd = nullptr;
        return Api().def(hWnd, msg, wp, lp);
    }
    try {
        return self->WindowProc(msg, wp, lp);
    } catch (...) {
        return Api().def(hWnd, msg, wp, lp);
    }
}
