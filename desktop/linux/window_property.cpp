#include "desktop/linux/window_property.h"

#include <cstdlib>
#include <memory>

namespace desktop {

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                      xcb_atom_t type, std::uint32_t longest) {
    return xcb_get_property(connection, 0, window, name, type, 0, longest);
}

template <typename Item>
std::vector<Item> PropertyReply(xcb_connection_t* connection, xcb_get_property_cookie_t cookie,
                                xcb_generic_error_t** error) {
    xcb_generic_error_t* failed = nullptr;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, &failed), std::free);
    if (error != nullptr) {
        *error = failed;
    } else {
        std::free(failed);
    }
    if (!reply || reply->format != 8 * sizeof(Item)) {
        return {};
    }
    const auto* items = static_cast<const Item*>(xcb_get_property_value(reply.get()));
    return {items, items + xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(Item))};
}

template std::vector<std::uint32_t> PropertyReply(xcb_connection_t*, xcb_get_property_cookie_t,
                                                  xcb_generic_error_t**);
template std::vector<char> PropertyReply(xcb_connection_t*, xcb_get_property_cookie_t, xcb_generic_error_t**);

}  // namespace desktop
