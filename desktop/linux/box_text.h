#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <memory>
#include <string_view>

#include "desktop/linux/x_owners.h"

namespace desktop {

// The error box's text: the desktop's sans-serif face through Xft,
// antialiased and sized for the dots per inch given; where Xft opens no font,
// the core "fixed" font, which every X server has, so that the text shows
// all the same. Strings are UTF-8.
class BoxText {
public:
    BoxText(Display* display, int screen, double dpi);

    int Width(std::string_view text) const;
    int Ascent() const;
    // From the top of one line to the top of the next, with no gap between.
    int LineHeight() const;

    // Draws text with the left end of its baseline at (x, baseline), in the
    // colour of pixel (of the screen's default colormap).
    void Draw(Drawable drawable, int x, int baseline, std::string_view text, unsigned long pixel);

private:
    struct XftFontCloser {
        Display* display;
        void operator()(XftFont* font) const { XftFontClose(display, font); }
    };
    struct XftDrawDestroyer {
        void operator()(XftDraw* draw) const { XftDrawDestroy(draw); }
    };
    struct CoreFontFreer {
        Display* display;
        void operator()(XFontStruct* font) const { XFreeFont(display, font); }
    };

    XftDraw* DrawOn(Drawable drawable);

    Display* display_;
    int screen_;
    std::unique_ptr<XftFont, XftFontCloser> font_;
    std::unique_ptr<XftDraw, XftDrawDestroyer> draw_;
    // The fallback: "fixed" when the server has it, else the GC's default font.
    std::unique_ptr<XFontStruct, CoreFontFreer> coreFont_;
    OwnedGc coreGc_;
};

}  // namespace desktop
