#include "controls/ToolTips.h"

#include <commctrl.h>

namespace {
TOOLINFOA ToolInfo(HWND hTips, HWND hTool, const char* text)
{
    TOOLINFOA info;
    ZeroMemory(&info, sizeof(info));
    // Older comctl32 versions refuse the larger layouts.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = ::GetWindow(hTips, GW_OWNER);
    info.uId = reinterpret_cast<UINT_PTR>(hTool);
    info.lpszText = const_cast<char*>(text);
    return info;
}
} // namespace

HWND CreateToolTips(HWND hOwner)
{
    return ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hOwner, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool SetToolTip(HWND hTips, HWND hTool, const char* text)
{
    if (!hTips || !hTool)
        return false;
    TOOLINFOA info = ToolInfo(hTips, hTool, text);
    TOOLINFOA found = ToolInfo(hTips, hTool, nullptr);
    // The control copies the tool's text here, without a limit of its own.
    char old[INFOTIPSIZE] = "";
    found.lpszText = old;
    if (::SendMessageA(hTips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&found))) {
        ::SendMessageA(hTips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    return ::SendMessageA(hTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}
