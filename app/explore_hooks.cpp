// The explorer's hooks: what paravib-explore adds to paravib's picture, keys and dialog, each
// through the seam of state/program_hooks.h.
#include "app/explore_hooks.h"

#include <GL/glut.h>

#include <cstdio>

#include "control/explore_analysis.h"
#include "control/explore_keys.h"
#include "control/explore_link.h"
#include "control/shading_worker.h"
#include "draw/chart_layer.h"
#include "draw/draw_backend.h"
#include "draw/draw_primitives.h"
#include "draw/explore_view.h"
#include "draw/motion_box.h"
#include "draw/response_view.h"
#include "draw/stability_chart.h"
#include "draw/svg_picture.h"
#include "state/explore_state.h"
#include "state/explore_texts.h"
#include "state/program_hooks.h"
#include "state/program_state.h"

namespace {

// Ctrl with an arrow moves the view by a tenth of the window.
constexpr double pan_step = 0.1;

// How often a running raster build is looked at, in milliseconds.
constexpr unsigned int shading_poll_interval = 15;
bool shading_poll_armed = false;

// The picture on show drawn again as it is, without advancing the motion: the shading has come.
void redraw_picture() {
    backend().line_width(shown_frame_line_width);
    begin_frame();
    draw_picture();
    end_frame();
}

void poll_shading(int) {
    shading_poll_armed = false;
    if (collect_unstable_shading()) redraw_picture();
    if (request_unstable_shading()) {
        shading_poll_armed = true;
        glutTimerFunc(shading_poll_interval, poll_shading, 0);
    }
}

// The raster is built off the key path: frames go on unshaded (a raster made for another view is
// never shown) and the poll draws the picture again once the new one is ready.
void before_frame() {
    note_shown_frame_line_width();
    collect_unstable_shading();
    if (request_unstable_shading() && !shading_poll_armed) {
        shading_poll_armed = true;
        glutTimerFunc(shading_poll_interval, poll_shading, 0);
    }
    refresh_multiplier_readout();
}

// The shading lies under everything, so the mass and the chart are drawn over it.
void under_picture() {
    if (chart_shown()) draw_unstable_shading();
}

// The mass or the phase plane in the box at the lower right, on a scale fitted to the motion:
// the chart now stays over the running motion, and at the window's centre the mass would hide its
// origin and the first tongue's tip.
bool instead_of_mass() {
    if (phase_plane_shown) {
        draw_phase_plane();
    } else {
        draw_motion_box_mass();
    }
    return true;
}

// The parts of the chart that only beta, the equation and the view change come from textures;
// the red point, the readout and the status line, which follow the point and the time, are drawn.
bool instead_of_chart() {
    draw_through_layer(chart_body_layer, draw_stability_chart_layer);
    draw_chosen_point();
    return true;
}

void over_picture() {
    if (chart_shown()) {
        draw_multiplier_readout();
        draw_through_layer(chart_labels_layer, draw_chart_labels);
    }
    draw_status_line();
}

bool arrow(arrow_key key, bool shift, bool control) {
    const int right = key == arrow_key::right ? 1 : key == arrow_key::left ? -1 : 0;
    const int up = key == arrow_key::up ? 1 : key == arrow_key::down ? -1 : 0;
    if (control) {
        pan_chart(-right * pan_step, -up * pan_step);
    } else {
        const int pixels = shift ? 10 : 1;
        steer_point(right * pixels, up * pixels);
    }
    // Drawn once the keys already waiting are taken: a held arrow draws the last place only.
    backend_redisplay_soon();
    return false;
}

// The picture on show, drawn again into the back buffer without advancing the motion, into a
// file.
void export_picture() {
    finish_unstable_shading();
    if (render_picture(exported_picture, shown_frame_line_width)) {
        save_picture(exported_picture, picture_pixels, picture_pixels);
    } else {
        std::fputs(explore_text().no_offscreen_line, stdout);
        std::fflush(stdout);
    }
}

// The picture on show as SVG, with the parameters of the motion in its title.
bool write_vector_picture(std::FILE* file) {
    char status[160], title[256];
    std::snprintf(title, sizeof title, "paravib: %s  y0=%.4g  v0=%.4g",
                  format_status_line(status, sizeof status), y_init, v_init);
    return write_svg_picture(file, title, shown_frame_line_width);
}

bool key(unsigned char key) {
    switch (apply_explore_key(key)) {
        case explore_key_outcome::passed: return false;
        case explore_key_outcome::draw: display(); return true;
        // Every event waiting is taken before the redisplay, so a burst of zoom keys draws once.
        case explore_key_outcome::view: backend_redisplay_soon(); return true;
        case explore_key_outcome::picture: export_picture(); return true;
        case explore_key_outcome::vector_picture:
            finish_unstable_shading();
            save_vector_picture(write_vector_picture);
            return true;
    }
    return false;
}

}  // namespace

void install_explore_hooks() {
    hooks.before_frame = before_frame;
    hooks.under_picture = under_picture;
    hooks.instead_of_mass = instead_of_mass;
    hooks.instead_of_chart = instead_of_chart;
    hooks.over_picture = over_picture;
    hooks.key = key;
    hooks.click = pick_on_chart;
    hooks.arrow = arrow;
    hooks.readout = format_readout_line;
    hooks.link_query = format_link_query;
    const explore_texts& t = explore_text();
    hooks.equation_key_refused_line = t.equation_key_refused_line;
    hooks.help_lines = t.help_lines;
    hooks.help_line_count = sizeof t.help_lines / sizeof t.help_lines[0];
    hooks.texts = t.program;
}
