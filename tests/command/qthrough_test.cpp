// The command stream: delimiters, escapes, quoting, padding and limits,
// driven through the real loop with the recording driver.
#include <gtest/gtest.h>

#include <string>

#include "core/command/qthrough.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/field.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {
const std::string kIndent(16, ' ');
std::string report(const std::string& mnemonic, const std::string& message, int line) {
    return "%KEVRA-I-" + mnemonic + ", " + message + "\n" + kIndent + "At line number " +
           std::to_string(line) + ".\n";
}
} // namespace

TEST(CommandStream, SequencesBecomeSpacesAndTextPasses) {
    struct Case {
        const char* name;
        std::string init; // commands applied first
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"command of 12 input characters", "", "a|BCODE39 H5|b", "a            b"},
        {"data sequence", "", "x~12~y", "x    y"},
        {"doubled data delimiter prints one", "", "a~~b", "a~b"},
        {"doubled command delimiter prints one", "", "a||b", "a|b"},
        {"P0 turns padding off after its own sequence", "", "|P0|a|H5|b~1~c", "    abc"},
        {"quoted delimiter inside a command", "", "|X\"|\"|z", "      z"},
        {"doubled delimiter inside a command body", "", "|Z1||2|.", "       ."},
        {"multi-character delimiter matched", "X<< Q##", "a<<H5<<b##1##c", "a      b     c"},
        {"partial multi-character match restores input", "X<<", "<A", "<A"},
        {"partial match at end of input", "X<<", "xy<", "xy<"},
        {"partial match then a real one", "X<<", "x<y<<H5<<", "x<y      "},
        {"sequence closed by the last byte of input", "", "a~1~", "a   "},
        {"lone delimiter at end of input still prints", "", "a~", "a~"},
        {"unterminated data at end produces nothing", "", "a~12345", "a"},
        {"unterminated command at end produces nothing", "", "a|H5", "a"},
        {"delimiter byte above 127", "Q\xA4", "a\xA4" "1\xA4" "b", "a   b"},
        {"escaped high delimiter", "Q\xA4", "a\xA4\xA4" "b", "a\xA4" "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        if (!c.init.empty()) {
            ASSERT_EQ(h.command(c.init), KV_SUCCESS);
        }
        EXPECT_EQ(h.run(c.in), c.out);
        EXPECT_EQ(recorder().qout, c.out);
    }
}

