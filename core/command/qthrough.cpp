#include "core/command/qthrough.hpp"

#include <cstring>

#include "core/command/ftypes.hpp"
#include "core/command/qparams.hpp"
#include "core/driver/printops.hpp"
#include "core/driver/qstrops.hpp"
#include "core/driver/report.hpp"
#include "core/fields/fieldmake.hpp"

namespace {
inline int32_t dbyte(const char* d, size_t i) { return kv_dlmbyte(d, i); }

// After the first character of a multi-character delimiter: reads and
// compares the rest. On a mismatch the input is restored exactly as it was
// after the first character. Returns 1 on a full match. `n` (if given) counts
// bytes read and is uncounted for bytes pushed back.
int matchrest(kv_glor* s, const char* d, int32_t* n) {
    size_t len = qstr_len(d);
    size_t i = 1;
    int32_t c = 0;
    for (; i < len; ++i) {
        s->lgetc(s, &c);
        if (kv_breakall(s)) return 0;
        if (n != nullptr) ++*n;
        if (c != dbyte(d, i)) break;
    }
    if (i == len) return 1;
    kv_pungetc(s, c);
    for (size_t k = i; k-- > 1;) kv_pungetc(s, dbyte(d, k));
    if (n != nullptr) *n -= static_cast<int32_t>(i);
    return 0;
}
} // namespace

kv_status kv_initqthrough(kv_glor* s) {
    s->pitch = s->savedpitch;
    s->linespace = s->savedspacing;
    s->hpos = 0;
    s->hdots = 0;
    std::memcpy(s->ftypes, kv_defftypes, sizeof s->ftypes);
    s->curtype = &s->ftypes[0];
    s->padflag = 1;
    s->ornt = 0;
    s->textopt = 0;
    s->compaction = 'A';
    s->aspect = 0.0f;
    s->codewidth = 0;
    s->codeheight = 36;
    s->density = (s->prncode == 640 || s->prncode == 768) ? 0 : 1;
    qstr_cpy(s->cmddlm, "|");
    qstr_cpy(s->datadlm, "~");
    return KV_SUCCESS;
}

kv_status kv_qthrough(kv_glor* s) {
    kv_status st = KV_SUCCESS;
    while (!s->stop) {
        if (s->restart) {
            s->restart = 0;
            jerr_uperr(&st, kv_initqthrough(s));
            jerr_uperr(&st, s->initprn(s));
            char init[sizeof s->initcmd];
            qstr_cpy(init, s->initcmd);
            jerr_uperr(&st, kv_qusecommands(s, init));
        }
        while (!kv_breakall(s)) {
            int32_t c = 0;
            jerr_uperr(&st, s->lgetc(s, &c));
            const bool handled = !kv_breakall(s);
            if (handled) {
                // Most bytes open no sequence: test the first delimiter bytes here.
                if (c == dbyte(s->datadlm, 0) && kv_triggercheck(s, s->datadlm, c))
                    jerr_uperr(&st, kv_qdata(s));
                else if (c == dbyte(s->cmddlm, 0) && kv_triggercheck(s, s->cmddlm, c))
                    jerr_uperr(&st, kv_qcommand(s));
                else
                    jerr_uperr(&st, s->qoutc(s, c));
            }
            if (kv_failed(st)) {
                kv_flagerr(s, st);
                // A reported failure costs only its item, also when the item
                // ended with the last byte of the input and so stopped the
                // loop: where a bad sequence stands must not decide the
                // job's outcome. Fatal failures, and failures of no input
                // byte, still end the pass.
                if (!s->stop || (handled && kv_isfacility(st))) {
                    s->status = KV_SUCCESS;
                    st = KV_SUCCESS;
                }
            }
        }
    }
    // Every byte of the input is handled: what the driver still holds back
    // (a symbol on the last line, the lower part of a tall one) is printed
    // now, or it would be lost with the pass. Not after a fatal failure.
    if (kv_ok(st) && s->endinput != nullptr) jerr_uperr(&st, s->endinput(s));
    return st;
}

