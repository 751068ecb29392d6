#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

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
    hints.setIsPure(pure);
    hints.setValidateCode39CheckSum(opt.code39check);
    hints.setValidateITFCheckSum(opt.itfcheck);
    hints.setReturnCodabarStartEnd(opt.codabarstartend);
    if (!formats.empty()) hints.setFormats(ZXing::BarcodeFormatsFromString(formats));
    std::vector<Decoded> out;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(image, hints)) {
        if (!r.isValid()) continue;
        const ZXing::ByteArray& raw = r.bytes();
        out.push_back({ZXing::ToString(r.format()), r.text(), std::string(raw.begin(), raw.end())});
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
