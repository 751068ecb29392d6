// The LN03+ driver as scripts: bytes in, printer bytes out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "drivers/ln03/ln03.hpp"
#include "preview/dec_page.hpp"
#include "tests/support/harness.hpp"

namespace {
const std::string kReset = "\x1b[!p";
const std::string ST = "\x1b\\";
const std::string kOn = "\x1b[11h\x1b[7 I";  // PUM on, pixels
const std::string kOff = "\x1b[11l\x1b[2 I"; // back to the application's modes

// Output of a job after the soft reset of the initialisation.
std::string script(const std::string& in, bool squish = false) {
    Harness h(kv_ln03_slots);
    h->squishcr = h->holdlf = squish ? 1 : 0;
    std::string out = h.run(in);
    if (out.compare(0, kReset.size(), kReset) != 0) return "<no reset> " + out;
    return out.substr(kReset.size());
}

// Sixels of Code 39 elements (ANSI/AIM BC1 patterns, 1 = wide) at narrow 1
// and wide 3 band dots, each character followed by its narrow gap: a bar
// column is "~" (all six rows), a space "?".
std::string c39sixels(const std::string& text) {
    auto pattern = [](char c) -> std::string {
        switch (c) {
        case '*':
            return "010010100";
        case '1':
            return "100100001";
        default:
            return "";
        }
    };
    std::string s;
    for (char c : "*" + text + "*") {
        const std::string p = pattern(c);
        for (size_t i = 0; i < p.size(); ++i)
            s += std::string(p[i] == '1' ? 3 : 1, i % 2 == 0 ? '~' : '?');
        s += '?';
    }
    s.pop_back(); // the last gap is an empty run and is not sent
    return s;
}
} // namespace

TEST(Ln03, InitialisationAndReset) {
    Harness h(kv_ln03_slots);
    EXPECT_EQ(h.run(""), kReset);
    EXPECT_EQ(h->pitch, 1);
    EXPECT_EQ(h->linespace, 1);
    EXPECT_EQ(h->pagelen, 66);
    EXPECT_EQ(h->density, 0); // this printer's default
    EXPECT_EQ(kv_ln03_w(h.state.get())->unitcode, '2');
    EXPECT_EQ(kv_ln03_w(h.state.get())->pumset, 0);
    Harness quiet(kv_ln03_slots);
    quiet->resetstart = 0;
    EXPECT_EQ(quiet.run("x"), "x");
    for (auto [lines, len] : {std::pair{80, 80}, {999, 999}, {1000, 66}, {0, 66}}) {
        Harness p(kv_ln03_slots);
        p->config[KV_CONFIG_PAGELINES] = lines;
        p.run("");
        EXPECT_EQ(p->pagelen, len) << lines;
    }
}

