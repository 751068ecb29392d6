// The DEC sequence parser as streams: push these bytes, expect these events
// and these printer bytes.
#include <gtest/gtest.h>

#include <string>

#include "core/driver/printops.hpp"
#include "drivers/common/dec_parser.hpp"
#include "tests/support/harness.hpp"

namespace {
// What the hooks saw: T<byte> text, K<byte> control, C[<sequence>] control
// sequence, Q[<introducer>] sixel start, S<byte> sixel data, R reset.
std::string events;

kv_status send(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}

kv_status on_text(kv_glor* s, int32_t c) {
    events += 'T';
    events += static_cast<char>(c);
    return send(s, c);
}
kv_status on_control(kv_glor* s, int32_t c) {
    events += 'K';
    events += static_cast<char>(c);
    return send(s, c);
}
kv_status on_csi(kv_glor*, kv_decparser* p, int32_t, bool*) {
    events += "C[" + std::string(reinterpret_cast<const char*>(p->seqbuf)) + "]";
    return KV_SUCCESS;
}
kv_status on_sixelstart(kv_glor* s, kv_decparser* p) {
    events += "Q[" + std::string(reinterpret_cast<const char*>(p->seqbuf)) + "]";
    p->seqstate = KV_DEC_SIXEL;
    return kv_dec_sendseq(s, p, 'P');
}
kv_status on_sixel(kv_glor* s, int32_t c) {
    events += 'S';
    events += static_cast<char>(c);
    return send(s, c);
}
kv_status on_reset(kv_glor*) {
    events += 'R';
    return KV_SUCCESS;
}

kv_decparser parser;

kv_status test_qoutc(kv_glor* s, int32_t c);

kv_prnslots slots() {
    return {9999,    kv_dec_lgetc, kv_pprintc, nullptr, nullptr,
            nullptr, nullptr,      nullptr,    nullptr, test_qoutc};
}

struct Result {
    std::string out;
    std::string events;
};

// Reads the input as the command stream does (lgetc) and hands each byte
// that starts something to the parser's byte loop.
Result push(const std::string& in, bool passcontrolstrings) {
    static bool pass = false;
    pass = passcontrolstrings;
    Harness h(slots());
    h->restart = 0;
    h.input = in;
    kv_dec_init(&parser);
    events.clear();
    struct Runner {
        static kv_status qoutc(kv_glor* s, int32_t c) {
            kv_dechooks hooks{on_text, on_control, on_csi, on_sixelstart, on_sixel, on_reset, pass};
            return kv_dec_qoutc(s, &parser, hooks, c);
        }
    };
    while (true) {
        int32_t c = 0;
        h->lgetc(h.state.get(), &c);
        if (kv_breakall(h.state.get())) break;
        EXPECT_EQ(parser.seqstate, KV_DEC_TEXT) << "state left between bytes";
        Runner::qoutc(h.state.get(), c);
    }
    return {h.output, events};
}

kv_status test_qoutc(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}

const std::string ST = "\x1b\\";
} // namespace

