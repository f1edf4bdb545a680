// The explorer's keys, chart pick and picture files on the program state; the drawing is left to
// the caller. Console lines are UTF-8 and start with a line feed, like the dialog's.
#include "control/explore_keys.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "control/key_commands.h"
#include "data/picture_file.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

const char* const picked_line = "\n(3) 図上で選択  δ ε= %.3f %.3f";
const char* const saved_line = "\n画像を保存しました: %s";
const char* const not_saved_line = "\n画像を保存できません: %s (%s)";

// Highest number tried for a free picture name before giving up.
constexpr int last_picture_number = 9999;
constexpr int picture_path_capacity = picture_folder_capacity + 32;

// Opens the first picture name of the folder that does not exist yet, creating it exclusively so
// that no file is ever replaced. path receives the name tried last; nullptr when none could be
// created (errno says why).
std::FILE* create_picture_file(char* path) {
    const char* separator = picture_folder[0] != '\0' ? "/" : "";
    for (int number = 1; number <= last_picture_number; ++number) {
        const int length = std::snprintf(path, picture_path_capacity, "%s%sparavib-%03d.png",
                                         picture_folder, separator, number);
        if (length >= picture_path_capacity) {
            errno = ENAMETOOLONG;
            return nullptr;
        }
        std::FILE* file = std::fopen(path, "wbx");
        if (file != nullptr || errno != EEXIST) return file;
    }
    return nullptr;
}

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
            return explore_key_outcome::draw;
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

bool save_picture(const unsigned char* rgb, int width, int height) {
    char path[picture_path_capacity];
    std::FILE* file = create_picture_file(path);
    if (file == nullptr) {
        std::printf(not_saved_line, path, std::strerror(errno));
        std::fflush(stdout);
        return false;
    }
    errno = 0;
    bool written = write_png_picture(file, rgb, width, height);
    int error = errno;
    if (std::fclose(file) != 0) {
        written = false;
        if (error == 0) error = errno;
    }
    if (written) {
        std::printf(saved_line, path);
    } else {
        std::remove(path);
        std::printf(not_saved_line, path, std::strerror(error != 0 ? error : EIO));
    }
    std::fflush(stdout);
    return written;
}
