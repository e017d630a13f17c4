#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace desktop {

// Asks for a window's property of that name and type, at most longest 32-bit
// units of it: the request goes out now, and its answer is read with
// PropertyReply, so that several can be asked in one round trip.
xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                      xcb_atom_t type, std::uint32_t longest);

// The items of a property asked for with cookie: 32-bit items with Item
// std::uint32_t, bytes with char. Empty where the window has none of the type
// asked for, or of that width, or is gone. The error, if any, goes to error
// where one is given (the caller frees it).
template <typename Item>
std::vector<Item> PropertyReply(xcb_connection_t* connection, xcb_get_property_cookie_t cookie,
                                xcb_generic_error_t** error = nullptr);

}  // namespace desktop
