#include "core/driver/jerr.hpp"

const kv_errentry kv_errtable[] = {
    {KV_MEMOVFL, 'I', "MEMOVFL", "memory overflow; too many bar codes."},
    {KV_STROVFL, 'I', "STROVFL", "string overflow; command or data too long."},
    {KV_IVBARC, 'I', "IVBARC", "invalid bar code character or length."},
    {KV_IVNUM, 'I', "IVNUM", "invalid numeric parameter."},
    {KV_IVCMD, 'I', "IVCMD", "unknown command."},
    {KV_IVHIT, 'I', "IVHIT", "invalid bar code height command."},
    {KV_IVRAT, 'I', "IVRAT", "invalid bar code ratio command."},
    {KV_IVBAR, 'I', "IVBAR", "invalid bar code type command."},
    {KV_IVSUBS, 'I', "IVSUBS", "invalid bar code subset command."},
    {KV_IVDLM, 'I', "IVDLM", "invalid delimiter command."},
    {KV_IVDENS, 'I', "IVDENS", "invalid density command."},
    {KV_IVCHK, 'I', "IVCHK", "invalid check digit command."},
    {KV_IVORNT, 'I', "IVORNT", "invalid orientation command."},
    {KV_IVPNET, 'I', "IVPNET", "invalid PostNet due to printer or orientation."},
    {KV_INTRNL, 'I', "INTRNL", "internal error; please contact ZORLAN."},
    {KV_SYSIO, 'I', "SYSIO", "system i/o error."},
    {KV_IVPRN, 'I', "IVPRN", "invalid printer type."},
    {0, 'I', "UNEXPCT", "unexpected error; please contact ZORLAN."},
};

const kv_errentry* kv_errmsg(const kv_errentry* table, kv_status code) {
    const kv_errentry* e = table;
    while (e->code != 0 && e->code != code) ++e;
    return e;
}
