// What every printer driver shares: action tables keyed by a control code or
// escape letter, pass-through of parameter bytes, the standard byte slots and
// the plain-text run path. A driver is then mostly its tables and strings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/driver/printops.hpp"

// A handler of a control code or escape sequence, given the byte it stands for.
using kv_action_fn = kv_status (*)(kv_glor* s, int32_t c);

// One {code, handler} pair; a table ends with a pair whose handler is null.
struct kv_action {
    int32_t code;
    kv_action_fn fn;
};

// The handler of the first pair whose code is `code`, or null at the end pair.
constexpr kv_action_fn kv_findaction(const kv_action* table, int32_t code) {
    for (const kv_action* a = table; a->fn != nullptr; ++a)
        if (a->code == code) return a->fn;
    return nullptr;
}

// The table's look-up done once for every code below N at compile time, so a
// byte costs one index instead of a walk through the table. The table's last
// entry is its end pair. Only codes are compared (a sanitized build cannot
// compare a function's address with null at compile time): the pairs are
// taken last first, so the first pair of a code wins as kv_findaction's walk
// would have it.
template <size_t N> using kv_actionindex = std::array<kv_action_fn, N>;
template <size_t N, size_t M>
constexpr kv_actionindex<N> kv_indexactions(const kv_action (&table)[M]) {
    kv_actionindex<N> t{};
    for (size_t i = M - 1; i-- > 0;) {
        const int32_t code = table[i].code;
        if (code >= 0 && static_cast<size_t>(code) < N) t[static_cast<size_t>(code)] = table[i].fn;
    }
    return t;
}
// True when the table (last entry its end pair) has a pair for `code`.
template <size_t M> constexpr bool kv_hasaction(const kv_action (&table)[M], int32_t code) {
    for (size_t i = 0; i + 1 < M; ++i)
        if (table[i].code == code) return true;
    return false;
}

