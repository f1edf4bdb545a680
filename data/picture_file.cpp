// PNG output through libpng: its errors arrive by longjmp back into write_png_picture, which then
// reports failure; nothing with a destructor lives between setjmp and the calls that may jump.
#include "data/picture_file.h"

#include <png.h>

namespace {

// Filled row by row by write_png_picture, which cannot keep arrays of its own across setjmp.
struct png_job {
    const unsigned char* rgb;
    int width, height;
};

bool write_rows(png_structp png, png_infop info, std::FILE* file, const png_job& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, job.width, job.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = 0; row < job.height; ++row) {
        png_write_row(png, job.rgb + 3 * static_cast<long>(job.width) * row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool write_png_picture(std::FILE* file, const unsigned char* rgb, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    const bool written = info != nullptr && write_rows(png, info, file, {rgb, width, height});
    png_destroy_write_struct(&png, &info);
    return written && std::fflush(file) == 0 && !std::ferror(file);
}

void hand_out_picture(const char*) {}
