// The X round trips of start-up, Up and Down: the viewer's own against those
// of a bare GLUT program built beside it (GLUT's and Mesa's own then cancel
// out), each program logged by xtrace between it and the test's server and
// the log counted by round-trips.
#include "harness.h"  // first: it orders gtest and Xlib

#include <cstdio>
#include <filesystem>

namespace {

const char* const kPhases[] = {"start-up", "Up", "Down"};
// The viewer's own round trips beyond the bare program's, at most.
constexpr int kBudget[] = {4, 3, 4};

// What round-trips tells of a phase: the whole line, and the program's own round trips.
struct Phase {
    std::string line;
    int own = -1;
};

class RoundTripsE2e : public testing::Test {
protected:
    // The phases of program (a shell word): from its start until it shows the
    // picture, then Up and Down, each until the program has settled; Esc
    // then ends it with 0.
    std::vector<Phase> Phases(const std::string& program) {
        const char* manager = std::getenv("IMAGE_BORDER_E2E_WM");
        EXPECT_TRUE(manager == nullptr || manager == std::string("none") || Poll([&] { return x.WindowManagerRuns(); }));
        const SpareDisplay spare;
        ViewerProcess run;
        run.Start(Bmp(picture), "", spare.Traced(program));
        const Window window = x.WaitForWindow(kTitle).value_or(0);
        const std::array<int, 4> screen = x.Geometry(x.Root()).value();
        std::string marks = Settled(run, window, [](const auto&) { return true; });
        x.Type(window, {XK_Up});
        marks += Settled(run, window, [&](const auto& place) { return place == screen; });
        x.Type(window, {XK_Down});
        marks += Settled(run, window, [&](const auto& place) { return place != screen; });
        x.Type(window, {XK_Escape});
        EXPECT_EQ(run.WaitForExit(), 0) << program << ": " << run.Output("stderr");

        std::vector<Phase> phases;
        FILE* counts = popen(("'" ROUND_TRIPS_PROGRAM "' '" + run.Path(".trace") + "'" + marks).c_str(), "r");
        for (char line[4096]; std::fgets(line, sizeof line, counts) != nullptr && phases.size() < 3;) {
            phases.push_back({line});
            std::sscanf(line, "%*s %*d: %*d round trips, %*d of them drawing, %d", &phases.back().own);
        }
        pclose(counts);
        EXPECT_EQ(phases.size(), 3u);
        phases.resize(3);
        return phases;
    }

    // Waits until the window, placed as it should be, shows the picture at its
    // lower-left corner, and the program has exchanged nothing with the
    // server for a second; " " and the log's length then. Where a window
    // manager resizes a window before its first frame, GLUT programs may
    // show that frame at the old size and nothing more: an exposure then has
    // the picture drawn again. (The viewer's end-to-end tests catch that.)
    std::string Settled(const ViewerProcess& run, Window window, const auto& placed) const {
        std::uintmax_t length = 0;
        auto since = std::chrono::steady_clock::now();
        EXPECT_TRUE(Poll([&] {
            const std::uintmax_t now = std::filesystem::file_size(run.Path(".trace"));
            if (now != length) {
                length = now, since = std::chrono::steady_clock::now();
            }
            const auto place = x.Geometry(window);
            const bool shown = place && placed(*place) && ShowsPicture(x.Grab(window).value_or(Rows{}));
            if (std::chrono::steady_clock::now() - since < std::chrono::seconds(1)) {
                return false;
            }
            if (!shown) {
                XClearArea(x.Raw(), window, 0, 0, 0, 0, True);
                since = std::chrono::steady_clock::now();
            }
            return shown;
        }, 30)) << "the window, at " << testing::PrintToString(x.Geometry(window)) << ", does not show the picture";
        return " " + std::to_string(length);
    }

    bool ShowsPicture(const Rows& frame) const {
        return frame.size() >= picture.size() &&
               std::equal(picture.begin(), picture.end(), frame.begin(), [](const auto& want, const auto& row) {
                   return row.size() >= want.size() && std::equal(want.begin(), want.end(), row.begin());
               });
    }

    XSession x;
    const Rows picture = Pattern(61, 40);
};

TEST_F(RoundTripsE2e, ViewerMakesFewMoreThanBareGlut) {
    const std::vector<Phase> bare = Phases("'" BARE_GLUT_PROGRAM "'");
    const std::vector<Phase> viewer = Phases("'" IMAGE_BORDER_PROGRAM "'");
    for (int i = 0; i < 3; ++i) {
        std::printf("%s\n  bare GLUT %s  viewer    %s", kPhases[i], bare[i].line.c_str(), viewer[i].line.c_str());
        EXPECT_TRUE(bare[i].own >= 0 && viewer[i].own >= 0 && viewer[i].own <= bare[i].own + kBudget[i])
            << kPhases[i] << ", bare GLUT and viewer:\n" << bare[i].line << viewer[i].line;
    }
}

}  // namespace
