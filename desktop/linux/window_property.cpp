#include "desktop/linux/window_property.h"

namespace desktop {

std::vector<long> PropertyItems(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type,
                                          &actualType, &format, &count, &remaining, &data);
    std::vector<long> items;
    if (status == Success && actualType == type && format == 32) {
        items.assign(reinterpret_cast<const long*>(data), reinterpret_cast<const long*>(data) + count);
    }
    XFree(data);
    return items;
}

}  // namespace desktop
