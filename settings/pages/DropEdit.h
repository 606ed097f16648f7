// The Custom page's path box: an edit control that takes a dropped folder (or
// plain file), resolving a dropped shortcut to its target, and keeps the last
// folder it accepted.
#pragma once
#include "framework/SubclassWnd.h"

#include <shellapi.h>

#include <string>

class CDropEdit : public CSubclassWnd {
public:
    // Handles one drop: the first readable name, a shortcut replaced by its
    // target; with acceptFolders an addable folder, else a plain file, is
    // shown. Ends the drop.
    void OnDropFiles(HDROP drop);

    std::string droppedPath;
    int acceptFolders = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};
