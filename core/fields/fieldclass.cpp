#include "core/fields/fieldclass.hpp"

#include "core/command/ftypes.hpp"
#include "core/linear/code39_codabar_msi.hpp"
#include "core/matrix/datamatrix_field.hpp"

namespace {
constexpr kv_fieldclass kv_fieldclasses[] = {
    {KV_FT_CODE39, kv_c39_map, nullptr, nullptr},
    {KV_FT_MSI, kv_msi_map, nullptr, nullptr},
    {KV_FT_CODABAR, kv_codabar_map, nullptr, nullptr},
    {KV_FT_DATAMATRIX, kv_datamtx_map, kv_fieldmake2_datamtx, kv_datamtx_imagesize},
};
} // namespace

const kv_fieldclass* kv_fieldclassof(int32_t type) {
    for (const kv_fieldclass& c : kv_fieldclasses) {
        if (c.type == type) return &c;
    }
    return nullptr;
}