TEST(CommandStream, LengthLimits) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        std::string messages;
    };
    // A 253-byte body (quotes count) is accepted; 254 overflows and the rest of
    // the sequence is read as text, its closing delimiter opening a new one.
    const std::string body253 = "Z\"" + std::string(250, 'a') + "\"";
    const std::string body254 = "Z\"" + std::string(251, 'a') + "\"";
    const std::string data4095(4095, '1');
    const std::string data4096(4096, '1');
    const Case cases[] = {
        {"command body of 253", "|" + body253 + "|.", std::string(255, ' ') + ".", ""},
        {"command body of 254", "|" + body254 + "|P1|.", "    .",
         report("STROVFL", "string overflow; command or data too long.", 1)},
        {"data of 4095", "~" + data4095 + "~.", std::string(4097, ' ') + ".", ""},
        {"data of 4096", "~" + data4096 + "~x~.", "   .",
         report("STROVFL", "string overflow; command or data too long.", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        EXPECT_EQ(h.run(c.in, true), c.out);
        EXPECT_EQ(h.messages, c.messages);
    }
}

TEST(CommandStream, DataSequencesMakeFieldsAndCallThePlotSlot) {
    Harness h(recorder_slots(768, true));
    h.run("~ABC~ ~A#B~ |BCODE39 X\"~\"|");
    // A field with a bad character is still queued and still plotted.
    EXPECT_EQ(recorder().plotcalls, 2);
    EXPECT_NE(h->fieldhead, nullptr);
    EXPECT_EQ(h.messages, report("IVBARC", "invalid bar code character or length.", 1) +
                              report("IVDLM", "invalid delimiter command.", 1));
    EXPECT_EQ(h.output, std::string(5 + 1 + 5 + 1 + 14, ' '));
}

TEST(CommandStream, OnlyTheFirstFailureOfACommandIsReported) {
    Harness h;
    h.run("|H0 D9 J|\n|H50 D2|\n");
    EXPECT_EQ(h.messages, report("IVHIT", "invalid bar code height command.", 1));
    EXPECT_EQ(h->codeheight, 50); // the next command still applies
    EXPECT_EQ(h->density, 2);
}

TEST(CommandStream, ErrorsNameTheLineAfterARejectedMultiCharacterDelimiter) {
    Harness h;
    h.command("X<<");
    // The partial match pushes back a line feed; the count must stay right.
    h.run("a<\nb<<J<<\n", true);
    EXPECT_EQ(h.messages, report("IVCMD", "unknown command.", 2));
    EXPECT_EQ(h.output, "a<\r\nb     \r\n");
}

TEST(CommandStream, InitialisationRunsOnce) {
    Harness h;
    h.run("a");
    EXPECT_EQ(recorder().initcalls, 1);
    h.run("b");
    EXPECT_EQ(recorder().initcalls, 1);
}

TEST(Delimiters, ValidationRules) {
    struct Case {
        const char* name;
        std::string command;
        kv_status status;
        const char* cmddlm;
        const char* datadlm;
    };
    const Case cases[] = {
        {"letter", "XA", KV_IVDLM, "|", "~"},
        {"lower-case letter (upper-cased first)", "Xb", KV_IVDLM, "|", "~"},
        {"digit", "X1", KV_IVDLM, "|", "~"},
        {"vertical tab", "X\v", KV_IVDLM, "|", "~"},
        {"form feed", "X#\f", KV_IVDLM, "|", "~"},
        {"tab", "X\t", KV_IVDLM, "|", "~"},
        {"33 characters", "X" + std::string(33, '#'), KV_IVDLM, "|", "~"},
        {"32 characters", "X" + std::string(32, '#'), KV_SUCCESS, "################################", "~"},
        {"equal to the data delimiter", "X~", KV_IVDLM, "|", "~"},
        {"data equal to the command delimiter", "Q\"|\"", KV_IVDLM, "|", "~"},
        {"unchanged command delimiter", "X\"|\"", KV_SUCCESS, "|", "~"},
        {"empty", "Q", KV_IVDLM, "|", "~"},
        {"empty quotes", "Q\"\"", KV_IVDLM, "|", "~"},
        {"a lone quote is the delimiter", "Q\"", KV_SUCCESS, "|", "\""},
        {"several characters", "Q{{", KV_SUCCESS, "|", "{{"},
        // A command body takes a double quote as the start of a quoted part:
        // a command delimiter beginning with one could never close.
        {"lone quote as command delimiter", "X\"", KV_IVDLM, "|", "~"},
        {"quoted pair of quotes as command delimiter", "X\"\"\"\"", KV_IVDLM, "|", "~"},
        {"command delimiter beginning with a quote", "X\"#", KV_IVDLM, "|", "~"},
        {"a quote after the first character closes", "X#\"", KV_SUCCESS, "#\"", "~"},
        // The data delimiter is tried first: one that begins the command
        // delimiter would turn every command into data.
        {"command delimiter beginning with the data delimiter", "X~#", KV_IVDLM, "|", "~"},
        {"data delimiter beginning the command delimiter", "X<< Q<", KV_IVDLM, "<<", "~"},
        {"multi-character data delimiter beginning it", "X<<# Q<<", KV_IVDLM, "<<#", "~"},
        {"command delimiter beginning the data delimiter", "X< Q<<", KV_SUCCESS, "<", "<<"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        EXPECT_EQ(h.command(c.command), c.status);
        EXPECT_STREQ(h->cmddlm, c.cmddlm);
        EXPECT_STREQ(h->datadlm, c.datadlm);
    }
}

TEST(Delimiters, RefusedDelimiterLeavesTheOldOneWorking) {
    // The rest of the job after a refused delimiter is read as before.
    const struct {
        const char* init;
        std::string in, out;
        int32_t height; // set by the one command the job holds
    } cases[] = {
        {"X\"", "a|H5|b\"H6\"c~1~d", "a    b\"H6\"c   d", 5},
        {"X~#", "a~#H5~b|H6|c", "a     b    c", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.init);
        Harness h;
        EXPECT_EQ(h.command(c.init), KV_IVDLM);
        EXPECT_EQ(h.run(c.in), c.out);
        EXPECT_EQ(h->codeheight, c.height);
    }
}

TEST(Delimiters, SpecialCommandReachesTheDriver) {
    Harness h;
    recorder().specialstatus = KV_SUCCESS;
    EXPECT_EQ(h.command("Zr1 Z Zanything"), KV_SUCCESS);
    ASSERT_EQ(recorder().special.size(), 3u);
    EXPECT_EQ(recorder().special[0], "R1");
    EXPECT_EQ(recorder().special[1], "");
    EXPECT_EQ(recorder().special[2], "ANYTHING");
}

namespace {
// An endinput slot that writes "<end n>" to the printer, n the fields queued.
kv_status rec_endinput(kv_glor* s) {
    int32_t n = 0;
    for (const kv_field* f = s->fieldhead; f != nullptr; f = f->next) ++n;
    std::string mark = "<end " + std::to_string(n) + ">";
    kv_status st = KV_SUCCESS;
    for (char c : mark) jerr_uperr(&st, s->lprintc(s, c));
    return st;
}
} // namespace

TEST(CommandStream, EndOfInputSlotRunsOnceAfterEveryByteIsHandled) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain text", "ab", "ab<end 0>"},
        {"a field on the last line, no line feed", "a ~1~ b", "a     b<end 1>"},
        {"a sequence closed by the last byte: after its padding", "a~1~", "a   <end 1>"},
        {"padding off: no byte follows the field", "|P0|~1~", "    <end 1>"},
        {"a lone delimiter at the end is printed first", "a~", "a~<end 0>"},
        {"an unclosed sequence at the end", "a~12", "a<end 0>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kv_prnslots slots = recorder_slots(9999, false);
        slots.endinput = rec_endinput;
        Harness h(slots);
        EXPECT_EQ(h.run(c.in), c.out);
        EXPECT_EQ(h.result, KV_SUCCESS);
    }
}

TEST(CommandStream, EndOfInputSlotIsSkippedAfterAFatalFailure) {
    kv_prnslots slots = recorder_slots(9999, false);
    slots.endinput = rec_endinput;
    Harness h(slots);
    recorder().specialstatus = 0x10; // a failure outside the translator's facility
    EXPECT_EQ(h.run("a~1~|ZX|b"), "a" + std::string(3 + 4, ' '));
    EXPECT_EQ(h.result, 0x10u);
}
