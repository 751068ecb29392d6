#include "core/driver/kvglor.hpp"

void kv_installslots(kv_glor* s, const kv_prnslots& e) {
    s->prncode = e.prncode;
    s->lgetc = e.lgetc;
    s->lprintc = e.lprintc;
    s->initprn = e.initprn;
    s->specialcmd = e.specialcmd;
    s->lplotcode = e.lplotcode;
    s->lrelpos = e.lrelpos;
    s->lsetrect = e.lsetrect;
    s->setregion = e.setregion;
    s->qoutc = e.qoutc;
    s->endinput = e.endinput;
}
