// The byte emulation of the LN03+ driver: carriage returns and line feeds may
// be thinned out; everything else goes through the DEC sequence parser, which
// passes every sequence on whole and lets the driver follow positioning unit
// mode and the size unit.
#include <cstdint>

#include "core/driver/printops.hpp"
#include "drivers/common/dec_parser.hpp"
#include "drivers/common/pageprinter.hpp"
#include "drivers/ln03/ln03.hpp"

namespace {
// Control sequences: PUM (CSI 11 h / CSI 11 l) and SSU (CSI 2 SP I / CSI 7 SP I)
// are followed; every sequence is sent.
kv_status kv_ln03_csiuses(kv_glor* s, kv_decparser* p, int32_t final, bool*) {
    kv_ln03_work* w = kv_ln03_w(s);
    int32_t a = 0;
    if (kv_dec_param(p, &a) && a == 11 && (final == 'h' || final == 'l'))
        w->pumset = final == 'h' ? 1 : 0;
    if (final == 'I' && (kv_dec_seqis(p, "2 I") || kv_dec_seqis(p, "7 I")))
        w->unitcode = p->seqbuf[0];
    return KV_SUCCESS;
}

// DECSIXEL: the application's own sixel data passes as it comes.
kv_status kv_ln03_sixelstart(kv_glor* s, kv_decparser* p) {
    p->seqstate = KV_DEC_SIXEL;
    return kv_dec_sendseq(s, p, 'P');
}

kv_status kv_ln03_front(kv_glor* s, int32_t c);

// No position is tracked; a line feed or carriage return held back must go
// out before the next line's text. A CR or LF goes where kv_ln03_front
// sends it.
constexpr kv_plainrun kRun = {kv_dec_plain.data(), nullptr, kv_pp_idle, kv_pp_lineend};

// Text goes on as it comes, the plain text after a byte in runs.
kv_status kv_ln03_text(kv_glor* s, int32_t c) {
    kv_status st = kv_send(s, c);
    if (kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}

const kv_dechooks kHooks = {
    kv_ln03_text,       // text
    kv_send,            // controls are all sent
    kv_ln03_csiuses,    // control sequences
    kv_ln03_sixelstart, // sixel introducer
    kv_send,            // sixel data
    kv_ln03_initinfo,   // RIS, DECSTR
    true,               // OSC, PM, APC text passes
    kv_ln03_front,      // held line feeds, squeezed carriage returns
};
} // namespace

kv_status kv_ln03_dispatch(kv_glor* s, int32_t c) {
    return kv_dec_feed(s, &kv_ln03_w(s)->parser, kHooks, c);
}

namespace {
// Line feeds held back go out before anything else that is printed; a form
// feed drops them. Carriage returns after the first of a row are dropped
// while squeezing.
kv_status kv_ln03_front(kv_glor* s, int32_t c) {
    c &= 0xFF;
    switch (c) {
    case '\f':
        kv_pp_newpage(s);
        return kv_ln03_dispatch(s, c);
    case '\n':
    case '\r':
        // The parser sends them on in every state.
        return kv_pp_lineend(s, c);
    default: {
        kv_status st = kv_pp_release(s, kv_ln03_dispatch);
        return jerr_uperr(&st, kv_ln03_dispatch(s, c));
    }
    }
}
} // namespace

kv_status kv_ln03_initinfo(kv_glor* s) {
    kv_ln03_work* w = kv_drvwork_init<kv_ln03_work>(s);
    kv_dec_init(&w->parser);
    w->unitcode = '2';
    w->pumset = 0;
    // The printer keeps its own cursor: no position is tracked, and the page
    // length counts lines.
    kv_initgeometry(s, 300, 300, 1, 1, 66, 1);
    return KV_SUCCESS;
}

kv_status kv_ln03_initprn(kv_glor* s) {
    kv_status st = kv_ln03_initinfo(s);
    if (kv_ok(st) && s->resetstart == 1) st = kv_lprintqstr(s, kv_ln03_strqstr);
    return st;
}

kv_status kv_ln03_qoutc(kv_glor* s, int32_t c) {
    return kv_dec_qoutc(s, &kv_ln03_w(s)->parser, kHooks, c);
}
