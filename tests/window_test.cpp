// The window as open_window creates it: size and buffers, the UTF-8 caption as a window manager
// reads it, and the brackets and reshape that every picture starts from.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/window.h"
#include "draw/draw_primitives.h"
#include "tests/gl_test_window.h"

namespace {

class window : public ::testing::Test {
protected:
    void SetUp() override {
        if (!open_test_window()) GTEST_SKIP() << "no X display (run under tests/with_xvfb.sh)";
    }
};

TEST_F(window, is_800_by_800_double_buffered_with_depth) {
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 800);
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_RGBA), 1);
}

TEST_F(window, caption_is_stored_as_utf8_for_window_managers) {
    for (const char* name : {"_NET_WM_NAME", "WM_NAME"}) {
        SCOPED_TRACE(name);
        const window_property p = read_window_property(name);
        EXPECT_EQ(p.type, "UTF8_STRING");
        EXPECT_EQ(p.bytes, std::string(window_title));
    }
}

TEST_F(window, xprop_shows_the_japanese_caption) {
    if (std::system("command -v xprop >/dev/null 2>&1") != 0) GTEST_SKIP() << "xprop not found";
    char command[160];
    std::snprintf(command, sizeof command,
                  "LANG=C.UTF-8 LC_ALL=C.UTF-8 xprop -id 0x%lx -notype _NET_WM_NAME WM_NAME",
                  test_window_id());
    FILE* pipe = popen(command, "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    EXPECT_EQ(pclose(pipe), 0);

    const std::string quoted = std::string(" = \"") + window_title + "\"\n";
    EXPECT_EQ(output, "_NET_WM_NAME" + quoted + "WM_NAME" + quoted);
}

// Whatever matrices the previous picture or toolkit left, reshape and begin_frame bring back the
// identity on the whole window over a white background.
TEST_F(window, reshape_and_begin_frame_restore_the_identity_view) {
    struct view_case {
        const char* name;
        int width, height;
        double x, y;           // disc centre in window coordinates
        int pixel_x, pixel_y;  // where its centre must show
    };
    const view_case cases[] = {
        {"full window", 800, 800, 0.5, 0.5, 600, 600},
        {"viewport stretched over the lower left quarter", 400, 400, 0.5, 0.5, 300, 300},
        {"no aspect correction", 800, 400, 0.5, 0.5, 600, 300},
    };
    for (const view_case& c : cases) {
        SCOPED_TRACE(c.name);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-3, 3, -3, 3, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glTranslated(0.7, -0.3, 0.0);
        reshape(c.width, c.height);
        glTranslated(-0.4, 0.2, 0.0);
        begin_frame();
        draw_disc({c.x, c.y}, 0.05, red);
        read_frame();
        reshape(window_size, window_size);

        EXPECT_EQ(pixel(c.pixel_x, c.pixel_y), pure_red);
        EXPECT_EQ(pixel(c.pixel_x + 40, c.pixel_y), pure_white);
        EXPECT_EQ(pixel(799, 799), pure_white);
        EXPECT_EQ(pixel(0, 0), pure_white);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

}  // namespace
