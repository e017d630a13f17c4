#include "desktop/linux/monitors.h"

#include <algorithm>

namespace desktop {

Rect MonitorOf(const std::vector<Rect>& monitors, const Rect& area) {
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

Rect PlacedOver(const Rect& over, const Rect& monitor, int width, int height) {
    const auto centred = [&](const Rect& on) {
        return Rect{on.x + (on.width - width) / 2, on.y + (on.height - height) / 2, width, height};
    };
    const Rect middle = centred(over);
    return KeptOn(monitor, over.Contains(middle) ? middle : centred(monitor));
}

}  // namespace desktop
