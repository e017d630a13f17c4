#include "desktop/linux/desktop_dpi.h"

#include <X11/Xatom.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <type_traits>

namespace desktop {
namespace {

constexpr double kDefaultDpi = 96;
constexpr double kMinDpi = 24;
constexpr double kMaxDpi = 960;
// In 32-bit units: far more than any resource list.
constexpr long kMaxPropertyLength = 1 << 24;

// The resources as xrdb leaves them on the first screen's root; empty when none.
std::string RootResources(Display* display) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, RootWindow(display, 0), XA_RESOURCE_MANAGER, 0, kMaxPropertyLength, False,
                           XA_STRING, &type, &format, &count, &remaining, &data) != Success) {
        return {};
    }
    const std::unique_ptr<unsigned char, decltype(&XFree)> owned(data, XFree);
    if (data == nullptr || type != XA_STRING || format != 8) {
        return {};
    }
    return {reinterpret_cast<const char*>(data), count};
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