// A 256-entry byte class table (1 = in the class) built from a predicate.
template <class Pred> constexpr std::array<uint8_t, 256> kv_bytetable(Pred in) {
    std::array<uint8_t, 256> t{};
    for (int32_t c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = in(c) ? 1 : 0;
    return t;
}

// The standard lprintc slot (below).
kv_status kv_std_lprintc(kv_glor* s, int32_t c);
// One byte to the printer through the lprintc slot; with the standard slot
// and the byte layer as the sink, written at once.
inline kv_status kv_send(kv_glor* s, int32_t c) {
    if (s->lprintc != kv_std_lprintc) return s->lprintc(s, c);
    if (s->xoutfunc == kv_xoutfunc) return kv_xoutfunc(s->xoutarg, &c);
    return kv_pprintc(s, c);
}
// One input byte through the lgetc slot.
inline kv_status kv_readbyte(kv_glor* s, int32_t* c) {
    return s->lgetc(s, c);
}
// Sends a byte string of known length through lprintc.
kv_status kv_sendbytes(kv_glor* s, const int32_t* bytes, size_t n);

// Reads a parameter byte through lgetc and sends it on at once. A read that
// meets the end of the input sends nothing: the byte it returns was never input.
kv_status kv_passbyte(kv_glor* s, int32_t* c);
// Binary bytes of a printer command (counts, bit images, fonts, binary
// parameters) are read raw: as they stand in the input, a byte 10 without the
// CR that text gains, so the printer gets exactly what the job holds and a
// count never reaches into the text. 0 is stored once the input has ended.
kv_status kv_readrawbyte(kv_glor* s, int32_t* c);
// kv_readrawbyte, and the byte sent on at once; nothing at the end of the input.
kv_status kv_passrawbyte(kv_glor* s, int32_t* c);
// A 16-bit binary parameter, low byte first, both read raw and sent;
// sign-extended.
kv_status kv_passw(kv_glor* s, int32_t* value);
// Passes n bytes unexamined and raw (a data block), stopping when the input ends.
kv_status kv_passn(kv_glor* s, int32_t n);
// Passes a list of ascending binary bytes, read raw: reads (and sends) bytes
// until one is not greater than the one before (the first is compared with
// -1; that byte ends the list and is sent too) or `most` bytes are stored in
// `list`. Returns how many were stored in *count.
kv_status kv_passascending(kv_glor* s, int32_t most, int32_t* list, int32_t* count);

// The escape dispatch of the ESC-letter printer languages: reads the letter,
// looks up its low seven bits in `index` and calls the handler with the
// letter, or `unknown` when there is none. An ESC that ends the input is
// still sent.
kv_status kv_escdispatch(kv_glor* s, const kv_actionindex<128>& index, kv_action_fn unknown);
// Escape handlers that only pass the sequence on: ESC and the letter, then
// none or one binary parameter byte (read raw).
kv_status kv_esc_pass0(kv_glor* s, int32_t e);
kv_status kv_esc_pass1(kv_glor* s, int32_t e);

// Tracked escape sequences that the ESC-letter impact printers share; each
// passes the sequence on (ESC, letter, binary parameters read raw) and then:
// ESC C n / ESC C 0 m: page length n lines, or m inches when n is 0 (m = 0
// changes nothing); vpos restarts whenever the page length changes.
kv_status kv_esc_pagelength(kv_glor* s, int32_t e);
// ESC 3 n: line spacing n/3 dots (n > 0).
kv_status kv_esc_spacing3(kv_glor* s, int32_t e);

// Moves an impact printer's head to position p (head units from the left
// margin) without an absolute move: CR, as many spaces of the current pitch
// as fit, then the rest as empty graphics columns: `startgline(rest)`
// followed by `colbytes` zero bytes a column. hpos becomes p.
kv_status kv_headto(kv_glor* s, int32_t p, kv_status (*startgline)(kv_glor* s, int32_t n),
                    int32_t colbytes);

// The power-on geometry every driver's initialisation sets: resolutions,
// cell width and line spacing; the page length `pagelen`, or the configured
// page length in lines (1 to 999) times `lineunit`; the head at the left
// margin and the top of the page, no extra dot offset, auto line feed off.
void kv_initgeometry(kv_glor* s, int32_t hdpi, int32_t vdpi, int32_t pitch, int32_t linespace,
                     int32_t pagelen, int32_t lineunit);

// Reads the next input byte; `idle` is the byte stored when nothing is read
// (the input has ended or the translation unwinds).
kv_status kv_lgetc_or(kv_glor* s, int32_t* c, int32_t idle);
// The standard lgetc slot: 0 when nothing is read.
kv_status kv_std_lgetc(kv_glor* s, int32_t* c);
// The standard lprintc slot. Bytes go on after the end of the input as well,
// so that every byte read reaches the printer (the byte layer refuses output
// only after a failed write).
kv_status kv_std_lprintc(kv_glor* s, int32_t c);
// A band driver fills the endinput slot too, so that what is pending at the
// end of the input prints: see kv_bandendinput (band.hpp).
// A run of bytes to the printer (graphics data): in one write when the lprintc
// slot is the standard one, else byte by byte through the slot, so that a
// driver or test that wraps the slot still sees every byte.
kv_status kv_sendrun(kv_glor* s, const uint8_t* bytes, size_t n);
// The specialcmd slot of a driver that gives command Z no meaning.
kv_status kv_std_specialcmd(kv_glor* s, char* text);

// How a driver's plain text goes on in runs.
struct kv_plainrun {
    // Bytes that only print: the emulation does nothing with them but, perhaps,
    // move the head one cell each.
    const uint8_t* plain;
    // Moves the head over n > 0 such bytes just sent, as n of them sent one by
    // one would; null when the driver tracks no position.
    void (*advance)(kv_glor* s, size_t n);
    // After a line end: whether the next line's plain bytes may follow with
    // nothing of the driver's before them (a held line feed, say); null: always.
    bool (*linefree)(kv_glor* s);
    // What the qoutc slot does with a CR or a LF in plain text, called in its
    // place (a driver whose slot first passes through a sequence parser);
    // null: the qoutc slot.
    kv_qoutc_fn lineend = nullptr;
    // Where a driver that holds its line until the line end puts the run
    // instead of sending it; null: sent at once.
    void (*hold)(kv_glor* s, const uint8_t* run, size_t n) = nullptr;
};

// The plain-text run path, called by a driver's qoutc slot after it has sent
// (or held) a byte of text. The text that follows goes on in one piece, line
// after line: the plain bytes already read ahead that cannot open a command or
// data sequence, in one write a line (or into the line the driver holds), and
// at each LF read ahead the CR and the LF the byte loop would hand the qoutc
// slot, handed to it here, so that the driver's own line end does what it
// always does. Stops where the byte loop must take over (a byte that is not
// plain, a delimiter, the end of what is read ahead, the padding of a
// sequence), as soon as the driver's line end fails or the translation
// unwinds, and when `linefree` says no. The CR and LF are read as kv_pgetc
// reads them: the driver's lgetc slot must give them as they are, with nothing
// else done, while its emulation is in plain text.
kv_status kv_sendplainrun(kv_glor* s, const kv_plainrun& r);
