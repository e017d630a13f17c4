#pragma once

#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

namespace desktop {

// What the desktop code keeps for one X connection: a T of its own, hung on
// the display's list of extension data, so that it goes as Xlib frees the
// display, after the last answer has come (a display closed may be followed
// by another at the same address, which then starts afresh). Neither call
// makes a request or takes a lock: both may be used from Xlib's own hooks.
namespace per_display {

template <typename T>
int Free(XExtData* data) {
    const std::unique_ptr<T> owned(reinterpret_cast<T*>(data->private_data));
    return 0;
}

inline XExtData** Head(Display* display) {
    XEDataObject object{};
    object.display = display;
    return XEHeadOfExtensionList(object);
}

}  // namespace per_display

// display's T; null where it has none yet.
template <typename T>
T* FindOnDisplay(Display* display) {
    for (XExtData* data = *per_display::Head(display); data != nullptr; data = data->next) {
        if (data->free_private == &per_display::Free<T>) {
            return reinterpret_cast<T*>(data->private_data);
        }
    }
    return nullptr;
}

// display's T, made from args where it has none yet.
template <typename T, typename... Args>
T& OnDisplay(Display* display, Args&&... args) {
    if (T* const found = FindOnDisplay<T>(display)) {
        return *found;
    }
    auto made = std::make_unique<T>(std::forward<Args>(args)...);
    // Xlib frees the entry itself, with free().
    auto* const data = static_cast<XExtData*>(std::calloc(1, sizeof(XExtData)));
    if (data == nullptr) {
        throw std::bad_alloc();
    }
    data->free_private = &per_display::Free<T>;
    data->private_data = reinterpret_cast<XPointer>(made.get());
    XAddToExtensionList(per_display::Head(display), data);
    return *made.release();
}

}  // namespace desktop
