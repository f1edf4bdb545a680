// paravib-explore: paravib with the teaching aids switched on. The same dialog, window and keys,
// plus a left click on the chart to choose (delta, epsilon), the shaded unstable regions with the
// multipliers of the chosen point, the phase plane (key 'p') and the picture export (key 'w').
// Pictures go to the folder named by PARAVIB_PICTURE_FOLDER (the launcher sets it to the folder it
// was started from), else to the current folder.
#include <GL/glut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/window.h"
#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "control/parameter_dialog.h"
#include "draw/explore_view.h"
#include "draw/response_view.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

// The picture of 800 x 800 RGB pixels handed from the renderer to the file writer.
unsigned char picture[picture_pixels * picture_pixels * 3];

void choose_picture_folder() {
    const char* named = std::getenv("PARAVIB_PICTURE_FOLDER");
    if (named != nullptr && named[0] != '\0') {
        if (std::strlen(named) < sizeof picture_folder) {
            std::strcpy(picture_folder, named);
            return;
        }
        std::fprintf(stderr,
                     "paravib-explore: PARAVIB_PICTURE_FOLDER is too long; pictures go "
                     "to the current folder\n");
    }
    if (getcwd(picture_folder, sizeof picture_folder) == nullptr) picture_folder[0] = '\0';
}

// Line width that the picture on show started with: the string of the mass inherits it from the
// frame before, and the exported copy must draw it alike.
GLfloat shown_frame_line_width = 1.0f;

void explore_display() {
    glGetFloatv(GL_LINE_WIDTH, &shown_frame_line_width);
    refresh_explore_analysis();
    display();
}

void explore_keyboard(unsigned char key, int, int) {
    if (key == picture_key) {
        // The picture on show, drawn again off screen without advancing the motion.
        if (render_picture(picture, shown_frame_line_width)) {
            save_picture(picture, picture_pixels, picture_pixels);
        } else {
            std::printf("\n画像を保存できません: このOpenGLでは画面外に描画できません");
            std::fflush(stdout);
        }
        return;
    }
    if (apply_explore_key(key)) explore_display();
}

void explore_mouse(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON || state != GLUT_DOWN) return;
    if (pick_on_chart(x, y, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT))) {
        explore_display();
    }
}

}  // namespace

int main(int argc, char** argv) {
    explore_aids = true;
    choose_picture_folder();
    command_key = 'k';
    parameter_dialog();
    create_window(&argc, argv);
    glutDisplayFunc(explore_display);
    glutKeyboardFunc(explore_keyboard);
    glutMouseFunc(explore_mouse);
    glutMainLoop();
    return 0;
}
