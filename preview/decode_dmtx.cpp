#include <dmtx.h>

#include "preview/decode.hpp"

std::vector<Decoded> decode_dmtx(const Bitmap& b, int margin, int timeoutms) {
    const Bitmap page = b.framed(margin);
    std::vector<unsigned char> lum(page.dots.size());
    for (size_t i = 0; i < lum.size(); ++i) lum[i] = page.dots[i] ? 0 : 255;
    std::vector<Decoded> out;
    DmtxImage* img = dmtxImageCreate(lum.data(), page.width, page.height, DmtxPack8bppK);
    if (img == nullptr) return out;
    dmtxImageSetProp(img, DmtxPropImageFlip, DmtxFlipNone);
    DmtxDecode* dec = dmtxDecodeCreate(img, 1);
    if (dec != nullptr) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), timeoutms);
        while (DmtxRegion* reg = dmtxRegionFindNext(dec, &timeout)) {
            if (DmtxMessage* msg = dmtxDecodeMatrixRegion(dec, reg, DmtxUndefined)) {
                out.push_back({"DataMatrix",
                               std::string(reinterpret_cast<char*>(msg->output), msg->outputIdx),
                               std::string(reinterpret_cast<char*>(msg->output), msg->outputIdx)});
                dmtxMessageDestroy(&msg);
            }
            dmtxRegionDestroy(&reg);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&img);
    return out;
}
