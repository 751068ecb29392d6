#include "core/fields/encstatus.hpp"

kv_status kv_encstatus(int32_t encerror) {
    switch (encerror) {
    case 1: return KV_MEMOVFL;
    case 3: return KV_IVCHK;
    case 4: return KV_STROVFL;
    case 7: return KV_IVBARC;
    default: return KV_ENCUNKNOWN;
    }
}