int kv_triggercheck(kv_glor* s, const char* d, int32_t c) {
    if (c != dbyte(d, 0)) return 0;
    if (qstr_len(d) == 1) {
        int32_t c2 = 0;
        s->lgetc(s, &c2);
        if (kv_breakall(s)) return 0;
        if (c2 == c) return 0; // doubled delimiter: one ordinary byte
        kv_pungetc(s, c2);
        return 1;
    }
    return matchrest(s, d, nullptr);
}

kv_status kv_qreaduntil(kv_glor* s, const char* d, int quoting, char* buffer, size_t bufcap,
                        int32_t limit, int32_t* consumed, int* closedout) {
    kv_status st = KV_SUCCESS;
    int32_t n = 0;
    size_t len = 0;
    const bool single = qstr_len(d) == 1;
    bool closed = false;
    bool inquote = false;
    buffer[0] = '\0';

    auto store = [&](int32_t c) -> bool {
        if (n >= limit || len + 1 >= bufcap) {
            st = KV_STROVFL;
            return false;
        }
        buffer[len++] = static_cast<char>(c);
        return true;
    };

    while (!closed && kv_ok(st) && !kv_breakall(s)) {
        int32_t c = 0;
        s->lgetc(s, &c);
        if (kv_breakall(s)) break;
        ++n;
        if (inquote) {
            if (store(c) && c == '"') inquote = false;
            continue;
        }
        if (quoting && c == '"') {
            if (store(c)) inquote = true;
            continue;
        }
        if (c == dbyte(d, 0)) {
            if (single) {
                int32_t c2 = 0;
                s->lgetc(s, &c2);
                if (kv_breakall(s)) {
                    // The closing delimiter was the last byte of the input.
                    closed = true;
                    break;
                }
                ++n;
                if (c2 == c) {
                    store(c);
                } else {
                    kv_pungetc(s, c2);
                    --n;
                    closed = true;
                }
            } else if (matchrest(s, d, &n)) {
                closed = true;
            } else {
                store(c);
            }
            continue;
        }
        store(c);
    }
    buffer[len] = '\0';
    *consumed = n;
    if (closedout != nullptr) *closedout = closed ? 1 : 0;
    return st;
}

kv_status kv_qcommand(kv_glor* s) {
    char body[KV_CMDBUF];
    int32_t consumed = 0;
    int closed = 0;
    kv_status st =
        kv_qreaduntil(s, s->cmddlm, 1, body, sizeof body, KV_CMDLIMIT, &consumed, &closed);
    if (kv_failed(st) || !closed) return st;
    kv_qoutpad(s, consumed + static_cast<int32_t>(qstr_len(s->cmddlm)));
    return kv_qusecommands(s, body);
}

kv_status kv_qdata(kv_glor* s) {
    char body[KV_DATABUF];
    int32_t consumed = 0;
    int closed = 0;
    kv_status st =
        kv_qreaduntil(s, s->datadlm, 0, body, sizeof body, KV_DATALIMIT, &consumed, &closed);
    if (kv_failed(st) || !closed) return st;
    jerr_uperr(&st, kv_fieldmake(s, s->pitch, s->hpos, s->hdots, body));
    if ((kv_ok(st) || st == KV_IVBARC) && s->lplotcode != nullptr)
        jerr_uperr(&st, s->lplotcode(s));
    kv_qoutpad(s, consumed + static_cast<int32_t>(qstr_len(s->datadlm)));
    return st;
}

kv_status kv_qusecommands(kv_glor* s, char* body) {
    kv_status st = KV_SUCCESS;
    uint32_t count = qstr_countparms(body, ' ');
    for (uint32_t i = 0; i < count; ++i) {
        char parameter[KV_CMDBUF];
        qstr_parse(body, parameter, ' ');
        jerr_uperr(&st, kv_quseparm(s, parameter));
    }
    return st;
}

kv_status kv_qoutpad(kv_glor* s, int32_t n) {
    if (s->padflag != 0) {
        s->padding = 1;
        for (int32_t i = 0; i < n; ++i) s->qoutc(s, ' ');
        s->padding = 0;
    }
    return KV_SUCCESS;
}
