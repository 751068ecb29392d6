#include "preview/png.hpp"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors by longjmp by default; these keep the message and
// return through the caller's setjmp.
void on_error(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    if (error != nullptr) *error = message;
    png_longjmp(png, 1);
}
void on_warning(png_structp, png_const_charp) {}

// One output row of a page resampled from `dpi` to `outdpi`: each pixel the
// share of white among the dots it covers, 0 black to 255 white.
void grey_row(const Bitmap& page, int dpi, int outdpi, int y, int outwidth,
              std::vector<png_byte>& row) {
    const int y0 = static_cast<int>(static_cast<int64_t>(y) * dpi / outdpi);
    const int y1 = std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * dpi / outdpi));
    for (int x = 0; x < outwidth; ++x) {
        const int x0 = static_cast<int>(static_cast<int64_t>(x) * dpi / outdpi);
        const int x1 =
            std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * dpi / outdpi));
        int ink = 0, all = 0;
        for (int yy = y0; yy < y1; ++yy)
            for (int xx = x0; xx < x1; ++xx) {
                ink += page.get(xx, yy) ? 1 : 0;
                ++all;
            }
        row[static_cast<size_t>(x)] = static_cast<png_byte>(255 - ink * 255 / all);
    }
}

// One row at one bit a pixel, 0 black, leftmost pixel in the high bit.
void bit_row(const Bitmap& page, int y, std::vector<png_byte>& row) {
    std::fill(row.begin(), row.end(), 0xFF);
    const uint8_t* dots = page.dots.data() + static_cast<size_t>(y) * page.width;
    for (int x = 0; x < page.width; ++x)
        if (dots[x] != 0)
            row[static_cast<size_t>(x / 8)] &= static_cast<png_byte>(~(0x80 >> (x % 8)));
}

// What one file needs, settled before libpng may jump back into `encode`.
struct PngJob {
    const Bitmap& page;
    int dpi, outdpi;
    bool resample;
    int width, height;
    std::vector<png_byte> row;
    std::string& why;
    std::FILE* file;
};

void write_rows(png_structp png, PngJob& job) {
    for (int y = 0; y < job.height; ++y) {
        if (job.resample)
            grey_row(job.page, job.dpi, job.outdpi, y, job.width, job.row);
        else
            bit_row(job.page, y, job.row);
        png_write_row(png, job.row.data());
    }
}

bool encode(PngJob& job) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &job.why, on_error, on_warning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        job.why = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, job.file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job.width),
                 static_cast<png_uint_32>(job.height), job.resample ? 8 : 1, PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int shown = job.resample ? job.outdpi : job.dpi;
    if (shown > 0) {
        // Dots per metre, so viewers show the page at its printed size.
        const auto perm = static_cast<png_uint_32>((shown * 10000 + 127) / 254);
        png_set_pHYs(png, info, perm, perm, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    write_rows(png, job);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

int resampled(int size, int dpi, int outdpi) {
    return std::max(1, static_cast<int>(static_cast<int64_t>(size) * outdpi / dpi));
}
} // namespace

bool write_png(const std::string& path, const Bitmap& page, int dpi, int outdpi,
               std::string* error) {
    std::string local;
    std::string& why = error != nullptr ? *error : local;
    const bool resample = dpi > 0 && outdpi > 0 && outdpi != dpi;
    const int width = resample ? resampled(page.width, dpi, outdpi) : page.width;
    const int height = resample ? resampled(page.height, dpi, outdpi) : page.height;
    if (width <= 0 || height <= 0) {
        why = "empty page";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        why = std::strerror(errno);
        return false;
    }
    PngJob job{page,
               dpi,
               outdpi,
               resample,
               width,
               height,
               std::vector<png_byte>(resample ? static_cast<size_t>(width)
                                              : static_cast<size_t>((width + 7) / 8)),
               why,
               file.get()};
    if (!encode(job)) return false;
    if (std::fflush(file.get()) != 0 || std::ferror(file.get()) != 0) {
        why = std::strerror(errno);
        return false;
    }
    return true;
}
