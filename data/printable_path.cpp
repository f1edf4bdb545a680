// Escaping of file names for the console; see printable_path.h.
#include "data/printable_path.h"

#include <cstdio>

namespace {

// Length of the well-formed UTF-8 character at s (shortest form, no surrogates, at most
// U+10FFFF), or 0 if s does not start one.
int utf8_length(const unsigned char* s) {
    const unsigned char c = s[0];
    int length;
    unsigned int code;
    if (c < 0x80) return 1;
    if (c >= 0xc2 && c <= 0xdf) {
        length = 2;
        code = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
        length = 3;
        code = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xc0) != 0x80) return 0;
        code = code << 6 | (s[i] & 0x3f);
    }
    const unsigned int lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < lowest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return length;
}

}  // namespace

printable_text printable_path(const char* path) {
    printable_text out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(path);
    int used = 0;
    for (int i = 0; s[i] != '\0' && i < replacement_name_capacity;) {
        const int length = utf8_length(s + i);
        const bool control = length == 1 ? (s[i] < 0x20 || s[i] == 0x7f)
                                         : length == 2 && s[i] == 0xc2 && s[i + 1] < 0xa0;
        if (length == 0 || control) {
            // C1 controls are escaped byte by byte too, so each shows as the bytes it is.
            const int count = length == 0 ? 1 : length;
            for (int k = 0; k < count; ++k)
                used += std::snprintf(out.text + used, 5, "\\x%02X", s[i + k]);
            i += count;
        } else {
            for (int k = 0; k < length; ++k) out.text[used++] = static_cast<char>(s[i + k]);
            i += length;
        }
    }
    out.text[used] = '\0';
    return out;
}