TEST(Ln03, RelativeMoves) {
    struct Case {
        int32_t dx, dy;
        std::string out; // HPR a, HPB j, VPR e, VPB k
    };
    const Case cases[] = {
        {0, 0, ""}, {40, -27, "\x1b[40a\x1b[27k"}, {-5, 0, "\x1b[5j"}, {0, 12, "\x1b[12e"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        Harness h(kv_ln03_slots);
        h->restart = 0;
        kv_ln03_relpos(h.state.get(), c.dx, c.dy);
        EXPECT_EQ(h.output, c.out);
    }
}

TEST(Ln03, Code39WorkedByHand) {
    // "*1*" at narrow 1 and wide 3: one sixel row that the printer stretches
    // to the 60-dot bars by the aspect 1000:100, at grid 4 (density 0).
    const std::string row = c39sixels("1");
    EXPECT_EQ(row, "~???~?~~~?~~~?~?~~~?~???~?~?~~~?~???~?~~~?~~~?~");
    EXPECT_EQ(script("|BCODE39 H60|~1~"), std::string(13, ' ') + kOn + "\x1bP0;0;4q\"1000;100" +
                                              row + "\r\n" + ST + kOff + "   ");
}

TEST(Ln03, FieldStrings) {
    struct Case {
        const char* name;
        std::string in;
        std::string head; // from the first byte sent for the field
        int dashes;       // sixel new lines in the string
        int scale;        // printer pixels per band dot
    };
    const Case cases[] = {
        {"density 1 is grid 3", "|BCODE39 H60 D1|~1~", kOn + "\x1bP0;0;3q\"1000;100", 0, 3},
        {"density 3 is grid 1", "|BCODE39 H60 D3|~1~", kOn + "\x1bP0;0;1q\"1000;100", 0, 1},
        {"height 50: aspect 833:100", "|BCODE39 H50|~1~", kOn + "\x1bP0;0;4q\"833;100", 0, 4},
        {"upside down stretches too", "|BCODE39 H60 OU|~1~", kOn + "\x1bP0;0;4q\"1000;100", 0, 4},
        // 48 dots along the paper: eight slices of six rows.
        {"turned: slice by slice", "|BCODE39 H60 OV|~1~", kOn + "\x1bP0;0;4q\"1;1", 7, 4},
        {"six rows or less: square pixels", "|BCODE39 H6|~1~", kOn + "\x1bP0;0;4q\"1;1", 0, 4},
        // This printer's POSTNET: density 2, bars 19 dots tall: four slices.
        {"POSTNET is never stretched", "|BPOSTNET|~12345~", kOn + "\x1bP0;0;2q\"1;1", 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = script(c.in);
        const size_t at = out.find("\x1b[11h");
        ASSERT_NE(at, std::string::npos) << out;
        EXPECT_EQ(out.substr(at, c.head.size()), c.head);
        EXPECT_EQ(std::count(out.begin(), out.end(), '-'), c.dashes);
        if (c.dashes > 0) {
            // Each new line moves the active position down six pixels of the
            // grid, and the driver goes back up by as much at the end.
            const std::string back = "\x1b[" + std::to_string(c.dashes * 6 * c.scale) + "k";
            EXPECT_NE(out.find(back + kOff), std::string::npos) << out;
        }
    }
}

TEST(Ln03, ApplicationModesAreKept) {
    struct Case {
        const char* name;
        std::string in;
        std::string before; // what precedes the sixel introducer
        std::string after;  // what follows the string terminator
    };
    const Case cases[] = {
        {"PUM from the application", "\x1b[11h~1~", "\x1b[7 I", "\x1b[2 I"},
        {"pixels from the application", "\x1b[7 I~1~", "\x1b[11h", "\x1b[11l"},
        {"both", "\x1b[11h\x1b[7 I~1~", "", ""},
        {"PUM off again", "\x1b[11h\x1b[11l~1~", kOn, kOff},
        {"decipoints again", "\x1b[7 I\x1b[2 I~1~", kOn, kOff},
        {"a soft reset forgets them", "\x1b[11h\x1b[7 I\x1b[!p~1~", kOn, kOff},
        {"RIS forgets them",
         "\x1b[11h\x1b[7 I\x1b"
         "c~1~",
         kOn, kOff},
        {"PUM among other modes is not followed", "\x1b[11;20h~1~", kOn, kOff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = script("|BCODE39 H60|" + c.in);
        const size_t intro = out.find("\x1bP0;0;");
        ASSERT_NE(intro, std::string::npos);
        EXPECT_EQ(out.substr(intro - c.before.size(), c.before.size()), c.before);
        const size_t end = out.rfind(ST);
        EXPECT_EQ(out.substr(end + 2, c.after.size() + 3), c.after + "   ");
    }
}

TEST(Ln03, Emulation) {
    struct Case {
        const char* name;
        std::string in;
        bool squish;
        std::string out;
    };
    const Case cases[] = {
        {"soft font passes", "\x1bP1;2|text\x1b\\", false, ST + "\x1bP1;2|text" + ST + ST},
        {"squeezed and held", "\r\r\nA", true, "\r\nA"},
        {"held line feeds dropped by FF", "a\n\n\fb", true, "a\fb"},
        {"OSC text passes", "\x1b]t\x1b\\", false, ST + "\x1b]t" + ST + ST},
        {"application sixels pass", "\x1bPq#0!9~-~\x1b\\", false, ST + "\x1bPq#0!9~-~" + ST + ST},
        {"8-bit CSI",
         "\x9b"
         "7 I",
         false, ST + "\x1b[7 I"},
        {"DEL and 0xFF dropped", "a\x7f\xff", false, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in, c.squish), c.out);
    }
    Harness h(kv_ln03_slots);
    h.run("\x1b[7 I");
    EXPECT_EQ(kv_ln03_w(h.state.get())->unitcode, '7');
}

TEST(Ln03, HeldLineFeedsGoBeforeTheSymbol) {
    // The symbol belongs on the line of its data sequence: the two line feeds
    // held back must reach the printer before it is drawn.
    const std::string out = script("|BCODE39 H60|top\n\n~1~ end\n", true);
    const size_t lf = out.find("\n\n");
    const size_t field = out.find("\x1b[11h");
    ASSERT_NE(lf, std::string::npos);
    EXPECT_LT(lf, field);
    const DecPage page = rebuild_dec(out, DecModel::LN03);
    EXPECT_TRUE(page.problems.empty());
    EXPECT_EQ(page.page.ink().y, 2 * kLn03LineDots);
}

TEST(Ln03, BadInputEndsCleanly) {
    const std::string huge(100000, '9');
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"sixel repeat of 99999", "\x1bPq!99999~\x1b\\", ST + "\x1bPq!99999~" + ST + ST},
        {"CAN inside sixel data", "\x1bPq~\x18x", ST + "\x1bPq~\x18x"},
        {"SUB inside sixel data", "\x1bPq~\x1a~\x1b\\", ST + "\x1bPq~\x1a~" + ST + ST},
        {"unterminated DCS", "\x1bP1;2|abc", ST + "\x1bP1;2|abc"},
        {"a parameter of 100000 digits", "\x1b[" + huge + "m", ST + "\x1b[" + huge + "m"},
        {"C1 at the end", "x\x9b", "x" + ST + "\x1b["},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in), c.out);
    }
}
