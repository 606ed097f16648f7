#include "settings/pages/SettingsSheet.h"

#include "framework/PropertySheet.h"
#include "res/resource.h"
#include "settings/pages/Custom.h"
#include "settings/pages/FileSetting.h"
#include "settings/pages/HotKeySetting.h"
#include "settings/pages/ModeSetting.h"

#include <objbase.h>

namespace {
struct ComGuard {
    // Apartment-threaded: the Custom page resolves dropped shortcuts.
    HRESULT result = ::CoInitialize(nullptr);
    ~ComGuard()
    {
        if (SUCCEEDED(result))
            ::CoUninitialize();
    }
};

// Frees the sheet before the pages, then the context.
struct ContextGuard {
    SettingsSheetContext* context;
    ~ContextGuard()
    {
        delete context->sheet;
        delete context->contentPage;
        delete context->modePage;
        delete context->hotKeyPage;
        delete context->customPage;
        delete context;
    }
};
} // namespace

UINT SettingsSheetThread(LPVOID param)
{
    auto* context = static_cast<SettingsSheetContext*>(param);
    ComGuard com;
    ContextGuard owned{context};
    CleanSettings* settings = &context->settings;

    context->sheet = new CPropertySheet("Setting", context->owner);
    context->contentPage = new CFileSetting;
    context->modePage = new CModeSetting;
    context->hotKeyPage = new CHotKeySetting;
    context->customPage = new CCustom;
    context->contentPage->SetSettings(settings);
    context->modePage->SetSettings(settings);
    context->hotKeyPage->SetSettings(settings);
    context->customPage->SetSettings(settings);

    settings->StartSheet();

    context->sheet->SetIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BRIGHTSWEEP)));
    context->sheet->AddPage(context->contentPage);
    context->sheet->AddPage(context->modePage);
    context->sheet->AddPage(context->hotKeyPage);
    context->sheet->AddPage(context->customPage);

    // The pages have written the copy when their windows went; the owner's
    // thread applies it, so that the timer and the hook stay with that thread.
    INT_PTR result = context->sheet->DoModal() == IDOK ? IDOK : IDCANCEL;
    ::SendMessageA(context->owner, WM_SETTINGS_SHEET_CLOSED, static_cast<WPARAM>(result),
                   reinterpret_cast<LPARAM>(settings));
    return 1;
}
