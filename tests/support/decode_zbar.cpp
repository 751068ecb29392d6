#include <zbar.h>

#include <cstdlib>

#include "tests/support/decode_zbar.hpp"

using namespace zbar;

std::vector<Decoded> decode_zbar(const Bitmap& b, int margin) {
    const Bitmap page = b.framed(margin);
    std::vector<Decoded> out;
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, static_cast<unsigned>(page.width), static_cast<unsigned>(page.height));
    auto* lum = static_cast<unsigned char*>(std::malloc(page.dots.size()));
    for (size_t i = 0; i < page.dots.size(); ++i) lum[i] = page.dots[i] ? 0 : 255;
    zbar_image_set_data(image, lum, page.dots.size(), zbar_image_free_data);
    if (zbar_scan_image(scanner, image) > 0) {
        for (const zbar_symbol_t* sym = zbar_image_first_symbol(image); sym != nullptr;
             sym = zbar_symbol_next(sym)) {
            std::string data(zbar_symbol_get_data(sym), zbar_symbol_get_data_length(sym));
            out.push_back({zbar_get_symbol_name(zbar_symbol_get_type(sym)), data, data});
        }
    }
    zbar_image_destroy(image);
    zbar_image_scanner_destroy(scanner);
    return out;
}
