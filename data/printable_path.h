// File names made safe to print on a terminal: a folder may be named with escape sequences, line
// feeds or bytes that are not UTF-8, and echoing those raw would move the cursor, recolour or
// garble the console. Valid UTF-8 text, Japanese folder names included, is shown as it is.
#pragma once

#include "data/file_replace.h"

// Each byte of a name may grow to four characters (\xHH).
struct printable_text {
    char text[4 * replacement_name_capacity + 1];
};

// path with every control character (C0, DEL and the C1 range U+0080 ... U+009F) and every byte
// that is not part of a well-formed UTF-8 character written as \xHH; the rest is copied. A name
// longer than replacement_name_capacity bytes is cut there.
printable_text printable_path(const char* path);
