#include "desktop/linux/atoms.h"

#include <algorithm>
#include <array>
#include <vector>

#include "desktop/linux/per_display.h"

namespace desktop {
namespace {

// The list: a name for each atom (the compiler warns of an atom left out).
constexpr const char* NameOf(AtomName atom) {
    switch (atom) {
        case AtomName::Utf8String: return "UTF8_STRING";
        case AtomName::WmDeleteWindow: return "WM_DELETE_WINDOW";
        case AtomName::WmProtocols: return "WM_PROTOCOLS";
        case AtomName::NetActiveWindow: return "_NET_ACTIVE_WINDOW";
        case AtomName::NetFrameExtents: return "_NET_FRAME_EXTENTS";
        case AtomName::NetSupported: return "_NET_SUPPORTED";
        case AtomName::NetSupportingWmCheck: return "_NET_SUPPORTING_WM_CHECK";
        case AtomName::NetWmIcon: return "_NET_WM_ICON";
        case AtomName::NetWmName: return "_NET_WM_NAME";
        case AtomName::NetWmPid: return "_NET_WM_PID";
        case AtomName::NetWmState: return "_NET_WM_STATE";
        case AtomName::NetWmStateFullscreen: return "_NET_WM_STATE_FULLSCREEN";
        case AtomName::NetWmStateModal: return "_NET_WM_STATE_MODAL";
        case AtomName::NetWmWindowType: return "_NET_WM_WINDOW_TYPE";
        case AtomName::NetWmWindowTypeDialog: return "_NET_WM_WINDOW_TYPE_DIALOG";
    }
    return nullptr;
}

// The atoms are numbered from 0: the table holds this many.
constexpr int kCount = 15;
static_assert(NameOf(AtomName{kCount - 1}) != nullptr && NameOf(AtomName{kCount}) == nullptr,
              "kCount is the number of atoms in the list");

// A display's atoms, indexed by AtomName.
struct AtomTable {
    AtomTable(Display* display, std::span<const char* const> more) {
        std::vector<char*> names;
        for (int i = 0; i < kCount; ++i) {
            names.push_back(const_cast<char*>(NameOf(AtomName{i})));
        }
        for (const char* name : more) {
            names.push_back(const_cast<char*>(name));
        }
        std::vector<Atom> interned(names.size());
        XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, interned.data());
        std::copy_n(interned.begin(), kCount, atoms.begin());
    }

    std::array<Atom, kCount> atoms{};
};

}  // namespace

Atom AtomOf(Display* display, AtomName name) {
    return OnDisplay<AtomTable>(display, display, std::span<const char* const>()).atoms[static_cast<int>(name)];
}

void InternAtoms(Display* display, std::span<const char* const> more) {
    OnDisplay<AtomTable>(display, display, more);
}

}  // namespace desktop
