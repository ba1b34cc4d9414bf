// Where a modal window opens: over the middle of its owner, never cut off by the screen's edge.
#include <gtest/gtest.h>

#include "ui/Placement.h"

namespace {

using ui::CentredWindow;
using ui::ScreenRect;

const ScreenRect kWork{0, 0, 1280, 994};  // a screen of 1280x1024 less a task bar

TEST(PlacementTest, AModalWindowOpensOverTheMiddleOfItsOwner) {
    const ScreenRect owner{100, 50, 500, 550};
    EXPECT_EQ(CentredWindow({0, 0, 200, 100}, &owner, kWork), (ScreenRect{200, 250, 400, 350}));
    // The window's own place before does not matter, only its size.
    EXPECT_EQ(CentredWindow({900, 900, 1100, 1000}, &owner, kWork),
              (ScreenRect{200, 250, 400, 350}));
}

TEST(PlacementTest, AWindowWithoutAnOwnerOnScreenOpensInTheMiddleOfTheWorkArea) {
    EXPECT_EQ(CentredWindow({0, 0, 400, 300}, nullptr, kWork), (ScreenRect{440, 347, 840, 647}));
}

TEST(PlacementTest, TheScreenEdgesKeepTheWholeWindowInSight) {
    // An owner near the left and bottom edges: the box slides in rather than hang off them.
    const ScreenRect corner{-50, 900, 150, 1000};
    EXPECT_EQ(CentredWindow({0, 0, 300, 200}, &corner, kWork), (ScreenRect{0, 794, 300, 994}));
    // Larger than the work area: its title bar stays reachable at the top left.
    EXPECT_EQ(CentredWindow({0, 0, 1400, 1100}, nullptr, kWork), (ScreenRect{0, 0, 1400, 1100}));
}

}  // namespace
