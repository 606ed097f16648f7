#include "app/ButtonTips.h"
#include "app/WindowPos.h"
#include "res/SkinLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPosTest, OnlyTwoCoordinatesAreAPlace)
{
    POINT p = {7, 7};
    EXPECT_TRUE(ParseWindowPos("120,-45", &p));
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, -45);
    EXPECT_EQ(FormatWindowPos(POINT{-1280, 32767}), "-1280,32767");
    for (const char* bad : {"", ",", "12", "12,", ",5", "1,2,3", " 1,2", "1, 2", "1,2 ", "+1,2", "1.5,2",
                            "--1,2", "32768,0", "0,-99999999999", "x,y"}) {
        EXPECT_FALSE(ParseWindowPos(bad, &p)) << bad;
        EXPECT_EQ(p.x, 120) << bad;
    }
}

TEST(WindowPosTest, KeptInsideTheMonitorItOverlapsMostAndIgnoredOffEveryOne)
{
    // A primary display and a second one to its left, its top lower.
    const std::vector<RECT> areas = {{0, 0, 1024, 738}, {-1280, 100, 0, 1124}};
    const SIZE skin = {kSkinWidth, kSkinHeight};
    POINT at = {};
    ASSERT_TRUE(PlaceOnScreen(POINT{200, 100}, skin, areas, &at));
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.y, 100);
    // Hanging over the primary's bottom right: pulled in whole.
    ASSERT_TRUE(PlaceOnScreen(POINT{900, 600}, skin, areas, &at));
    EXPECT_EQ(at.x, 1024 - kSkinWidth);
    EXPECT_EQ(at.y, 738 - kSkinHeight);
    // Mostly on the second display, above its top: onto it.
    ASSERT_TRUE(PlaceOnScreen(POINT{-200, 50}, skin, areas, &at));
    EXPECT_EQ(at.x, -kSkinWidth);
    EXPECT_EQ(at.y, 100);
    // Off every display, also just above or beside one.
    for (POINT off :
         {POINT{5000, 5000}, POINT{-3000, 0}, POINT{100, -kSkinHeight}, POINT{-kSkinWidth, -kSkinHeight}})
        EXPECT_FALSE(PlaceOnScreen(off, skin, areas, &at)) << off.x << "," << off.y;
    // Larger than the area: its top-left corner stays on it.
    ASSERT_TRUE(PlaceOnScreen(POINT{-50, 20}, SIZE{2000, 200}, {areas[0]}, &at));
    EXPECT_EQ(at.x, 0);
}

TEST(WindowPosTest, TabGoesThroughTheSkinLeftToRightTopToBottom)
{
    std::vector<RECT> places;
    for (const SkinButtonLayout& b : kSkinButtons)
        places.push_back(RECT{b.x, b.y, b.x + b.width, b.y + b.height});
    places.push_back(kStatusPaneRect);
    places.push_back(kLogPaneRect);
    std::string order;
    for (size_t i : ReadingOrder(places))
        order += (i < kSkinButtonCount ? std::string(kSkinButtons[i].caption) : "pane") + " ";
    EXPECT_EQ(order, "About Start Auto Set Help Min Bye F&D pane pane Clear ");
}

} // namespace
