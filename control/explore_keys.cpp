// The explorer's keys, chart pick and picture files on the program state; the drawing is left to
// the caller. Console lines are UTF-8 and start with a line feed, like the dialog's.
#include "control/explore_keys.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "control/key_commands.h"
#include "data/file_replace.h"
#include "data/picture_file.h"
#include "data/printable_path.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

const char* const picked_line = "\n(3) 図上で選択  δ ε= %.3f %.3f";
const char* const saved_line = "\n画像を保存しました: %s";
const char* const not_saved_line = "\n画像を保存できません: %s (%s)";

// Highest number tried for a free picture name before giving up.
constexpr int last_picture_number = 9999;

}  // namespace

void zoom_chart(double factor, const point& fixed) {
    chart_scale_delta = chart_scale_delta * factor;
    chart_scale_epsilon = chart_scale_epsilon * factor;
    chart_origin = {fixed.x - factor * (fixed.x - chart_origin.x),
                    fixed.y - factor * (fixed.y - chart_origin.y)};
}

void pan_chart(double right, double up) {
    chart_origin = {chart_origin.x + right, chart_origin.y + up};
}

point chosen_point_on_chart() {
    return {chart_scale_delta * delta + chart_origin.x,
            chart_scale_epsilon * epsilon + chart_origin.y};
}

void steer_point(int right, int up) {
    delta = delta + right * chart_pixel_width / chart_scale_delta;
    epsilon = epsilon + up * chart_pixel_width / chart_scale_epsilon;
    restart_motion();
    std::printf(picked_line, delta, epsilon);
    std::fflush(stdout);
}

explore_key_outcome apply_explore_key(unsigned char key) {
    switch (key) {
        case 'p':  // phase plane in place of the mass, or the mass back
            phase_plane_shown = !phase_plane_shown;
            return explore_key_outcome::draw;
        case 'w': return explore_key_outcome::picture;  // the picture on show into a file
        case 'a':                                       // the chart over the motion until 'a' again
            chart_pinned = !chart_pinned;
            command_key = chart_pinned ? 'a' : 's';
            return explore_key_outcome::draw;
        case 'z':  // smaller or larger chart about the red point, which stays where it is
        case 'Z':
            zoom_chart(key == 'z' ? zoom_factor : 1.0 / zoom_factor, chosen_point_on_chart());
            chart_pinned = true;
            command_key = 'a';
            return explore_key_outcome::view;
        case 's':  // the motion and its scales, with the chart kept while it is pinned
        case 't':
        case 'T':
        case 'y':
        case 'Y':
            if (!chart_pinned) return explore_key_outcome::passed;
            apply_key(key);
            command_key = 'a';
            return explore_key_outcome::draw;
        default: return explore_key_outcome::passed;
    }
}

bool pick_on_chart(int x, int y, int width, int height) {
    if (!chart_shown() || width <= 0 || height <= 0) return false;
    // Window coordinates of the pixel's centre: -1 ... 1 across, 1 ... -1 down.
    const double window_x = 2.0 * (x + 0.5) / width - 1.0;
    const double window_y = 1.0 - 2.0 * (y + 0.5) / height;
    delta = (window_x - chart_origin.x) / chart_scale_delta;
    epsilon = (window_y - chart_origin.y) / chart_scale_epsilon;
    restart_motion();
    std::printf(picked_line, delta, epsilon);
    std::fflush(stdout);
    return true;
}

// The picture is written while it has no name of its own and named only once complete, so a
// kill during the write leaves no truncated PNG under a picture's name, and no number is used up.
bool save_picture(const unsigned char* rgb, int width, int height) {
    char path[replacement_name_capacity] = "";
    char stem[replacement_name_capacity];
    const char* separator = picture_folder[0] != '\0' ? "/" : "";
    file_replacement picture;
    // The first name a picture would take stands in the message when none can be made.
    const int stem_length =
        std::snprintf(stem, sizeof stem, "%s%sparavib-", picture_folder, separator);
    const bool fits =
        picture_folder_usable && stem_length >= 0 &&
        std::snprintf(path, sizeof path, "%s001.png", stem) < static_cast<int>(sizeof path) - 8;
    errno = ENAMETOOLONG;
    if (!fits || !begin_new_file(picture_folder, &picture)) {
        std::printf(not_saved_line, fits ? printable_path(path).text : "PARAVIB_PICTURE_FOLDER",
                    std::strerror(errno));
        std::fflush(stdout);
        return false;
    }
    errno = 0;
    const bool written = write_png_picture(picture.file, rgb, width, height);
    const int write_error = errno;
    const bool named = finish_new_file(&picture, written, stem, ".png", last_picture_number, path);
    const int error = written ? errno : write_error;
    if (named) {
        std::printf(saved_line, printable_path(path).text);
    } else {
        std::printf(not_saved_line, printable_path(path[0] != '\0' ? path : picture_folder).text,
                    std::strerror(error != 0 ? error : EIO));
    }
    std::fflush(stdout);
    return named;
}
