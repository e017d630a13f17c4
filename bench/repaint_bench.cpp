// repaint_bench: how long the real viewer takes to repaint its window when the
// picture is 650 x 500 (it just fills the window) and when it is 6000 x 4000.
//
// Runs under an X server that is already there ($DISPLAY), for instance
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/repaint_bench [repaints] [rounds]
// Each repaint is timed on its own: the bench marks the window's lower-left
// pixel, asks the server to expose the whole window (the viewer then redraws
// both images and swaps), and waits until the marked pixel shows the picture
// again; so no two exposures are merged into one repaint. Single repaints
// take about a millisecond and vary with what else the machine does, so the
// two pictures take turns over several rounds, each with a fresh viewer.
// Prints the median, mean and fastest repaint per picture over all rounds and
// the ratio of the medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "viewer_process.h"
#include "x_session.h"

namespace {

constexpr std::uint32_t kMarker = 0xFF00FF;
constexpr int kWarmUp = 5;

std::uint32_t LowerLeftPixel(const XSession& x, Window window, int windowHeight) {
    XImage* image = XGetImage(x.Raw(), window, 0, windowHeight - 1, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return kMarker;
    }
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

// Milliseconds per repaint; empty when the viewer fails.
std::vector<double> TimeRepaints(XSession& x, int width, int height, int repaints) {
    const Rows picture = Pattern(width, height);
    ViewerProcess viewer;
    viewer.WriteFile("B.bmp", Bmp(picture));
    viewer.Start();
    const auto window = x.WaitForWindow("Image Border");
    const int windowHeight = window ? x.Geometry(*window).value()[3] : 0;
    const auto shown = [&] { return LowerLeftPixel(x, *window, windowHeight) == picture[0][0]; };
    if (!window || !Poll(shown, 60)) {
        std::fprintf(stderr, "the viewer did not show the %dx%d picture: %s", width, height,
                     viewer.Output("stderr").c_str());
        return {};
    }
    GC gc = XCreateGC(x.Raw(), *window, 0, nullptr);
    XSetForeground(x.Raw(), gc, kMarker);
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + repaints; ++i) {
        XFillRectangle(x.Raw(), *window, gc, 0, windowHeight - 1, 1, 1);
        XSync(x.Raw(), False);
        const auto start = std::chrono::steady_clock::now();
        XClearArea(x.Raw(), *window, 0, 0, 0, 0, True);
        XFlush(x.Raw());
        while (!shown()) {
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(10)) {
                std::fprintf(stderr, "no repaint of the %dx%d picture within 10 s\n", width, height);
                return {};
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i >= kWarmUp) {
            times.push_back(took.count());
        }
    }
    XFreeGC(x.Raw(), gc);
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    constexpr int kSizes[2][2] = {{650, 500}, {6000, 4000}};
    std::optional<XSession> session;
    try {
        session.emplace();
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return EXIT_FAILURE;
    }
    XSession& x = *session;
    std::vector<double> times[2];
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int i = (round + turn) % 2;
            const std::vector<double> more = TimeRepaints(x, kSizes[i][0], kSizes[i][1], repaints);
            if (more.empty()) {
                return EXIT_FAILURE;
            }
            times[i].insert(times[i].end(), more.begin(), more.end());
        }
    }
    std::printf("%-10s %8s %10s %10s %10s\n", "picture", "repaints", "median ms", "mean ms", "fastest ms");
    double medians[2];
    for (int i = 0; i < 2; ++i) {
        std::ranges::sort(times[i]);
        medians[i] = times[i][times[i].size() / 2];
        std::printf("%4dx%-5d %8zu %10.3f %10.3f %10.3f\n", kSizes[i][0], kSizes[i][1], times[i].size(), medians[i],
                    std::accumulate(times[i].begin(), times[i].end(), 0.0) / times[i].size(), times[i].front());
    }
    std::printf("6000x4000 / 650x500, medians: %.2f\n", medians[1] / medians[0]);
    return EXIT_SUCCESS;
}
