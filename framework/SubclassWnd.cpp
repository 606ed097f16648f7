#include "framework/SubclassWnd.h"

#include "framework/ProcAddress.h"

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
CHECK_PROC_TYPE(SetSubclassFn, SetWindowSubclass);
CHECK_PROC_TYPE(RemoveSubclassFn, RemoveWindowSubclass);
CHECK_PROC_TYPE(DefSubclassFn, DefSubclassProc);

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

bool g_windowProcedureOnly = false;

const char kObjectProperty[] = "Brightsweep.Subclass";

} // namespace

void CSubclassWnd::UseWindowProcedureOnly(bool on)
{
    g_windowProcedureOnly = on;
}

CSubclassWnd::~CSubclassWnd()
{
    UnsubclassWindow();
}

bool CSubclassWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return false;
    if (Api().set && !g_windowProcedureOnly) {
        if (!Api().set(hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)))
            return false;
    } else {
        if (!::SetPropA(hWnd, kObjectProperty, this))
            return false;
        m_pfnOldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplacedProc)));
        if (!m_pfnOldProc) {
            ::RemovePropA(hWnd, kObjectProperty);
            return false;
        }
    }
    m_hWnd = hWnd;
    PreSubclassWindow();
    return true;
}

void CSubclassWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return;
    if (m_pfnOldProc) {
        // Put the control's procedure back only if nobody replaced ours since.
        if (::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ReplacedProc))
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
        ::RemovePropA(m_hWnd, kObjectProperty);
        m_pfnOldProc = nullptr;
    } else {
        Api().remove(m_hWnd, SubclassProc, 0);
    }
    m_hWnd = nullptr;
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT CSubclassWnd::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pfnOldProc)
        return ::CallWindowProcA(m_pfnOldProc, m_hWnd, msg, wp, lp);
    return Api().def(m_hWnd, msg, wp, lp);
}

LRESULT CSubclassWnd::Dispatch(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCDESTROY) {
        // The window goes away: detach first, then let the control finish.
        WNDPROC old = m_pfnOldProc;
        UnsubclassWindow();
        return old ? ::CallWindowProcA(old, hWnd, msg, wp, lp) : Api().def(hWnd, msg, wp, lp);
    }
    try {
        return WindowProc(msg, wp, lp);
    } catch (...) {
        return Default(msg, wp, lp);
    }
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    return reinterpret_cast<CSubclassWnd*>(ref)->Dispatch(hWnd, msg, wp, lp);
}

LRESULT CALLBACK CSubclassWnd::ReplacedProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = static_cast<CSubclassWnd*>(::GetPropA(hWnd, kObjectProperty));
    if (!self)
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    return self->Dispatch(hWnd, msg, wp, lp);
}
