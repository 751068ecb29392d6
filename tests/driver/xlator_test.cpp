// The run driver in-process: environment switches, message format, failure
// reporting, the error table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/driver/jerr.hpp"
#include "core/driver/report.hpp"
#include "core/driver/xbase.hpp"
#include "core/run/xlator.hpp"

namespace {
struct Streams {
    std::FILE* in = nullptr;
    char* outbuf = nullptr;
    size_t outlen = 0;
    std::FILE* out = nullptr;
    char* errbuf = nullptr;
    size_t errlen = 0;
    std::FILE* err = nullptr;
    std::string input;

    explicit Streams(std::string text) : input(std::move(text)) {
        in = fmemopen(input.empty() ? nullptr : input.data(), input.empty() ? 1 : input.size(), "r");
        if (input.empty()) std::fgetc(in); // an empty stream: position at its end
        out = open_memstream(&outbuf, &outlen);
        err = open_memstream(&errbuf, &errlen);
    }
    ~Streams() {
        std::fclose(in);
        std::fclose(out);
        std::fclose(err);
        std::free(outbuf);
        std::free(errbuf);
    }
    std::string errtext() {
        std::fflush(err);
        return std::string(errbuf, errlen);
    }
};

struct EnvGuard {
    std::string name;
    explicit EnvGuard(const char* n, const char* v) : name(n) { setenv(n, v, 1); }
    ~EnvGuard() { unsetenv(name.c_str()); }
};

std::string showerr(int line, const char* mnemonic, const char* message) {
    char* buf = nullptr;
    size_t len = 0;
    std::FILE* f = open_memstream(&buf, &len);
    xbase_open(nullptr, nullptr, f);
    xbase_record()->showmsgs = 1;
    xlator_showerr(line, 'I', mnemonic, message);
    std::fclose(f);
    std::string s(buf, len);
    std::free(buf);
    return s;
}
} // namespace

TEST(Xlator, SwitchesLookAtTheFirstLetterOnly) {
    struct Case {
        const char* name;
        const char* value;
        int32_t kv_glor::*member;
        int32_t expected;
    };
    const Case cases[] = {
        {"KEVRA_RESET_A", "No", &kv_glor::resetstart, 0},
        {"KEVRA_RESET_A", "n", &kv_glor::resetstart, 0},
        {"KEVRA_RESET_A", "0", &kv_glor::resetstart, 1},
        {"KEVRA_RESET_A", "off", &kv_glor::resetstart, 1},
        {"KEVRA_RESET_Z", "NEVER", &kv_glor::resetff, 0},
        {"KEVRA_RESET_Z", "yes", &kv_glor::resetff, 1},
        {"KEVRA_ADDCR", "nope", &kv_glor::addcr, 0},
        {"KEVRA_DEBUG", "Yes", &kv_glor::debug, 1},
        {"KEVRA_DEBUG", "1", &kv_glor::debug, 0},
        {"KEVRA_SQUISH_CR", "yes", &kv_glor::squishcr, 1},
        {"KEVRA_SQUISH_CR", "Y", &kv_glor::holdlf, 1},
        {"KEVRA_SQUISH_CR", "true", &kv_glor::holdlf, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.value);
        EnvGuard env(c.name, c.value);
        EnvGuard quiet("KEVRA_VERBOSE", "Q");
        Streams io("");
        EXPECT_EQ(xlator_run(io.in, io.out, io.err), KV_SUCCESS);
        EXPECT_EQ(xlator_state()->*c.member, c.expected);
    }
}

TEST(Xlator, PassStateIsClearedButTheDriverIsInstalled) {
    EnvGuard quiet("KEVRA_VERBOSE", "Q");
    Streams io("abc");
    xlator_run(io.in, io.out, io.err);
    const kv_glor* s = xlator_state();
    EXPECT_EQ(s->prncode, 9999);
    EXPECT_EQ(s->restart, 0);
    EXPECT_EQ(s->lineno, 1);
    EXPECT_EQ(s->fieldhead, nullptr);
    EXPECT_STREQ(s->cmddlm, "|");
    EXPECT_STREQ(s->datadlm, "~");
}

