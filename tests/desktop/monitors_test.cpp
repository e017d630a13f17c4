// Which of several monitors an area belongs to.
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

}  // namespace
