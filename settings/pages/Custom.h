// The Custom page: the user's own folders to clean, edited in place; folders
// arrive by a drop on the path box or typed into it.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/pages/DropEdit.h"
#include "settings/CleanSettings.h"

class CFolderList;

enum class AddOutcome { Nothing, Duplicate, Added };

// Add's effect on the list: an empty candidate changes nothing, one already in
// the list (exact, case-sensitive) is a duplicate, anything else is appended.
AddOutcome AddFolderTo(CFolderList& list, const std::string& candidate);

class CCustom : public CPropertyPage {
public:
    CCustom();
    void SetSettings(CleanSettings* settings) { m_pSettings = settings; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

private:
    void OnAdd();
    void OnRemove();
    void OnRemoveAll();
    void OnSelectionChange();
    HWND List() const;
    std::string RowText(int row) const;

    CleanSettings* m_pSettings = nullptr;
    CDropEdit m_editPath;
};
