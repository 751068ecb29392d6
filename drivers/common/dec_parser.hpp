// The DEC escape / control-sequence / device-control-string parser shared by
// the LA75 and LN03+ drivers. One explicit state machine: control bytes are
// handled before the state switch, printable bytes go to the one place of the
// state they arrive in. Every sequence is passed on once it is complete (a
// driver hook sees it first and may track it); the application's own sixel
// data goes byte by byte to a driver hook. ESC is answered at once with a
// string terminator, so that a string the printer may still be inside is
// closed before the new sequence starts.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/kit.hpp"

enum kv_decstate : int32_t {
    KV_DEC_TEXT = 0,   // ordinary text
    KV_DEC_ESC = 1,    // ESC seen: intermediates and the final byte follow
    KV_DEC_CSI = 2,    // ESC [ (CSI): parameters and the final byte follow
    KV_DEC_DCS = 3,    // ESC P (DCS): parameters up to the final byte follow
    KV_DEC_STRING = 4, // inside a string other than sixel data, up to ESC, CAN or SUB
    KV_DEC_SIXEL = 5,  // inside the application's sixel data
};

// Longest sequence collected for tracking; a longer one is sent as collected
// and the rest of it passes byte by byte.
inline constexpr int32_t KV_DEC_SEQMAX = 253;

// Parser state; lives in the driver's work area so that it belongs to the
// translation, not to the process.
struct kv_decparser {
    int32_t seqstate;   // kv_decstate
    int32_t seqlen;     // bytes in seqbuf
    int32_t overflowed; // the sequence outgrew seqbuf and was sent as collected
    int32_t passstring; // in KV_DEC_STRING: the string's bytes are sent, not absorbed
    uint8_t seqbuf[KV_DEC_SEQMAX + 3]; // the sequence without its ESC, NUL-terminated
};

// What a driver adds to the parser. Every hook is called with the byte (for
// `text` and `sixel` as read, 8 bits) and returns a status.
struct kv_dechooks {
    // A printable byte (not DEL) in ordinary text.
    kv_status (*text)(kv_glor* s, int32_t c);
    // A control byte other than ESC, in any state; the parser applies CAN and
    // SUB to its own state afterwards.
    kv_status (*control)(kv_glor* s, int32_t c);
    // A complete control sequence: seqbuf holds its parameter and
    // intermediate bytes followed by the final byte. Sets *consumed when the
    // driver acted on it itself and it must not be sent.
    kv_status (*csi)(kv_glor* s, kv_decparser* p, int32_t final, bool* consumed);
    // The final byte q of a sixel introducer (seqbuf holds "<params>q"): the
    // driver sends the introducer and leaves the parser in KV_DEC_SIXEL, or
    // in KV_DEC_STRING when the introducer grew too long.
    kv_status (*sixelstart)(kv_glor* s, kv_decparser* p);
    // A printable byte of the application's sixel data.
    kv_status (*sixel)(kv_glor* s, int32_t c);
    // ESC c (RIS) and CSI ! p (DECSTR): the printer resets.
    kv_status (*reset)(kv_glor* s);
    // Whether the text of ESC ] (OSC), ESC ^ (PM) and ESC _ (APC) strings is
    // sent on; a device control string other than sixel always is.
    bool passcontrolstrings;
    // Every byte the byte loop takes goes here instead of straight to
    // kv_dec_feed when set (a driver that holds line feeds back, say); it
    // calls kv_dec_feed itself.
    kv_status (*front)(kv_glor* s, int32_t c) = nullptr;
};

void kv_dec_init(kv_decparser* p);
// Takes one byte.
kv_status kv_dec_feed(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t c);
// The byte loop of a driver's qoutc slot: takes c and then reads (lgetc) and
// takes bytes until the parser is back in ordinary text, so that a whole
// sequence, or a whole sixel string of the application, is consumed in one
// call and none of its bytes is tested for command or data triggers. When
// the input ends inside a sequence, what was collected of it is sent.
kv_status kv_dec_qoutc(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t c);

// The numeric parameter of a control sequence: 0 when there are no parameter
// bytes, the decimal value of 1 to 4 digits; false (no tracking) for
// anything else (several parameters, intermediates, more than 4 bytes).
bool kv_dec_param(const kv_decparser* p, int32_t* value);
// Whether seqbuf is exactly `text`.
bool kv_dec_seqis(const kv_decparser* p, const char* text);
// Sends ESC, `introducer` (0 for none) and seqbuf.
kv_status kv_dec_sendseq(kv_glor* s, const kv_decparser* p, int32_t introducer);
// Bytes that only print in ordinary text: everything but the controls, DEL
// and 0xFF. After one of them the text that follows may go on in one run.
inline constexpr auto kv_dec_plain =
    kv_bytetable([](int32_t c) { return (c & 0x60) != 0 && (c & 0x7F) != 0x7F; });
// Appends a byte to seqbuf; false when it is full.
bool kv_dec_append(kv_decparser* p, int32_t b);

// lgetc for the DEC printers: an 8-bit C1 control (0x80..0x9F) is delivered
// as ESC followed by its 7-bit form (the byte minus 64, pushed back).
kv_status kv_dec_lgetc(kv_glor* s, int32_t* c);
