#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <algorithm>

#include "preview/decode.hpp"

std::vector<Decoded> decode_zxing(const Bitmap& b, const std::string& formats, bool pure,
                                  int margin, const ZxOptions& opt) {
    const Bitmap page = b.framed(margin);
    std::vector<uint8_t> lum(page.dots.size());
    for (size_t i = 0; i < lum.size(); ++i) lum[i] = page.dots[i] ? 0 : 255;
    ZXing::ImageView image(lum.data(), page.width, page.height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    // The library's second look at a downscaled copy compares its finds
    // with the first look's, and zxing-cpp 1.4.0 (Debian's, assertions on)
    // aborts there on some linear symbols; the pages are drawn at the
    // printer's resolution, where every module is whole dots anyway.
    hints.setTryDownscale(false);
    hints.setIsPure(pure);
    hints.setValidateCode39CheckSum(opt.code39check);
    hints.setValidateITFCheckSum(opt.itfcheck);
    hints.setReturnCodabarStartEnd(opt.codabarstartend);
    if (!formats.empty()) hints.setFormats(ZXing::BarcodeFormatsFromString(formats));
    std::vector<Decoded> out;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(image, hints)) {
        if (!r.isValid()) continue;
        const ZXing::ByteArray& raw = r.bytes();
        // The corners' bounds, in the unframed bitmap's dots.
        int x0 = page.width, y0 = page.height, x1 = 0, y1 = 0;
        for (const ZXing::PointI& p : r.position()) {
            x0 = std::min(x0, p.x);
            y0 = std::min(y0, p.y);
            x1 = std::max(x1, p.x);
            y1 = std::max(y1, p.y);
        }
        out.push_back({ZXing::ToString(r.format()),
                       r.text(),
                       std::string(raw.begin(), raw.end()),
                       {x0 - margin, y0 - margin, x1 - x0 + 1, y1 - y0 + 1}});
    }
    return out;
}

std::set<std::string> read_page(const Bitmap& page, int gap) {
    std::set<std::string> got;
    for (const Bitmap::Box& b : ink_regions(page, gap))
        for (const Decoded& d : decode_zxing(page.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    return got;
}
