#include "desktop/linux/atoms.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xinerama.h>

#include <vector>

namespace desktop {
namespace {

// Every name that XInternAtom is called with in this folder.
constexpr const char* kNames[] = {
    "UTF8_STRING",
    "WM_DELETE_WINDOW",
    "WM_PROTOCOLS",
    "_NET_ACTIVE_WINDOW",
    "_NET_FRAME_EXTENTS",
    "_NET_SUPPORTED",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_ICON",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_STATE",
    "_NET_WM_STATE_FULLSCREEN",
    "_NET_WM_STATE_MODAL",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_DIALOG",
};

}  // namespace

void InternAtoms(Display* display, std::span<const char* const> more) {
    std::vector<char*> names;
    for (const char* name : std::span(kNames)) {
        names.push_back(const_cast<char*>(name));
    }
    for (const char* name : more) {
        names.push_back(const_cast<char*>(name));
    }
    std::vector<Atom> atoms(names.size());
    XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, atoms.data());
    // Answered with whatever is asked next: the monitors are asked for later
    // without first waiting to learn whether they can be.
    xcb_prefetch_extension_data(XGetXCBConnection(display), &xcb_xinerama_id);
}

}  // namespace desktop
