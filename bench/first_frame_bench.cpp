// first_frame_bench: how long the viewer takes to show its first frame over a
// slow link, against a bare GLUT program that draws the same picture (the
// floor: GLUT's and Mesa's own round trips), on the sample picture.
//
// Runs under an X server that is already there ($DISPLAY) with no window
// manager, for instance
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/first_frame_bench [runs] [delay ms]
// The programs connect through a relay on the TCP loopback that holds each
// chunk delay ms (default 10) each way: a round trip of twice that. A run is
// timed from the program's start until the bench, connected straight to the
// server, sees the picture's lowest row at the window's lower-left corner.
// The two programs take turns, runs times each (default 7); prints each run,
// then the medians and their ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "delay_relay.h"
#include "viewer_process.h"
#include "x_session.h"

namespace {

constexpr int kWindowHeight = 500;

// Whether the screen's row just inside the lower-left corner of a window at
// (0, 0) begins with the picture's lowest row.
bool Shown(const XSession& x, const std::vector<std::uint32_t>& row) {
    XImage* image = XGetImage(x.Raw(), x.Root(), 0, kWindowHeight - 1, static_cast<unsigned>(row.size()), 1, AllPlanes,
                              ZPixmap);
    bool shown = image != nullptr;
    for (std::size_t i = 0; shown && i < row.size(); ++i) {
        shown = (XGetPixel(image, static_cast<int>(i), 0) & 0xFFFFFF) == row[i];
    }
    if (image != nullptr) {
        XDestroyImage(image);
    }
    return shown;
}

// Seconds from program's start until its first frame shows; negative when it
// does not within 30 s.
double FirstFrame(const XSession& x, const std::string& program, const std::string& display, const Bytes& bitmap,
                  const std::vector<std::uint32_t>& row) {
    ViewerProcess run;
    run.WriteFile("B.bmp", bitmap);
    const auto start = std::chrono::steady_clock::now();
    run.Start(std::nullopt, "", "env DISPLAY=" + display + " '" + program + "'");
    while (!Shown(x, row)) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) {
            std::fprintf(stderr, "%s showed no frame in 30 s: %s\n", program.c_str(), run.Output("stderr").c_str());
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    run.Kill(SIGTERM);
    // The window must be gone before the next run looks for a frame.
    Poll([&] { return !Shown(x, row); });
    return took.count();
}

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::chrono::milliseconds delay(argc > 2 ? std::max(0, std::atoi(argv[2])) : 10);
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || std::strchr(display, ':') == nullptr) {
        std::fprintf(stderr, "run under an X server: xvfb-run -a -s \"-screen 0 1280x1024x24\" %s\n", argv[0]);
        return EXIT_FAILURE;
    }
    const XSession x;
    ImageClass sample;
    if (sample.Load(IMAGE_BORDER_SAMPLE) != 1) {
        return EXIT_FAILURE;
    }
    const Rows picture = Read(sample);
    std::ifstream file(IMAGE_BORDER_SAMPLE, std::ios::binary);
    const Bytes bitmap(std::istreambuf_iterator<char>(file), {});

    const int server = std::atoi(std::strchr(display, ':') + 1);
    const DelayRelay relay("/tmp/.X11-unix/X" + std::to_string(server), delay);
    // The server's cookie, if it asks for one, for the relay's display too.
    std::system(("xauth list \"$DISPLAY\" 2>/dev/null | sed 's/:[0-9]*  */:" + std::to_string(relay.Number()) +
                 " /' | xargs -r -n 3 xauth add")
                    .c_str());

    const char* const programs[2] = {BARE_GLUT_PROGRAM, IMAGE_BORDER_PROGRAM};
    const char* const names[2] = {"bare GLUT", "viewer"};
    std::vector<double> times[2];
    std::printf("first frame through %s, %lld ms each way\n", relay.Display().c_str(),
                static_cast<long long>(delay.count()));
    for (int round = 0; round < runs; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int i = (round + turn) % 2;
            const double took = FirstFrame(x, programs[i], relay.Display(), bitmap, picture[0]);
            if (took < 0) {
                return EXIT_FAILURE;
            }
            times[i].push_back(took);
            std::printf("  %-9s %.3f s\n", names[i], took);
        }
    }
    for (int i = 0; i < 2; ++i) {
        std::printf("%-9s median %.3f s, fastest %.3f s, slowest %.3f s over %d runs\n", names[i], Median(times[i]),
                    *std::ranges::min_element(times[i]), *std::ranges::max_element(times[i]), runs);
    }
    std::printf("viewer / bare GLUT, medians: %.2f\n", Median(times[1]) / Median(times[0]));
    return EXIT_SUCCESS;
}
