#include "desktop/monitors.h"

#include <X11/extensions/Xinerama.h>

#include <algorithm>
#include <vector>

namespace desktop {

Rect OnScreen(Display* display, Window window) {
    XWindowAttributes attributes{};
    int x = 0, y = 0;
    Window child = 0;
    XGetWindowAttributes(display, window, &attributes);
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

namespace {

std::vector<Rect> Monitors(Display* display) {
    std::vector<Rect> monitors;
    int count = 0;
    if (XineramaIsActive(display) != 0) {
        XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
        for (int i = 0; heads != nullptr && i < count; ++i) {
            monitors.push_back({heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height});
        }
        XFree(heads);
    }
    if (monitors.empty()) {
        const int screen = DefaultScreen(display);
        monitors.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    }
    return monitors;
}

}  // namespace

Rect MonitorOf(Display* display, const Rect& area) {
    const std::vector<Rect> monitors = Monitors(display);
    const auto overlap = [&](const Rect& m) {
        const long width = std::max(0, std::min(area.x + area.width, m.x + m.width) - std::max(area.x, m.x));
        const long height = std::max(0, std::min(area.y + area.height, m.y + m.height) - std::max(area.y, m.y));
        return width * height;
    };
    const Rect middle{area.x + area.width / 2, area.y + area.height / 2, 1, 1};
    const auto holder = std::ranges::find_if(monitors, [&](const Rect& m) { return m.Contains(middle); });
    return holder != monitors.end() ? *holder : *std::ranges::max_element(monitors, {}, overlap);
}

Rect KeptOn(const Rect& monitor, Rect area) {
    area.x = std::max(monitor.x, std::min(area.x, monitor.x + monitor.width - area.width));
    area.y = std::max(monitor.y, std::min(area.y, monitor.y + monitor.height - area.height));
    return area;
}

}  // namespace desktop
