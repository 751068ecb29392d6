#include "core/matrix/datamatrix.hpp"

#include "core/matrix/datamatrix200.hpp"

int32_t datamtx_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length) {
    if (sym == nullptr) return 0;
    sym->error = DATAMTX_ERR_NONE;
    if (data == nullptr && length != 0) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    switch (sym->ecctype) {
    case 200:
        return datamtx200_imagecalc(sym, data, length);
    // The convolutional types 0, 50, 80, 100 and 140 have no encoder in this
    // build: they are refused like any unknown type.
    default:
        sym->error = DATAMTX_ERR_ECCTYPE;
        return 0;
    }
}
