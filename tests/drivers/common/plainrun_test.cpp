// The plain-text run path against the byte loop it stands in for: every
// driver that takes runs, fed the same job once from a string (byte by byte,
// no run is ever taken) and once through the byte layer (runs across spaces
// and line ends), must print the same bytes, report the same messages at the
// same lines and end with the same head position, paper position and line
// count.
#include <gtest/gtest.h>

#include <string>

#include "drivers/epson/epson.hpp"
#include "drivers/hplaser/hplaser.hpp"
#include "drivers/ibm/ibm.hpp"
#include "drivers/la75/la75.hpp"
#include "drivers/ln03/ln03.hpp"
#include "drivers/prntrnx/prntrnx.hpp"
#include "tests/support/harness.hpp"

namespace {
struct Driver {
    const char* name;
    kv_prnslots slots;
    bool squeeze; // also run with held line feeds and squeezed carriage returns
};

struct Job {
    const char* name;
    std::string in;
};

// Jobs without printer commands that carry binary counts: a string source
// delivers those with the CR a text LF gains, the byte layer without it.
std::vector<Job> jobs() {
    const std::string longline(70000, 'x'); // beyond one block of read-ahead
    std::string spaced;
    for (int i = 0; i < 200; ++i) spaced += "w ";
    return {
        {"lines of text", "The quick brown fox\njumps over\nthe lazy dog.\n"},
        {"empty lines between", "\n\na\n\n\nb c\n\n"},
        {"input ends inside a line", "first\nlast without LF"},
        {"a line longer than the read-ahead", longline + "\nafter " + longline + " tail"},
        {"spaces everywhere", spaced + "\n" + spaced},
        {"sequences padded", "ab |H20| cd ~AB12~ ef\nnext line ~X~\n"},
        // A one-byte delimiter leaves the byte after it pushed back, which
        // stops a run anyway; a longer one does not.
        {"sequences padded after two-byte delimiters",
         "|X<<|ab <<H20<< cd <<Q>><< ef >>AB12>> gh\nnext\n"},
        {"sequences not padded", "|P0|ab |H20| cd ~AB12~ ef\nnext\n|P1|"},
        {"a bad sequence reports its line", "one\ntwo |H999999| three\nfour |Q| five\n"},
        {"a field pending over the next lines",
         "|BCODE39 H60|~AB~ label\nline two\nline three\nline four\nline five\n"},
        {"delimiters changed", "|X#| a | b #H20# c\n~d~ #Q%# %EF% ~ |\n#X{# {H20{ } z\n"},
        {"controls among the text", "a\tb\tc\x08\x08x\rover\ndone\x0cpage\x0bvt\nend\n"},
        {"backspace after a line taken in a run", "first\nxyz\x08\x08_ tail"},
        {"double width ends with the line", "\x0ewide line\nnormal line\n\x0e\x14off\n"},
        {"CR LF in the input", "dos line\r\nnext\r\n\r\n"},
        {"eight-bit text", "caf\xe9 na\xefve \xfc\xe8\xff\x80\x9b\nend\n"},
        {"doubled delimiters", "a || b ~~ c\n||\n~~\n"},
        // A line held until its LF: typed over after a CR, and plot lines
        // (ENQ, EOT) between lines of text.
        {"overstrike and plot lines",
         "hello world\r_____\nab\rxy__\n\x05@@AB\nafter\x04!!\n\x0ewide\x0f text\n"},
    };
}

TEST(PlainRun, SameAsTheByteLoop) {
    const Driver drivers[] = {
        {"Epson 24-pin", kv_epson_slots(400), false},
        {"Epson 9-pin", kv_epson_slots(384), false},
        {"IBM", kv_ibm_slots, false},
        {"LA75", kv_la75_slots, false},
        {"LN03", kv_ln03_slots, true},
        {"HP", kv_hplaser_slots, true},
        {"Printronix", kv_mvp_slots, false},
    };
    for (const Driver& d : drivers) {
        for (int squeeze = 0; squeeze <= (d.squeeze ? 1 : 0); ++squeeze) {
            for (const Job& j : jobs()) {
                SCOPED_TRACE(std::string(d.name) + (squeeze ? ", squeezed: " : ": ") + j.name);
                Harness bytes(d.slots);
                Harness runs(d.slots);
                for (Harness* h : {&bytes, &runs}) {
                    h->state->squishcr = squeeze;
                    h->state->holdlf = squeeze;
                }
                bytes.run(j.in, true);
                runs.runlayer(j.in);
                EXPECT_EQ(runs.output, bytes.output);
                EXPECT_EQ(runs.messages, bytes.messages);
                EXPECT_EQ(runs->hpos, bytes->hpos);
                EXPECT_EQ(runs->vpos, bytes->vpos);
                EXPECT_EQ(runs->lineno, bytes->lineno);
                EXPECT_EQ(runs->pitch, bytes->pitch);
            }
        }
    }
}
} // namespace
