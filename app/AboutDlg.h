// The about box: the program's name and version and a link to its home page.
#pragma once
#include "controls/HyperLink.h"
#include "framework/Dialog.h"

// The home page, shown as the link's text and opened by it.
extern const char kHomePage[];

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND hParent);
    ~CAboutDlg() override = default;

    CHyperLink m_link;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

// Runs the about box modally over hOwner.
void ShowAboutBox(HWND hOwner);
