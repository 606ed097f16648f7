// Layout of the main window's skin, written by tools/make-art: edit that script,
// not this file. Client pixels of the main window; each skin button's place,
// outline, bitmap ids and the width of its bitmaps (the About button shows
// only their left columns).
#pragma once

#include <windows.h>

enum class SkinOutline { Round, Triangle, Ellipse, Rect };

struct SkinButtonLayout {
    const char* caption;
    int x, y, width, height;
    SkinOutline outline;
    UINT shape, overlay, normal, hover, pressed;
    int imageWidth;
};

// The buttons by name: their rows in kSkinButtons.
enum SkinButtonId {
    kButtonStart,
    kButtonAuto,
    kButtonSet,
    kButtonHelp,
    kButtonMin,
    kButtonBye,
    kButtonHotKey,
    kButtonClear,
    kButtonAbout,
};

constexpr SkinButtonLayout kSkinButtons[] = {
    {"Start", 15, 52, 35, 35, SkinOutline::Round, 137, 136, 134, 135, 138, 35},
    {"Auto", 65, 52, 35, 35, SkinOutline::Round, 137, 136, 140, 141, 139, 35},
    {"Set", 115, 52, 35, 35, SkinOutline::Round, 137, 136, 147, 146, 148, 35},
    {"Help", 165, 52, 35, 35, SkinOutline::Round, 137, 136, 150, 149, 151, 35},
    {"Min", 211, 41, 20, 19, SkinOutline::Triangle, 154, 152, 155, 156, 153, 20},
    {"Bye", 239, 29, 29, 44, SkinOutline::Ellipse, 159, 157, 160, 161, 158, 29},
    {"F&D", 211, 97, 46, 14, SkinOutline::Rect, 164, 162, 165, 166, 163, 46},
    {"Clear", 22, 377, 53, 26, SkinOutline::Rect, 169, 167, 170, 171, 168, 53},
    {"About", 24, 17, 179, 21, SkinOutline::Rect, 174, 172, 175, 176, 173, 189},
};
constexpr int kSkinButtonCount = sizeof(kSkinButtons) / sizeof(kSkinButtons[0]);
static_assert(kSkinButtonCount == kButtonAbout + 1, "one name per row");
// The round buttons share one overlay, this many pixels square.
constexpr int kRoundOverlaySize = 34;

constexpr int kSkinWidth = 282, kSkinHeight = 430;
// The panes: left, top, right, bottom.
constexpr RECT kLogPaneRect = {26, 226, 258, 361};
constexpr RECT kStatusPaneRect = {25, 122, 258, 180};
// The skin's colour behind the panes.
constexpr COLORREF kSkinPaneColour = RGB(53, 134, 255);
