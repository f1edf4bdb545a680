// The window caption on Windows: freeglut creates its window with the ANSI functions, so the
// title arrives in the local code page and SetWindowTextW would be converted back to it, which
// loses the Japanese text on any non-Japanese Windows. The UTF-16 text is therefore stored by the
// Unicode default window procedure, which keeps it as it is.
#include <GL/gl.h>
#include <windows.h>

#include "app/window_caption.h"

namespace {

// Characters of the longest caption, in UTF-16 units with the closing NUL.
constexpr int caption_capacity = 256;

}  // namespace

void set_utf8_caption(const char* title) {
    const HDC device = wglGetCurrentDC();
    const HWND window = device != nullptr ? WindowFromDC(device) : nullptr;
    if (window == nullptr) return;
    wchar_t wide[caption_capacity];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, title, -1, wide, caption_capacity) ==
        0) {
        return;
    }
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide));
}
