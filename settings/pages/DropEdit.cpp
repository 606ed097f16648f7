#include "settings/pages/DropEdit.h"

#include "engine/SafePath.h"
#include "settings/pages/FolderCandidate.h"

void CDropEdit::OnDropFiles(HDROP drop)
{
    std::string candidate = FirstDroppedName(drop);
    ::DragFinish(drop);
    if (candidate.empty())
        return;
    candidate = ResolveCandidate(candidate);
    switch (KindOfPath(candidate)) {
    case PathKind::Folder: {
        std::string folder;
        if (acceptFolders == 1 && JudgeFolder(candidate, folder) == FolderVerdict::Cleanable) {
            SetWindowText(folder.c_str());
            droppedPath = folder;
        }
        break;
    }
    case PathKind::File:
        if (acceptFolders == 0)
            SetWindowText(candidate.c_str());
        break;
    case PathKind::Missing:
        break;
    }
}

LRESULT CDropEdit::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DROPFILES) {
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    }
    return CSubclassWnd::WindowProc(msg, wp, lp);
}
