#include "desktop/linux/box_text.h"

#include <algorithm>
#include <climits>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace desktop {
namespace {

constexpr double kPointSize = 10;

// Lengths as Xlib and Xft take them; the box's strings are short.
int Length(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

const FcChar8* Utf8(std::string_view text) { return reinterpret_cast<const FcChar8*>(text.data()); }

XftFont* OpenSansSerif(Display* display, int screen, double dpi) {
#if defined(__SANITIZE_ADDRESS__)
    // fontconfig links its patterns to their elements by offsets, not
    // pointers, and the leak check cannot follow those: what it keeps to the
    // end (its configuration, the matched pattern of the font Xft caches for
    // the display) would read as leaked at exit.
    const __lsan::ScopedDisabler keptByFontconfig;
#endif
    // A configuration that cannot be read (memory short, say) leaves
    // fontconfig with none, and matching a font then crashes inside it.
    if (FcInit() == FcFalse) {
        return nullptr;
    }
    return XftFontOpen(display, screen, XFT_FAMILY, XftTypeString, "sans-serif", XFT_SIZE, XftTypeDouble, kPointSize,
                       XFT_DPI, XftTypeDouble, dpi, nullptr);
}

}  // namespace

BoxText::BoxText(Display* display, int screen, double dpi)
    : display_(display),
      screen_(screen),
      font_(OpenSansSerif(display, screen, dpi), XftFontCloser{display}),
      draw_(nullptr, XftDrawDestroyer{}),
      coreFont_(nullptr, CoreFontFreer{display}),
      coreGc_(nullptr, GcFreer{display}) {
    if (font_) {
        return;
    }
    coreFont_.reset(XLoadQueryFont(display, "fixed"));
    XGCValues values{};
    unsigned long mask = 0;
    if (coreFont_) {
        values.font = coreFont_->fid;
        mask |= GCFont;
    }
    coreGc_.reset(XCreateGC(display, RootWindow(display, screen), mask, &values));
}

int BoxText::Width(std::string_view text) const {
    if (font_) {
        XGlyphInfo extents{};
        XftTextExtentsUtf8(display_, font_.get(), Utf8(text), Length(text), &extents);
        return extents.xOff;
    }
    if (coreFont_) {
        return XTextWidth(coreFont_.get(), text.data(), Length(text));
    }
    return 6 * Length(text);  // the server's default font, measured roughly
}

int BoxText::Ascent() const {
    return font_ ? font_->ascent : coreFont_ ? coreFont_->ascent : 10;
}

int BoxText::LineHeight() const {
    return font_ ? font_->ascent + font_->descent : coreFont_ ? coreFont_->ascent + coreFont_->descent : 13;
}

void BoxText::Draw(Drawable drawable, int x, int baseline, std::string_view text, unsigned long pixel) {
    if (!font_) {
        if (!coreGc_) {
            return;
        }
        XSetForeground(display_, coreGc_.get(), pixel);
        XDrawString(display_, drawable, coreGc_.get(), x, baseline, text.data(), Length(text));
        return;
    }
    XColor rgb{};
    rgb.pixel = pixel;
    XQueryColor(display_, DefaultColormap(display_, screen_), &rgb);
    const XftColor colour{pixel, {rgb.red, rgb.green, rgb.blue, 0xFFFF}};
    if (XftDraw* const draw = DrawOn(drawable)) {
        XftDrawStringUtf8(draw, &colour, font_.get(), x, baseline, Utf8(text), Length(text));
    }
}

XftDraw* BoxText::DrawOn(Drawable drawable) {
    if (!draw_) {
        draw_.reset(XftDrawCreate(display_, drawable, DefaultVisual(display_, screen_),
                                  DefaultColormap(display_, screen_)));
    } else if (XftDrawDrawable(draw_.get()) != drawable) {
        XftDrawChange(draw_.get(), drawable);
    }
    return draw_.get();
}

}  // namespace desktop
