#include "core/fields/fieldclass.hpp"
#include "core/fields/textmap.hpp"

#include "core/driver/fieldtypes.hpp"
#include "core/linear/code128.hpp"
#include "core/linear/code39_codabar_msi.hpp"
#include "core/linear/two_of_five_postnet.hpp"
#include "core/linear/upc_ean.hpp"
#include "core/matrix/aztec_field.hpp"
#include "core/matrix/datamatrix_field.hpp"
#include "core/matrix/maxicode_field.hpp"
#include "core/matrix/pdf417_field.hpp"

namespace {
constexpr kv_fieldclass kv_fieldclasses[] = {
    {KV_FT_TEXT, kv_text_map, nullptr, nullptr},
    {KV_FT_CODE39, kv_c39_map, nullptr, nullptr},
    {KV_FT_CODE128, kv_c128_map, nullptr, nullptr},
    {KV_FT_I2OF5, kv_i25_map, nullptr, nullptr},
    {KV_FT_S2OF5, kv_s25_map, nullptr, nullptr},
    {KV_FT_MSI, kv_msi_map, nullptr, nullptr},
    {KV_FT_CODABAR, kv_codabar_map, nullptr, nullptr},
    {KV_FT_UPC, kv_upc_map, nullptr, nullptr},
    {KV_FT_EAN, kv_upc_map, nullptr, nullptr},
    {KV_FT_POSTNET, kv_pnet_map, nullptr, nullptr},
    {KV_FT_PDF417, kv_pdf417_map, kv_fieldmake2_pdf417, kv_pdf417_imagesize},
    {KV_FT_MAXICODE, kv_maxicode_map, kv_fieldmake2_maxicode, kv_maxicode_imagesize},
    {KV_FT_AZTEC, kv_aztec_map, kv_fieldmake2_aztec, kv_aztec_imagesize},
    {KV_FT_DATAMATRIX, kv_datamtx_map, kv_fieldmake2_datamtx, kv_datamtx_imagesize},
};
} // namespace

const kv_fieldclass* kv_fieldclassof(int32_t type) {
    for (const kv_fieldclass& c : kv_fieldclasses) {
        if (c.type == type) return &c;
    }
    return nullptr;
}
