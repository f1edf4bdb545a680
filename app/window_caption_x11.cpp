// The window caption under X11: freeglut stores the title only as a Latin-1 WM_NAME, which a
// window manager would show as garbled bytes, so the UTF-8 text is set again here.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>

#include "app/window_caption.h"

// Sets the caption as UTF8_STRING in _NET_WM_NAME (what window managers read first) and as a
// UTF-8 WM_NAME for older ones, on the window whose context is current.
void set_utf8_caption(const char* title) {
    Display* display = glXGetCurrentDisplay();
    const Window window = static_cast<Window>(glXGetCurrentDrawable());
    if (display == nullptr || window == 0) return;

    const Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8_string = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, net_wm_name, utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));

    char* list[] = {const_cast<char*>(title)};
    XTextProperty property;
    if (Xutf8TextListToTextProperty(display, list, 1, XUTF8StringStyle, &property) == Success) {
        XSetWMName(display, window, &property);
        XFree(property.value);
    }
    XFlush(display);
}
