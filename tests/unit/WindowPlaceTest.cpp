#include <gtest/gtest.h>

#include "core/WindowPlace.h"

namespace tobla {
namespace {

constexpr ScreenRect kWorkArea{0, 0, 1280, 994};  // a taskbar below

TEST(WindowPlaceTest, AWindowInTheWorkAreaStaysAndOneOutsideMovesTheLeastOntoIt) {
    EXPECT_EQ(PlaceInWorkArea({200, 150, 600, 290}, kWorkArea), (ScreenRect{200, 150, 600, 290}));
    EXPECT_EQ(PlaceInWorkArea({880, 854, 1280, 994}, kWorkArea), (ScreenRect{880, 854, 1280, 994}));
    // Past the right and above the top: the right edge and the top meet the area's.
    EXPECT_EQ(PlaceInWorkArea({30000, -30000, 30400, -29860}, kWorkArea),
              (ScreenRect{880, 0, 1280, 140}));
    EXPECT_EQ(PlaceInWorkArea({-500, 990, -100, 1130}, kWorkArea), (ScreenRect{0, 854, 400, 994}));
    // A second screen on the left, its work area in negative coordinates.
    EXPECT_EQ(PlaceInWorkArea({-1300, 100, -900, 240}, {-1024, 0, 0, 768}),
              (ScreenRect{-1024, 100, -624, 240}));
    // Larger than the area: its top-left corner, with the title bar, stays in reach.
    EXPECT_EQ(PlaceInWorkArea({100, 100, 1500, 1200}, kWorkArea), (ScreenRect{0, 0, 1400, 1100}));
}

TEST(WindowPlaceTest, AStoredCoordinateBeyondEveryScreenIsHeldNearOne) {
    EXPECT_EQ(StoredCoordinate("-230"), -230);
    EXPECT_EQ(StoredCoordinate("99999999999"), 1 << 24);
    EXPECT_EQ(StoredCoordinate("-99999999999"), -(1 << 24));
    EXPECT_EQ(StoredCoordinate("x"), 0);
}

}  // namespace
}  // namespace tobla
