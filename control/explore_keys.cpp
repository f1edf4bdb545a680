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
#include "state/explore_texts.h"
#include "state/program_state.h"

namespace {

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
    std::printf(explore_text().picked_line, delta, epsilon);
    std::fflush(stdout);
}

explore_key_outcome apply_explore_key(unsigned char key) {
    switch (key) {
        case 'p':  // phase plane in place of the mass, or the mass back
            phase_plane_shown = !phase_plane_shown;
            return explore_key_outcome::draw;
        case 'w': return explore_key_outcome::picture;         // the picture on show into a file
        case 'v': return explore_key_outcome::vector_picture;  // the same as SVG
        case 'a':  // the chart over the motion until 'a' again
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
    std::printf(explore_text().picked_line, delta, epsilon);
    std::fflush(stdout);
    return true;
}

namespace {

// A picture file's contents, written by one of the two writers below.
struct picture_content {
    const unsigned char* rgb;
    int width, height;
    bool (*write_vector)(std::FILE* file);
};

bool write_content(std::FILE* file, const picture_content& content) {
    if (content.write_vector != nullptr) return content.write_vector(file);
    return write_png_picture(file, content.rgb, content.width, content.height);
}

// The picture is written while it has no name of its own and named only once complete, so a
// kill during the write leaves no truncated picture under a picture's name, and no number is
// used up.
bool save_new_picture(const picture_content& content, const char* suffix) {
    char path[replacement_name_capacity] = "";
    char stem[replacement_name_capacity];
    // A folder that ends in a separator (the page's "/") takes no second one.
    const size_t folder_length = std::strlen(picture_folder);
    const char* separator = folder_length > 0 && picture_folder[folder_length - 1] != '/' &&
                                    picture_folder[folder_length - 1] != folder_separator[0]
                                ? folder_separator
                                : "";
    file_replacement picture;
    // The first name a picture would take stands in the message when none can be made.
    const int stem_length =
        std::snprintf(stem, sizeof stem, "%s%sparavib-", picture_folder, separator);
    const bool fits = picture_folder_usable && stem_length >= 0 &&
                      std::snprintf(path, sizeof path, "%s001%s", stem, suffix) <
                          static_cast<int>(sizeof path) - 8;
    errno = ENAMETOOLONG;
    if (!fits || !begin_new_file(picture_folder, &picture)) {
        std::printf(explore_text().not_saved_line,
                    fits ? printable_path(path).text : "PARAVIB_PICTURE_FOLDER",
                    std::strerror(errno));
        std::fflush(stdout);
        return false;
    }
    errno = 0;
    const bool written = write_content(picture.file, content);
    const int write_error = errno;
    const bool named = finish_new_file(&picture, written, stem, suffix, last_picture_number, path);
    const int error = written ? errno : write_error;
    if (named) {
        std::printf(explore_text().saved_line, printable_path(path).text);
        hand_out_picture(path);
    } else {
        std::printf(explore_text().not_saved_line,
                    printable_path(path[0] != '\0' ? path : picture_folder).text,
                    std::strerror(error != 0 ? error : EIO));
    }
    std::fflush(stdout);
    return named;
}

}  // namespace

bool save_picture(const unsigned char* rgb, int width, int height) {
    return save_new_picture({rgb, width, height, nullptr}, ".png");
}

bool save_vector_picture(bool (*write)(std::FILE* file)) {
    return save_new_picture({nullptr, 0, 0, write}, ".svg");
}
