#include "controls/ShellOpen.h"

#include "framework/Format.h"

#include <shellapi.h>

#include <cstring>

UINT ShellOpen(const char* address, int showCommand)
{
    if (!address)
        address = "";
    UINT r = static_cast<UINT>(reinterpret_cast<UINT_PTR>(
        ::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, showCommand)));
    if (r > 32)
        return r;

    // The class of web pages, then the command line of its open verb.
    char text[MAX_PATH];
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, ".htm", text) != 0 || text[0] == '\0')
        return r;
    std::string commandKey = std::string(text) + "\\shell\\open\\command";
    if (ReadKeyDefault(HKEY_CLASSES_ROOT, commandKey.c_str(), text) != 0 || text[0] == '\0')
        return r;

    char line[kFallbackCommandSize];
    if (!BuildFallbackCommand(text, address, line, sizeof(line)))
        return r;
    return ::WinExec(line, static_cast<UINT>(showCommand));
}

LONG ReadKeyDefault(HKEY root, const char* subKey, char* out)
{
    HKEY key;
    LONG rc = ::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    char value[MAX_PATH];
    LONG size = sizeof(value);
    rc = ::RegQueryValueA(key, nullptr, value, &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return rc;
    // Stored data need not end with a zero: take it only if one lies inside.
    if (size <= 0)
        value[0] = '\0';
    else if (!std::memchr(value, '\0', static_cast<size_t>(size)))
        return ERROR_MORE_DATA;
    std::strcpy(out, value);
    return ERROR_SUCCESS;
}

bool BuildFallbackCommand(const char* command, const char* address, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return false;
    out[0] = '\0';
    if (!command || !address)
        return false;

    const char* placeholder = std::strstr(command, "\"%1\"");
    if (!placeholder)
        placeholder = std::strstr(command, "%1");
    size_t keep = placeholder ? static_cast<size_t>(placeholder - command) : std::strlen(command);

    // An address with blanks would reach the program as several arguments.
    bool quote = address[0] != '"' && std::strpbrk(address, " \t") != nullptr;
    size_t addressLength = std::strlen(address);
    size_t need = keep + 1 + addressLength + (quote ? 2 : 0) + 1;
    if (need > outSize)
        return false;

    char* p = out;
    std::memcpy(p, command, keep);
    p += keep;
    *p++ = ' ';
    if (quote)
        *p++ = '"';
    std::memcpy(p, address, addressLength);
    p += addressLength;
    if (quote)
        *p++ = '"';
    *p = '\0';
    return true;
}

std::string OpenErrorText(UINT code)
{
    const char* text = nullptr;
    switch (code) {
    case 0:
        text = "The operating system is out\nof memory or resources.";
        break;
    case SE_ERR_FNF:
        text = "The specified file was not found.";
        break;
    case SE_ERR_PNF:
        text = "The specified path was not found.";
        break;
    case SE_ERR_ACCESSDENIED:
        text = "The operating system denied\naccess to the specified file.";
        break;
    case SE_ERR_OOM:
        text = "There was not enough memory to complete the operation.";
        break;
    case ERROR_BAD_FORMAT:
        text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        break;
    case SE_ERR_SHARE:
        text = "A sharing violation occurred. ";
        break;
    case SE_ERR_ASSOCINCOMPLETE:
        text = "The filename association is\nincomplete or invalid.";
        break;
    case SE_ERR_DDETIMEOUT:
        text = "The DDE transaction could not\nbe completed because the request timed out.";
        break;
    case SE_ERR_DDEFAIL:
        text = "The DDE transaction failed.";
        break;
    case SE_ERR_DDEBUSY:
        text = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case SE_ERR_NOASSOC:
        text = "There is no application associated\nwith the given filename extension.";
        break;
    case SE_ERR_DLLNOTFOUND:
        text = "The specified dynamic-link library was not found.";
        break;
    default:
        break;
    }
    std::string message = "Unable to open hyperlink:\n\n";
    if (text) {
        message += text;
    } else {
        char unknown[64];
        FormatText(unknown, sizeof(unknown), "Unknown Error (%d) occurred.", static_cast<int>(code));
        message += unknown;
    }
    return message;
}