TEST(Xlator, MessageFormat) {
    const std::string indent(16, ' ');
    EXPECT_EQ(showerr(12, "IVCMD", "unknown command."),
              "%KEVRA-I-IVCMD, unknown command.\n" + indent + "At line number 12.\n");
    EXPECT_EQ(showerr(0, "IVCMD", "unknown command."), "%KEVRA-I-IVCMD, unknown command.\n");
    EXPECT_EQ(showerr(3, "X", ""), "%KEVRA-I-XAt line number 3.\n");
    EXPECT_EQ(showerr(3, "X", nullptr), "%KEVRA-I-XAt line number 3.\n");
    EXPECT_EQ(showerr(0, "X", nullptr), "%KEVRA-I-X");
}

TEST(Xlator, ErrorTableHasEveryMnemonicAndAFallback) {
    struct Row {
        kv_status code;
        const char* mnemonic;
        const char* message;
    };
    const Row rows[] = {
        {16448, "MEMOVFL", "memory overflow; too many bar codes."},
        {16652, "STROVFL", "string overflow; command or data too long."},
        {16512, "IVBARC", "invalid bar code character or length."},
        {16676, "IVNUM", "invalid numeric parameter."},
        {16644, "IVCMD", "unknown command."},
        {16656, "IVHIT", "invalid bar code height command."},
        {16660, "IVRAT", "invalid bar code ratio command."},
        {16648, "IVBAR", "invalid bar code type command."},
        {16664, "IVSUBS", "invalid bar code subset command."},
        {16668, "IVDLM", "invalid delimiter command."},
        {16672, "IVDENS", "invalid density command."},
        {16708, "IVCHK", "invalid check digit command."},
        {16712, "IVORNT", "invalid orientation command."},
        {16716, "IVPNET", "invalid PostNet due to printer or orientation."},
        {16704, "INTRNL", "internal error; please contact ZORLAN."},
        {16720, "SYSIO", "system i/o error."},
        {16576, "IVPRN", "invalid printer type."},
        {16460, "UNEXPCT", "unexpected error; please contact ZORLAN."},
        {2, "UNEXPCT", "unexpected error; please contact ZORLAN."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mnemonic);
        const kv_errentry* e = kv_errmsg(kv_errtable, r.code);
        EXPECT_STREQ(e->mnemonic, r.mnemonic);
        EXPECT_STREQ(e->message, r.message);
        EXPECT_EQ(e->severity, 'I');
    }
}

TEST(Xlator, StatusMergeKeepsTheFirstFailure) {
    kv_status st = KV_SUCCESS;
    EXPECT_EQ(jerr_uperr(&st, 3), 3u); // another success replaces success
    EXPECT_EQ(jerr_uperr(&st, KV_IVCMD), KV_IVCMD);
    EXPECT_EQ(jerr_uperr(&st, KV_IVNUM), KV_IVCMD);
    EXPECT_EQ(jerr_uperr(&st, KV_SUCCESS), KV_IVCMD);
    EXPECT_TRUE(kv_isfacility(0x4000));
    EXPECT_TRUE(kv_isfacility(0x41FE));
    EXPECT_FALSE(kv_isfacility(0x4200));
    EXPECT_FALSE(kv_isfacility(2));
}

TEST(Xlator, FlagerrReportsOnceAndStopsOnForeignFailures) {
    char* buf = nullptr;
    size_t len = 0;
    std::FILE* f = open_memstream(&buf, &len);
    xbase_open(nullptr, nullptr, f);
    xbase_record()->showmsgs = 1;
    kv_glor s{};
    s.status = KV_SUCCESS;
    s.lineno = 7;
    EXPECT_EQ(kv_flagerr(&s, KV_SUCCESS), KV_SUCCESS);
    EXPECT_EQ(kv_flagerr(&s, KV_IVNUM), KV_IVNUM);
    EXPECT_EQ(kv_flagerr(&s, KV_IVCMD), KV_IVCMD); // not reported: a failure is pending
    EXPECT_EQ(s.status, KV_IVNUM);
    EXPECT_EQ(s.stop, 0);
    s.status = KV_SUCCESS;
    kv_flagerr(&s, 0x40FE); // in the facility but unknown: the fallback text
    s.status = KV_SUCCESS;
    kv_flagerr(&s, 2); // fatal: stops without a message
    EXPECT_EQ(s.stop, 1);
    std::fclose(f);
    const std::string indent(16, ' ');
    EXPECT_EQ(std::string(buf, len),
              "%KEVRA-I-IVNUM, invalid numeric parameter.\n" + indent + "At line number 7.\n" +
                  "%KEVRA-I-UNEXPCT, unexpected error; please contact ZORLAN.\n" + indent +
                  "At line number 7.\n");
    std::free(buf);
}
