#include "desktop/linux/desktop_dpi.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "desktop/linux/window_property.h"

namespace desktop {
namespace {

constexpr double kDefaultDpi = 96;
constexpr double kMinDpi = 24;
constexpr double kMaxDpi = 960;
// In 32-bit units: far more than any resource list.
constexpr std::uint32_t kLongest = 1 << 24;

// The resources as xrdb leaves them on the first screen's root; empty when none.
std::string RootResources(Display* display) {
    xcb_connection_t* const connection = XGetXCBConnection(display);
    const std::vector<char> text = PropertyReply<char>(
        connection, AskProperty(connection, RootWindow(display, 0), XA_RESOURCE_MANAGER, XA_STRING, kLongest));
    return {text.begin(), text.end()};
}

}  // namespace

double DesktopDpi(Display* display) {
    const std::string resources = RootResources(display);
    // Through Xrm, so that patterns such as "*dpi" match as they do for Xft itself.
    XrmInitialize();
    const std::unique_ptr<std::remove_pointer_t<XrmDatabase>, decltype(&XrmDestroyDatabase)> database(
        XrmGetStringDatabase(resources.c_str()), XrmDestroyDatabase);
    char* type = nullptr;
    XrmValue value{};
    if (!database || XrmGetResource(database.get(), "Xft.dpi", "Xft.Dpi", &type, &value) == False ||
        value.addr == nullptr) {
        return kDefaultDpi;
    }
    std::string text(value.addr);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.pop_back();
    }
    double dpi = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), dpi);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(dpi) || dpi <= 0) {
        return kDefaultDpi;
    }
    return std::clamp(dpi, kMinDpi, kMaxDpi);
}

}  // namespace desktop
