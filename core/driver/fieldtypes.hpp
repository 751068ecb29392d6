// The field type codes: what a queued field is (a line of text or one
// symbology). The command interpreter selects them by name, the field engine
// dispatches on them; both see them here.
#pragma once

#include <cstdint>

// Field type codes.
enum : int32_t {
    KV_FT_TEXT = 1,
    KV_FT_CODE39 = 2,
    KV_FT_CODE128 = 3,
    KV_FT_I2OF5 = 4,
    KV_FT_S2OF5 = 5,
    KV_FT_MSI = 6,
    KV_FT_CODABAR = 7,
    KV_FT_UPC = 8,
    KV_FT_EAN = 9,
    KV_FT_POSTNET = 10,
    KV_FT_RESERVED = 11,
    KV_FT_PDF417 = 12,
    KV_FT_MAXICODE = 13,
    KV_FT_AZTEC = 14,
    KV_FT_DATAMATRIX = 15,
};
