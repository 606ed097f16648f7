#include "settings/pages/SettingsSheet.h"

#include "framework/PropertySheet.h"
#include "res/resource.h"
#include "settings/pages/Custom.h"
#include "settings/pages/FileSetting.h"
#include "settings/pages/HotKeySetting.h"
#include "settings/pages/ModeSetting.h"

#include <objbase.h>

namespace {
// Tells the owner that the thread is done with it, on every way out: the
// last thing the thread does.
struct SheetEndedGuard {
    CSettingsOwner* owner;
    ~SheetEndedGuard() { owner->SettingsSheetEnded(); }
};

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
    SheetEndedGuard ended{context->owner};
    ComGuard com;
    ContextGuard owned{context};
    CSettingsOwner* owner = context->owner;

    context->sheet = new CPropertySheet("Setting", owner->SheetOwnerWindow());
    context->contentPage = new CFileSetting;
    context->modePage = new CModeSetting;
    context->hotKeyPage = new CHotKeySetting;
    context->customPage = new CCustom;
    context->contentPage->SetMainWindow(owner);
    context->modePage->SetMainWindow(owner);
    context->hotKeyPage->SetMainWindow(owner);
    context->customPage->SetMainWindow(owner);

    owner->Settings().StartSheet();

    context->sheet->SetIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BRIGHTSWEEP)));
    context->sheet->AddPage(context->contentPage);
    context->sheet->AddPage(context->modePage);
    context->sheet->AddPage(context->hotKeyPage);
    context->sheet->AddPage(context->customPage);

    if (context->sheet->DoModal() == IDOK)
        owner->CommitPendingSettings();
    else
        owner->RevertPendingSettings();
    return 1;
}
