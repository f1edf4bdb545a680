// File names escaped for the console: control bytes and broken UTF-8 shown as \xHH, valid text
// (Japanese included) kept byte for byte.
#include "data/printable_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(printable_path, controls_and_broken_utf8_are_escaped) {
    struct path_case {
        const char* name;
        const char* path;
        const char* shown;
    };
    const path_case cases[] = {
        {"plain", "/tmp/pictures/paravib-001.png", "/tmp/pictures/paravib-001.png"},
        {"japanese", "/home/学生/図", "/home/学生/図"},
        {"escape sequence", "a\x1b[2Jb", "a\\x1B[2Jb"},
        {"line feed and DEL", "a\nb\x7f", "a\\x0Ab\\x7F"},
        {"C1 control CSI",
         "a\xc2\x9b"
         "31m",
         "a\\xC2\\x9B31m"},
        {"no-break space kept",
         "a\xc2\xa0"
         "b",
         "a\xc2\xa0"
         "b"},
        {"lone continuation byte", "a\x80z", "a\\x80z"},
        {"overlong slash", "\xc0\xaf", "\\xC0\\xAF"},
        {"truncated character", "\xe5\x9b", "\\xE5\\x9B"},
        {"surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
    };
    for (const path_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string(printable_path(c.path).text), c.shown);
    }
}

}  // namespace
