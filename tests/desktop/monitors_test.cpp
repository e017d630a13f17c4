// Which of several monitors an area belongs to, and where a dialog goes on it.
#include <gtest/gtest.h>

#include "desktop/linux/monitors.h"

namespace {

using desktop::Rect;

// Two heads side by side and a wider third below the second, none at the
// lower left: the monitor that holds an area's middle; with the middle on
// none, the one it overlaps the most.
TEST(MonitorOf, HoldsTheMiddleElseOverlapsTheMost) {
    const std::vector<Rect> monitors{{0, 0, 1280, 1024}, {1280, 0, 1280, 1024}, {1280, 1024, 1920, 1080}};
    EXPECT_EQ(desktop::MonitorOf(monitors, {1400, 100, 400, 300}), monitors[1]);
    EXPECT_EQ(desktop::MonitorOf(monitors, {1100, 100, 400, 300}), monitors[1]);
    EXPECT_EQ(desktop::MonitorOf(monitors, {1300, 900, 400, 300}), monitors[2]);
    EXPECT_EQ(desktop::MonitorOf(monitors, {1000, 1000, 500, 400}), monitors[2]);
}

// A 200 x 100 dialog: in the middle of the window it is over where it fits
// there, else in the middle of the monitor; moved as little as it takes to
// lie whole on the monitor, at its left or top edge where it is larger.
TEST(PlacedOver, OverTheWindowWhereItFitsElseMidMonitorAndAlwaysWholeOnIt) {
    const Rect left{0, 0, 1280, 1024}, right{1280, 0, 1280, 1024};
    const struct {
        const char* what;
        Rect over, monitor;
        int width, height;
        std::array<int, 2> at;
    } cases[] = {
        {"fits over the window", {300, 200, 500, 400}, left, 200, 100, {450, 350}},
        {"as large as the window", {301, 201, 200, 100}, left, 200, 100, {301, 201}},
        {"odd sizes", {300, 200, 203, 105}, left, 200, 100, {301, 202}},
        {"window too narrow", {300, 200, 199, 400}, left, 200, 100, {540, 462}},
        {"window too low", {300, 200, 500, 99}, left, 200, 100, {540, 462}},
        {"over a window off the top left", {-200, -300, 500, 400}, left, 200, 100, {0, 0}},
        {"over a window off the bottom right", {1000, 900, 500, 400}, left, 200, 100, {1080, 924}},
        {"on the second monitor", {1400, 100, 100, 50}, right, 200, 100, {1820, 462}},
        {"wider and taller than the monitor", left, left, 1400, 1100, {0, 0}},
        {"wider than the second monitor", right, right, 1400, 100, {1280, 462}},
    };
    for (const auto& c : cases) {
        const Rect placed = desktop::PlacedOver(c.over, c.monitor, c.width, c.height);
        EXPECT_EQ(placed, (Rect{c.at[0], c.at[1], c.width, c.height})) << c.what;
    }
}

}  // namespace