TEST(DecParser, StreamsOfSequences) {
    struct Case {
        const char* name;
        std::string in;
        bool pass; // text of OSC/PM/APC strings is sent
        std::string out;
        std::string events;
    };
    const std::string digits300(300, '7');
    const Case cases[] = {
        {"text", "Ab", false, "Ab", "TATb"},
        {"DECSHORP: ST first, then the sequence", "\x1b[2w", false, ST + "\x1b[2w", "C[2w]"},
        {"8-bit CSI is ESC [",
         "\x9b"
         "3z",
         false, ST + "\x1b[3z", "C[3z]"},
        {"two parameters pass unchanged", "\x1b[5;1H", false, ST + "\x1b[5;1H", "C[5;1H]"},
        {"escape with intermediate (SCS)", "\x1b(Bx", false, ST + "\x1b(Bx", "Tx"},
        {"OSC text absorbed", "\x1b]text\x1b\\", false, ST + "\x1b]" + ST + ST, ""},
        {"OSC text passed", "\x1b]text\x1b\\", true, ST + "\x1b]text" + ST + ST, ""},
        {"soft font: DCS other than sixel passes", "\x1bP1;2|text\x1b\\", false,
         ST + "\x1bP1;2|text" + ST + ST, ""},
        {"8-bit DCS and ST",
         "\x90"
         "1;1{AB\x9c",
         false, ST + "\x1bP1;1{AB" + ST + ST, ""},
        {"DEL and 0xFF never sent",
         "A\x7f\xff"
         "B",
         false, "AB", "TATB"},
        {"sixel data to the driver", "\x1bPq?~-\x1b\\", false, ST + "\x1bPq?~-" + ST + ST,
         "Q[q]S?S~S-"},
        {"SUB inside sixel stays sixel", "\x1bPq?\x1a~\x1b\\", false, ST + "\x1bPq?\x1a~" + ST + ST,
         "Q[q]S?K\x1aS~"},
        {"SUB ends a string",
         "\x1b]ab\x1a"
         "c",
         true,
         ST + "\x1b]ab\x1a"
              "c",
         "K\x1aTc"},
        {"CAN ends sixel data", "\x1bPq?\x18~", false, ST + "\x1bPq?\x18~", "Q[q]S?K\x18T~"},
        {"CAN cancels a sequence", "\x1b[12\x18x", false, ST + "\x18x", "K\x18Tx"},
        {"controls act inside a sequence", "\x1b[1\r2w", false, ST + "\r\x1b[12w", "K\rC[12w]"},
        {"RIS",
         "\x1b"
         "c",
         false,
         ST + "\x1b"
              "c",
         "R"},
        {"DECSTR", "\x1b[!p", false, ST + "\x1b[!p", "C[!p]R"},
        {"8-bit text above the controls", "\xe9", false, "\xe9", "T\xe9"},
        {"string bytes go as 7 bits", "\x1bP{\xc1\x1b\\", false, ST + "\x1bP{A" + ST + ST, ""},
        // Too long to track: sent as collected, the rest passes, no ESC mid-string.
        {"CSI over 253 bytes", "\x1b[" + digits300 + "w", false, ST + "\x1b[" + digits300 + "w",
         ""},
        {"DCS introducer over 253 bytes", "\x1bP" + digits300 + "q??\x1b\\", false,
         ST + "\x1bP" + digits300 + "q??" + ST + ST, ""},
        {"string over 253 bytes", "\x1b]" + digits300 + "\x1b\\", true,
         ST + "\x1b]" + digits300 + ST + ST, ""},
        // Cut off by the end of the input: what was read still goes out.
        {"ESC last", "a\x1b", false, "a" + ST + "\x1b", "Ta"},
        {"CSI cut off", "\x1b[12", false, ST + "\x1b[12", ""},
        {"DCS introducer cut off", "\x1bP1;", false, ST + "\x1bP1;", ""},
        {"OSC cut off", "\x1b]abc", true, ST + "\x1b]abc", ""},
        {"sixel cut off", "\x1bPq~~", false, ST + "\x1bPq~~", "Q[q]S~S~"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = push(c.in, c.pass);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.events, c.events);
    }
}

TEST(DecParser, NumericParameter) {
    struct Case {
        std::string seq; // parameter bytes and final byte
        bool valid;
        int32_t value;
    };
    const Case cases[] = {
        {"w", true, 0},      {"2w", true, 2},      {"1234z", true, 1234},
        {"0012a", true, 12}, {"12345a", false, 0}, {"5;1H", false, 0},
        {"?5h", false, 0},   {"7 I", false, 0},    {"!p", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seq);
        kv_decparser p;
        kv_dec_init(&p);
        for (char b : c.seq) kv_dec_append(&p, b);
        int32_t v = -1;
        EXPECT_EQ(kv_dec_param(&p, &v), c.valid);
        if (c.valid) {
            EXPECT_EQ(v, c.value);
        }
    }
}

TEST(DecParser, BufferNeverOverruns) {
    kv_decparser p;
    kv_dec_init(&p);
    int taken = 0;
    for (int i = 0; i < 1000; ++i) taken += kv_dec_append(&p, 'x') ? 1 : 0;
    EXPECT_EQ(taken, KV_DEC_SEQMAX + 1);
    EXPECT_EQ(p.seqbuf[p.seqlen], 0);
}
