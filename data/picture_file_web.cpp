// PNG output on the web page: the browser's own encoder (a canvas's toDataURL) makes the file's
// bytes, which are written to the open file as libpng's are on the desktop; once the file has
// its name, the page offers it as a download.
#include <emscripten.h>

#include "data/picture_file.h"

namespace {

// The encoded picture waits in the page and is copied out in pieces of this many bytes.
constexpr int piece_bytes = 65536;
unsigned char piece[piece_bytes];

// Encodes the width x height RGB image as an opaque PNG and keeps its bytes in the page; returns
// their count, or 0 when the page cannot encode.
EM_JS(int, encode_in_page, (const unsigned char* rgb, int width, int height), {
    try {
        var canvas = document.createElement('canvas');
        canvas.width = width;
        canvas.height = height;
        var context = canvas.getContext('2d');
        var image = context.createImageData(width, height);
        for (var i = 0; i < width * height; i++) {
            image.data[4 * i] = HEAPU8[rgb + 3 * i];
            image.data[4 * i + 1] = HEAPU8[rgb + 3 * i + 1];
            image.data[4 * i + 2] = HEAPU8[rgb + 3 * i + 2];
            image.data[4 * i + 3] = 255;
        }
        context.putImageData(image, 0, 0);
        Module.paravibEncoded = atob(canvas.toDataURL('image/png').split(',')[1]);
        return Module.paravibEncoded.length;
    } catch (e) {
        return 0;
    }
});

EM_JS(void, copy_from_page, (unsigned char* to, int first, int count), {
    var bytes = Module.paravibEncoded;
    for (var i = 0; i < count; i++) HEAPU8[to + i] = bytes.charCodeAt(first + i);
});

EM_JS(void, forget_in_page, (), { Module.paravibEncoded = null; });

}  // namespace

bool write_png_picture(std::FILE* file, const unsigned char* rgb, int width, int height) {
    const int total = encode_in_page(rgb, width, height);
    bool written = total > 0;
    for (int first = 0; written && first < total; first += piece_bytes) {
        const int count = total - first < piece_bytes ? total - first : piece_bytes;
        copy_from_page(piece, first, count);
        written = std::fwrite(piece, 1, count, file) == static_cast<size_t>(count);
    }
    forget_in_page();
    return written && std::fflush(file) == 0;
}

void hand_out_picture(const char* path) {
    EM_ASM(
        {
            var path = UTF8ToString($0);
            if (Module.paravibDownload)
                Module.paravibDownload(path.split('/').pop(), FS.readFile(path));
        },
        path);
}
